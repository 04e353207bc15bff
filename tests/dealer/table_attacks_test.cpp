// What a player or a stranger can try at a table to learn or choose the cards, take a seat
// that is not theirs or drive the others away, and what the table makes of it.
#include <chrono>
#include <filesystem>

#include <QDir>

#include "private_table_fixture.h"

namespace {

using TableAttacks = PrivateTable;

bool SameHands(const TGameInfo& a, const TGameInfo& b)
{
    return std::memcmp(a.CardValue, b.CardValue, sizeof a.CardValue + sizeof a.CardSuit) == 0;
}

// An attacker who knows when the cards were dealt tries every seed of the clock within an
// hour either side of it. Two tables started in the same second must deal different hands,
// and neither deal may be among those the attacker tries.
TEST_F(TableAttacks, DealsCannotBeWorkedOutFromTheClock)
{
    systemRandom = true;
    openHands = true;
    std::vector<TGameInfo> deals;
    const auto now = std::chrono::duration_cast<std::chrono::seconds>(
                         std::chrono::system_clock::now().time_since_epoch()).count();
    for (int table = 0; table < 2; ++table) {
        StartDealer();
        TLocalPlayer& host = Join(QStringLiteral("Ayşe"));
        host.StartNow();
        host.NewGame();
        ASSERT_TRUE(WaitFor([&] { return host.Count(GAME_RECORD) > 0; }));
        deals.push_back(host.LastRecord());
    }
    EXPECT_FALSE(SameHands(deals[0], deals[1]));
    int found = 0;
    for (auto seed = now - 3600; seed <= now + 3600; ++seed) {
        TRandom guess{uint32_t(seed)};
        TGameInfo g{};
        DealCards(g, guess);
        found += int(std::count_if(deals.begin(), deals.end(), [&](const TGameInfo& d) { return SameHands(g, d); }));
    }
    EXPECT_EQ(found, 0);
}

// Two players behind one public address: while Elif is silent for a moment, Mert asks for
// her seat under her name from a second connection. He must get neither the seat nor her
// key, and her key must still take the seat back later from anywhere.
TEST_F(TableAttacks, ASecondPlayerBehindTheSameAddressCannotTakeASeatByItsName)
{
    probeMs = 300;
    StartDealer(true, 0);
    const QString home = QStringLiteral("203.0.113.7");
    TLocalPlayer& host = JoinOurs(QStringLiteral("Ayşe"), QStringLiteral("10.1.1.1"));
    TLocalPlayer& elif = JoinOurs(QStringLiteral("Elif"), home);
    TLocalPlayer& mert = JoinOurs(QStringLiteral("Mert"), home);
    const TSeatKey elifsKey = Block(elif).Key;
    host.StartNow();
    host.NewGame();
    ASSERT_TRUE(WaitFor([&] { return elif.Count(GAME_RECORD) > 0; }));

    elif.SetSilent();
    TLocalPlayer& grab = JoinOurs(QStringLiteral("Elif"), home);
    ASSERT_TRUE(WaitFor([&] { return grab.Disconnected; }));
    EXPECT_EQ(grab.Lines(), QStringList({"TABLE_FULL"}));
    EXPECT_EQ(dealer->Seats()[1].Connection, elif.Id);
    EXPECT_EQ(dealer->Seats()[2].Connection, mert.Id);

    // Elif's program restarts elsewhere and comes back with her key.
    elif.Close();
    ASSERT_TRUE(WaitFor([&] { return !local->Open(elif.Id); }));
    TLocalPlayer& back = JoinOurs(QStringLiteral("Elif"), QStringLiteral("198.51.100.3"), elifsKey);
    ASSERT_TRUE(back.WaitLine(AcceptedLine(1)));
    ASSERT_TRUE(WaitFor([&] { return back.Count(GAME_RECORD) > 0; }));
}

// A host with more saved games than one message holds still gets an answer: the newest
// games, as many as fit.
TEST_F(TableAttacks, ManySavedGamesAreListedNewestFirstInOneMessage)
{
    StartDealer(true, 0);
    TLocalPlayer& host = JoinOurs(QStringLiteral("Ayşe"), QStringLiteral("10.1.1.1"));
    ASSERT_TRUE(QDir().mkpath(gamesFolder));
    const auto start = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24);
    for (int i = 0; i < 250; ++i) {
        const QString name = QStringLiteral("oyun %1 ").arg(i, 3, 10, QLatin1Char('0')).leftJustified(kMaxGameNameLength, 'x');
        const QString path = QDir(gamesFolder).filePath(name + QStringLiteral(".rvo"));
        ASSERT_TRUE(WriteGameFile(path, dealer->GameInfo()));
        std::filesystem::last_write_time(path.toStdString(), start + std::chrono::seconds(i));
    }
    host.SendRaw(LIST_GAMES);
    ASSERT_TRUE(host.WaitCount(GAME_LIST, 1));
    const TReceived& list = host.Received.back();
    EXPECT_LE(list.Payload.size(), kMaxPayloadSize);
    QStringList names;
    ASSERT_TRUE(ReadGameList(reinterpret_cast<const uint8_t*>(list.Payload.constData()), int32_t(list.Payload.size()), names));
    ASSERT_EQ(names.size(), (kMaxPayloadSize - 2) / (4 + kMaxGameNameLength));
    EXPECT_TRUE(names.first().startsWith(QStringLiteral("oyun 249 ")));
    EXPECT_TRUE(names.last().startsWith(QStringLiteral("oyun 064 ")));
}

