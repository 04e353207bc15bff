// The turn clock and the host's acts at a table, on the manual clock: a player who lets
// the time run out gets the computer for that move, three times in a row gets it until it
// speaks again; the host gives seats to the computer, removes a player for the game, locks
// the table and sets the clock, and the table is told each time, a program without the
// extension included.
#include "private_table_fixture.h"

namespace {

QString Told(const QString& line) { return QStringLiteral("CHAT_TEXT ") + line; }

QByteArray Bytes(std::initializer_list<uint8_t> bytes)
{
    QByteArray b;
    for (const uint8_t v : bytes)
        b.append(char(v));
    return b;
}

struct HostAndClock : PrivateTable {
    TRandom mine{5};

    // The player answers every record that awaits its seat at once.
    void PlaysAtOnce(TLocalPlayer& p, int seat)
    {
        p.OnReceived = [this, &p, seat](const TReceived& r) {
            if (r.Type == GAME_RECORD)
                p.SendOwnMove(seat, r.Record(), mine);
        };
    }
};

// How long the table waited for a seat's moves: for each move of the seat, from the
// record that awaited it to the record that no longer did, as one of the seat's
// opponents saw them.
struct TSeatWaits {
    explicit TSeatWaits(int seat) : Seat(seat) {}
    int Seat;
    qint64 Since = -1;
    bool Contract = false;
    std::vector<std::pair<qint64, bool>> Waits; // time, whether it was a contract

    void Seen(const TGameInfo& g, qint64 now)
    {
        const bool awaited = AwaitedSeat(g) == Seat;
        if (awaited && Since < 0) {
            Since = now;
            Contract = g.Phase == psChoosing;
        } else if (!awaited && Since >= 0) {
            Waits.emplace_back(now - Since, Contract);
            Since = -1;
        }
    }
};

} // namespace

TEST_F(HostAndClock, ASilentPlayerGetsItsTimeThenTheComputerUntilItSpeaks)
{
    turnClock = {2, 3};
    StartDealer(true, 0);
    TLocalPlayer& host = JoinOurs(QStringLiteral("Ayşe"), QStringLiteral("10.0.0.1"));
    TLocalPlayer& silent = Join(QStringLiteral("Veli"), true, QStringLiteral("10.0.0.2")); // an old program
    PlaysAtOnce(host, 0);
    TSeatWaits waits(1);
    host.OnReceived = [&, inner = host.OnReceived](const TReceived& r) {
        if (r.Type == GAME_RECORD)
            waits.Seen(r.Record(), Now());
        inner(r);
    };
    host.StartNow();
    ASSERT_TRUE(host.WaitLine(QStringLiteral("SEAT_NAME 3 Acemi2")));
    host.NewGame();
    const QString clock = Told(QStringLiteral("Hamle süresi: kağıt için 2 sn, oyun seçmek için 3 sn."));
    ASSERT_TRUE(silent.WaitLine(clock));

    // Three moves each wait the whole time for a card or a contract; then the computer
    // plays the seat at its own pace.
    ASSERT_TRUE(WaitFor([&] { return waits.Waits.size() >= 6; }));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(waits.Waits[std::size_t(i)].first, waits.Waits[std::size_t(i)].second ? 3000 : 2000) << i;
    for (std::size_t i = 3; i < 6; ++i)
        EXPECT_LE(waits.Waits[i].first, kQuickComputerMoveMs) << i;
    EXPECT_TRUE(host.Has(Told(QStringLiteral("Veli için süre doldu; bu hamleyi bilgisayar yapıyor."))));
    EXPECT_TRUE(silent.Has(Told(QStringLiteral(
        "Veli üst üste 3 kez süresini doldurdu; kendisi bir şey yapana kadar yerine bilgisayar oynuyor."))));
    EXPECT_EQ(EventCount(QStringLiteral("let its time run out")), 3);

    // A chat line gives the seat back to its player, and the clock runs for it again.
    silent.Chat(QStringLiteral("buradayım"));
    ASSERT_TRUE(host.WaitLine(Told(QStringLiteral("Veli yeniden kendisi oynuyor."))));
    const std::size_t before = waits.Waits.size();
    ASSERT_TRUE(WaitFor([&] { return waits.Waits.size() > before + 1; }));
    const auto& next = waits.Waits[before + 1];
    EXPECT_EQ(next.first, next.second ? 3000 : 2000);

    // A move made in time counts the run from the start again: two more run-outs after it
    // leave the seat to its player (the two before it and the first after would have made three).
    bool moved = false;
    silent.OnReceived = [&](const TReceived& r) {
        if (r.Type == GAME_RECORD && !moved)
            moved = silent.SendOwnMove(1, r.Record(), mine);
    };
    ASSERT_TRUE(WaitFor([&] { return moved; }));
    silent.OnReceived = nullptr;
    const int runOuts = EventCount(QStringLiteral("let its time run out"));
    ASSERT_TRUE(WaitFor([&] { return EventCount(QStringLiteral("let its time run out")) >= runOuts + 2; }));
    EXPECT_EQ(EventCount(QStringLiteral("times in a row")), 1);
    EXPECT_NE(dealer->GameInfo().Phase, psGameOver);
}

