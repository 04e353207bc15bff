// What our programs add at a table: each player is sent only its own hand, a seat goes back
// only to its key or to the address that held it, the host saves and loads games on the
// dealer's machine, and a game whose players have all left waits for them. A program that
// knows none of it plays as before.
#include "private_table_fixture.h"
#include "privatehands.h"

#include <tuple>

namespace {

// The first legal card of the seat's own hand, or the first contract it may choose: what
// a player decides from the record it was sent.
bool MoveFromOwnRecord(TTestPlayer& p, int seat, const TGameInfo& g)
{
    if (AwaitedSeat(g) != seat)
        return false;
    if (g.Phase == psChoosing) {
        for (uint8_t c = 0; c < kContractCount; ++c)
            if (ContractAvailable(g, seat, c)) {
                p.Contract(c);
                return true;
            }
        return false;
    }
    const auto [suit, value] = FirstPlayable(g, seat);
    p.Card(uint8_t(seat), suit, value);
    return suit != kNone;
}

} // namespace

TEST_F(PrivateTable, EachPlayerSeesOnlyItsOwnHandAndAnOldProgramPlaysAWholeGame)
{
    StartDealer(true, 0);
    TLocalPlayer& old = Join(QStringLiteral("Ayşe"));                       // knows nothing of ours
    TLocalPlayer& ours = JoinOurs(QStringLiteral("Veli"), QStringLiteral("10.1.1.2"));
    int mismatches = 0, records = 0;
    for (auto [p, seat] : {std::pair<TLocalPlayer*, int>{&old, 0}, {&ours, 1}}) {
        p->OnReceived = [this, p, seat, &mismatches, &records](const TReceived& r) {
            if (r.Type != GAME_RECORD)
                return;
            ++records;
            // Exactly what the seat may see of the dealer's record, and enough to decide on.
            mismatches += !SameRecord(r.Record(), PrivateRecord(dealer->GameInfo(), seat));
            MoveFromOwnRecord(*p, seat, r.Record());
        };
    }
    old.StartNow();
    old.NewGame();
    ASSERT_TRUE(WaitFor([&] { return dealer->GameInfo().Phase == psGameOver; }, 10 * 60 * 1000));
    EXPECT_GT(records, 1000);
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(EventCount(QStringLiteral("dropped")), 0); // every card a player chose was legal
    // The old program's JOIN_ACCEPTED is the plain one, and it never met a message of ours.
    EXPECT_EQ(Block(old), TJoinExtension{});
    EXPECT_EQ(ExtensionMessages(old), 0);
    EXPECT_EQ(Block(ours).Flags, TJoinExtension::kKnowsMessages | TJoinExtension::kPrivateHands);
    // "LastHand.rvo" holds the whole game, not a player's view of it.
    EXPECT_TRUE(SameRecord(LastHandWritten(), dealer->GameInfo()));
}