// The host tries to choose the cards: a stacked deal sent as a record, impossible decks,
// and a game saved at the start of a hand, watched to its end and loaded again.
TEST_F(TableAttacks, TheHostCannotStackTheDeckOrPeekThroughASave)
{
    // Where the host is just the first to join, no record is taken from it at all.
    hostSendsRecords = false;
    StartDealer(true, 0);
    TLocalPlayer& host = JoinOurs(QStringLiteral("Ayşe"), QStringLiteral("10.1.1.1"));
    TLocalPlayer& veli = JoinOurs(QStringLiteral("Veli"), QStringLiteral("10.1.1.2"));
    host.StartNow();
    host.NewGame();
    ASSERT_TRUE(WaitFor([&] { return veli.Count(GAME_RECORD) == 1; }));
    TGameInfo stacked = dealer->GameInfo();
    std::swap(stacked.CardValue[0], stacked.CardValue[1]); // the host takes Veli's cards
    std::swap(stacked.CardSuit[0], stacked.CardSuit[1]);
    ASSERT_TRUE(IsValidGameInfo(stacked));
    host.Load(stacked);
    ASSERT_TRUE(host.Sync());
    EXPECT_EQ(veli.Count(GAME_RECORD), 1);
    EXPECT_EQ(EventCount(QStringLiteral("dropped GAME_RECORD: games are loaded from the dealer's games folder only")), 1);

    // The program's own dealer takes its user's saved games, but never an impossible deck.
    hostSendsRecords = true;
    StartDealer(true, 0);
    TLocalPlayer& own = JoinOurs(QStringLiteral("Ayşe"), QStringLiteral("127.0.0.1"));
    own.StartNow();
    own.NewGame();
    ASSERT_TRUE(WaitFor([&] { return own.Count(GAME_RECORD) == 1; }));
    TGameInfo aces = dealer->GameInfo();
    for (int i = 0; i < 4; ++i) {
        aces.CardSuit[1][i] = Hearts;
        aces.CardValue[1][i] = Ace;
    }
    own.Load(aces);
    std::memset(aces.CardSuit, Spades, sizeof aces.CardSuit);
    std::memset(aces.CardValue, Ace, sizeof aces.CardValue);
    own.Load(aces);
    ASSERT_TRUE(own.Sync());
    EXPECT_EQ(own.Count(GAME_RECORD), 1);
    EXPECT_EQ(EventCount(QStringLiteral("dropped GAME_RECORD: the record is not consistent")), 2);

    // A finished game loads as it was saved; one with a hand in progress gets new cards.
    TGameInfo over = dealer->GameInfo();
    EndGame(over);
    own.Load(over);
    ASSERT_TRUE(own.WaitCount(GAME_RECORD, 2));
    EXPECT_TRUE(SameRecord(dealer->GameInfo(), over));
    TRandom replay(5);
    TGameInfo started = over;
    NewGame(started, replay);
    own.Load(started);
    ASSERT_TRUE(own.WaitCount(GAME_RECORD, 3));
    EXPECT_FALSE(SameHands(dealer->GameInfo(), started));
    EXPECT_EQ(dealer->GameInfo().Chooser, started.Chooser);
}

} // namespace