TEST_F(HostAndClock, TheHostLocksGivesAndRemovesSeatsAndSetsTheClockAndEveryoneIsTold)
{
    StartDealer(true, 0); // the program's own dealer: no clock unless set
    TLocalPlayer& host = JoinOurs(QStringLiteral("Ayşe"), QStringLiteral("10.0.0.1"));
    TLocalPlayer& veli = JoinOurs(QStringLiteral("Veli"), QStringLiteral("10.0.0.2"));
    TLocalPlayer& old = Join(QStringLiteral("Can"), true, QStringLiteral("10.0.0.3"));

    // A locked table takes nobody new.
    host.SendRaw(LOCK_TABLE, Bytes({1}));
    ASSERT_TRUE(old.WaitLine(Told(QStringLiteral("Masa kilitlendi: yeni oyuncu alınmıyor."))));
    TLocalPlayer& stranger = Join(QStringLiteral("Zeki"), false, QStringLiteral("10.0.0.9"));
    stranger.JoinAs(QStringLiteral("Zeki"));
    ASSERT_TRUE(stranger.WaitCount(TABLE_FULL, 1));
    EXPECT_EQ(dealer->SeatCount(), 3);
    host.SendRaw(LOCK_TABLE, Bytes({0}));
    ASSERT_TRUE(veli.WaitLine(Told(QStringLiteral("Masanın kilidi açıldı."))));

    // Only the host acts: the same messages from another player change nothing, and from a
    // program without the extension they are unknown messages.
    veli.SendRaw(SET_TURN_CLOCK, Bytes({1, 0, 1, 0}));
    old.SendRaw(SEAT_TO_COMPUTER, Bytes({1}));
    ASSERT_TRUE(host.Sync());
    EXPECT_EQ(EventCount(QStringLiteral("dropped SET_TURN_CLOCK: not from the host")), 1);
    EXPECT_EQ(EventCount(QStringLiteral("unknown message type 25")), 1);
    EXPECT_FALSE(dealer->TurnTimer().isActive());

    host.StartNow();
    ASSERT_TRUE(host.WaitLine(QStringLiteral("SEAT_NAME 3 Acemi1")));
    PlaysAtOnce(host, 0);
    PlaysAtOnce(veli, 1);
    host.NewGame();
    host.SendRaw(SET_TURN_CLOCK, Bytes({4, 0, 1, 1})); // 4 s for a card, 257 s for a contract
    ASSERT_TRUE(old.WaitLine(Told(QStringLiteral("Hamle süresi: kağıt için 4 sn, oyun seçmek için 257 sn."))));
    EXPECT_EQ(ExtensionMessages(old), 0);

    // Can's seat goes to the computer: its moves come at the computer's pace, not after
    // the clock, until Can says something.
    host.SendRaw(SEAT_TO_COMPUTER, Bytes({2}));
    ASSERT_TRUE(veli.WaitLine(Told(QStringLiteral(
        "Masa sahibi Can yerine bilgisayarı oynatıyor; Can bir şey yapınca yeniden kendisi oynar."))));
    const qint64 given = Now();
    ASSERT_TRUE(WaitFor([&] { return EventCount(QStringLiteral("seat 2 (computer)")) >= 4; }, 20000));
    EXPECT_LT(Now() - given, 4000);
    EXPECT_EQ(EventCount(QStringLiteral("let its time run out")), 0);
    old.Chat(QStringLiteral("döndüm"));
    ASSERT_TRUE(host.WaitLine(Told(QStringLiteral("Can yeniden kendisi oynuyor."))));

    // Veli is removed for this game: told, closed, played by the computer, and neither its
    // key nor its name takes the seat back before the next game.
    const TSeatKey key = Block(veli).Key;
    host.SendRaw(REMOVE_PLAYER, Bytes({1}));
    ASSERT_TRUE(WaitFor([&] { return veli.Disconnected; }));
    EXPECT_TRUE(veli.Has(Told(QStringLiteral("Masa sahibi seni bu oyundan çıkardı."))));
    EXPECT_TRUE(old.WaitLine(Told(QStringLiteral("Masa sahibi Veli oyuncusunu bu oyundan çıkardı; yerine bilgisayar oynuyor."))));
    EXPECT_FALSE(old.Has(Told(QStringLiteral("Veli bağlantısı koptu, yerine bilgisayar oynuyor."))));
    TLocalPlayer& back = JoinOurs(QStringLiteral("Veli"), QStringLiteral("10.0.0.2"), key);
    EXPECT_EQ(back.Count(JOIN_ACCEPTED), 0);
    ASSERT_EQ(back.Count(TABLE_FULL), 1);
    EXPECT_EQ(back.Last(TABLE_FULL)->Payload, TPayloadWriter().Text(QStringLiteral("Masa sahibi seni bu oyundan çıkardı.")).Bytes());
    TLocalPlayer& byName = Join(QStringLiteral("Veli"), false, QStringLiteral("10.0.0.2"));
    byName.JoinAs(QStringLiteral("Veli"));
    ASSERT_TRUE(byName.WaitCount(TABLE_FULL, 1));
    EXPECT_TRUE(byName.Last(TABLE_FULL)->Payload.isEmpty());
    ASSERT_TRUE(WaitFor([&] { return EventCount(QStringLiteral("seat 1 (computer)")) >= 2; }, 20000));

    // A new game: the seat is Veli's again.
    host.NewGame();
    TLocalPlayer& again = JoinOurs(QStringLiteral("Veli"), QStringLiteral("10.0.0.2"), key);
    EXPECT_EQ(again.Count(JOIN_ACCEPTED), 1);
}