TEST_F(PrivateTable, OnlyTheKeyOrTheAddressThatHeldTheSeatTakesItBack)
{
    StartDealer(true, 0);
    TLocalPlayer& host = JoinOurs(QStringLiteral("Ayşe"), QStringLiteral("10.1.1.1"));
    TLocalPlayer& veli = JoinOurs(QStringLiteral("Veli"), QStringLiteral("10.1.1.2"));
    const TJoinExtension given = Block(veli);
    ASSERT_TRUE(given.HasKey());
    EXPECT_TRUE(Block(host).Flags & TJoinExtension::kHost);
    EXPECT_FALSE(given.Flags & TJoinExtension::kHost);
    EXPECT_NE(Block(host).Key, given.Key);
    host.StartNow();
    host.NewGame();
    ASSERT_TRUE(WaitFor([&] { return veli.Count(GAME_RECORD) > 0; }));
    veli.Close();
    ASSERT_TRUE(host.WaitLine(QStringLiteral("CHAT_TEXT Veli bağlantısı koptu, yerine bilgisayar oynuyor.")));

    // Someone else who knows the name, from another address, with or without our program.
    TLocalPlayer& stranger = Join(QStringLiteral("Veli"), false, QStringLiteral("10.6.6.6"));
    stranger.JoinAs(QStringLiteral("Veli"));
    TLocalPlayer& forger = JoinOurs(QStringLiteral("Veli"), QStringLiteral("10.6.6.7"), TSeatKey{1}); // a key never given
    ASSERT_TRUE(WaitFor([&] { return stranger.Count(TABLE_FULL) == 1 && forger.Count(TABLE_FULL) == 1; }));
    for (const TLocalPlayer* p : {&stranger, &forger}) {
        EXPECT_EQ(p->Count(GAME_RECORD), 0);
        EXPECT_EQ(p->Count(SEAT_NAME), 0);
        EXPECT_EQ(p->Count(JOIN_ACCEPTED), 0);
    }

    // The owner, from a new network and under another name, with the key; the seat gets a
    // new key, so whoever else knew the old one can do nothing with it.
    TLocalPlayer& back = JoinOurs(QStringLiteral("Veli (laptop)"), QStringLiteral("10.9.9.9"), given.Key);
    ASSERT_TRUE(back.WaitLine(AcceptedLine(1)));
    ASSERT_TRUE(WaitFor([&] { return back.Count(GAME_RECORD) > 0; }));
    const TSeatKey renewed = Block(back).Key;
    EXPECT_TRUE(Block(back).HasKey());
    EXPECT_NE(renewed, given.Key);
    ASSERT_TRUE(host.WaitLine(QStringLiteral("CHAT_TEXT Veli oyuna geri döndü.")));

    // Once the seat went to our program, neither its name from the address that last held
    // it nor the old key takes it back; the new key does.
    back.Close();
    ASSERT_TRUE(WaitFor([&] { return !local->Open(back.Id); }));
    TLocalPlayer& byName = Join(QStringLiteral("Veli"), false, QStringLiteral("10.9.9.9"));
    byName.JoinAs(QStringLiteral("Veli"));
    TLocalPlayer& oldKey = JoinOurs(QStringLiteral("Veli"), QStringLiteral("10.9.9.9"), given.Key);
    ASSERT_TRUE(WaitFor([&] { return byName.Count(TABLE_FULL) == 1 && oldKey.Count(TABLE_FULL) == 1; }));
    TLocalPlayer& again = JoinOurs(QStringLiteral("Veli"), QStringLiteral("10.2.2.2"), renewed);
    ASSERT_TRUE(again.WaitLine(AcceptedLine(1)));
}

TEST_F(PrivateTable, TheHostSavesListsAndLoadsGamesOnTheDealersMachine)
{
    StartDealer(true, 0);
    TLocalPlayer& host = JoinOurs(QStringLiteral("Ayşe"), QStringLiteral("10.1.1.1"));
    TLocalPlayer& veli = JoinOurs(QStringLiteral("Veli"), QStringLiteral("10.1.1.2"));
    host.StartNow();
    host.NewGame();
    ASSERT_TRUE(WaitFor([&] { return host.Count(GAME_RECORD) > 0; }));
    const TGameInfo saved = dealer->GameInfo();

    auto result = [](const TTestPlayer& p) {
        for (auto r = p.Received.rbegin(); r != p.Received.rend(); ++r) {
            bool ok = false;
            QString text;
            if (r->Type == GAME_FILE_RESULT &&
                ReadGameFileResult(reinterpret_cast<const uint8_t*>(r->Payload.constData()), int32_t(r->Payload.size()), ok, text))
                return (ok ? QStringLiteral("ok ") : QStringLiteral("no ")) + text;
        }
        return QString();
    };
    host.SendRaw(SAVE_GAME, TPayloadWriter().Text(QStringLiteral("Akşam oyunu")).Bytes());
    ASSERT_TRUE(host.WaitCount(GAME_FILE_RESULT, 1));
    EXPECT_EQ(result(host), QStringLiteral("ok Oyun kaydedildi: Akşam oyunu"));
    host.SendRaw(SAVE_GAME, TPayloadWriter().Text(QStringLiteral("../LastHand")).Bytes());
    ASSERT_TRUE(host.WaitCount(GAME_FILE_RESULT, 2));
    EXPECT_EQ(result(host), QStringLiteral("no Bu ad kullanılamaz: ../LastHand"));
    host.SendRaw(LOAD_GAME, TPayloadWriter().Text(QStringLiteral("Yok böyle")).Bytes());
    ASSERT_TRUE(host.WaitCount(GAME_FILE_RESULT, 3));
    EXPECT_EQ(result(host), QStringLiteral("no Dosya açılamıyor!"));
    // Another seat may not touch the host's games.
    veli.SendRaw(LIST_GAMES);
    veli.SendRaw(SAVE_GAME, TPayloadWriter().Text(QStringLiteral("benim")).Bytes());
    ASSERT_TRUE(veli.Sync());
    EXPECT_EQ(ExtensionMessages(veli), 0);

    host.SendRaw(LIST_GAMES);
    ASSERT_TRUE(host.WaitCount(GAME_LIST, 1));
    QStringList names;
    const TReceived& list = *std::find_if(host.Received.begin(), host.Received.end(), [](const TReceived& r) { return r.Type == GAME_LIST; });
    ASSERT_TRUE(ReadGameList(reinterpret_cast<const uint8_t*>(list.Payload.constData()), int32_t(list.Payload.size()), names));
    EXPECT_EQ(names, QStringList{QStringLiteral("Akşam oyunu")});

    // The game moves on, then the saved one comes back for everyone: scores, contracts,
    // names and turn as saved, and the hand in progress dealt again, so that nobody who
    // watched it played out knows the cards.
    ASSERT_TRUE(MoveFromOwnRecord(host, AwaitedSeat(dealer->GameInfo()), dealer->GameInfo()) ||
                MoveFromOwnRecord(veli, AwaitedSeat(dealer->GameInfo()), dealer->GameInfo()));
    ASSERT_TRUE(WaitFor([&] { return !SameRecord(dealer->GameInfo(), saved); }));
    host.SendRaw(LOAD_GAME, TPayloadWriter().Text(QStringLiteral("Akşam oyunu")).Bytes());
    ASSERT_TRUE(WaitFor([&] { return EventCount(QStringLiteral("game loaded")) == 1; }));
    const TGameInfo loaded = dealer->GameInfo();
    EXPECT_TRUE(WaitFor([&] { return SameRecord(host.LastRecord(), PrivateRecord(loaded, 0)); }));
    EXPECT_EQ(std::memcmp(&loaded.Score, &saved.Score, sizeof saved.Score), 0);
    EXPECT_EQ(std::memcmp(loaded.PlayerName, saved.PlayerName, sizeof saved.PlayerName), 0);
    EXPECT_EQ(std::make_tuple(loaded.Phase, loaded.Chooser, loaded.CardCount[0], loaded.CardCount[3]),
              std::make_tuple(saved.Phase, saved.Chooser, saved.CardCount[0], saved.CardCount[3]));
    EXPECT_NE(std::memcmp(loaded.CardValue, saved.CardValue, sizeof saved.CardValue + sizeof saved.CardSuit), 0);
    EXPECT_TRUE(IsValidGameInfo(loaded));
    EXPECT_EQ(EventCount(QStringLiteral("game loaded")), 1);
}

TEST_F(PrivateTable, AGameWhosePlayersHaveAllLeftWaitsForOneToComeBack)
{
    StartDealer(true, 0);
    TLocalPlayer& host = JoinOurs(QStringLiteral("Ayşe"), QStringLiteral("10.1.1.1"));
    host.StartNow();
    host.NewGame();
    ASSERT_TRUE(WaitFor([&] { return host.Count(GAME_RECORD) > 0; }));
    const TSeatKey key = Block(host).Key;
    host.Close();
    ASSERT_TRUE(WaitFor([&] { return EventCount(QStringLiteral("every player has left")) == 1; }));
    const TGameInfo left = dealer->GameInfo();
    Settle(5 * 60 * 1000);
    EXPECT_TRUE(SameRecord(dealer->GameInfo(), left));
    EXPECT_EQ(EventCount(QStringLiteral("every player has left")), 1);

    TLocalPlayer& back = JoinOurs(QStringLiteral("Ayşe"), QStringLiteral("10.2.2.2"), key);
    ASSERT_TRUE(back.WaitLine(AcceptedLine(0)));
    ASSERT_TRUE(WaitFor([&] { return back.Count(GAME_RECORD) > 0; }));
    // The computers go on, or wait for the player who is back.
    MoveFromOwnRecord(back, 0, back.LastRecord());
    EXPECT_TRUE(WaitFor([&] { return !SameRecord(dealer->GameInfo(), left); }));
    EXPECT_EQ(EventCount(QStringLiteral("a player is back: the game goes on")), 1);
}
