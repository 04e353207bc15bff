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

// The host of the program's own dealer tries to choose the cards: impossible decks, and a
// game saved at the start of a hand, watched to its end and loaded again. (At zorbela-dealer
// no record is taken from the host at all: the hostile tool's attack shows it over TCP.)
TEST_F(TableAttacks, TheHostCannotStackTheDeckOrPeekThroughASave)
{
    // The program's own dealer takes its user's saved games, but never an impossible deck.
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

// A stranger joins and leaves in a loop before the game, then a seated player leaves and
// comes back with its key in a loop during it: the others are told a few of these comings
// and goings at once and the rest together, as things then stand, never one message each.
TEST_F(TableAttacks, JoinAndLeaveStormsCostTheOthersAFewMessages)
{
    StartDealer();
    TLocalPlayer& host = JoinOurs(QStringLiteral("Ayşe"), QStringLiteral("10.1.1.1"));
    const std::size_t before = host.Received.size();
    for (int cycle = 0; cycle < 100; ++cycle) {
        TLocalPlayer& stranger = JoinOurs(QStringLiteral("Kötü"), QStringLiteral("10.6.6.6"));
        stranger.Close();
        Settle(2);
    }
    EXPECT_LE(host.Received.size() - before, 2u * (kNewsBurst + 2)); // a name and a count each
    // An honest player who joins now is announced within a second, with the storm's end.
    TLocalPlayer& veli = JoinOurs(QStringLiteral("Veli"), QStringLiteral("10.1.1.2"));
    ASSERT_TRUE(WaitFor([&] { return host.Has(QStringLiteral("SEAT_NAME 1 Veli")) && host.Has(StatusLine(2)); }, kNewsRefillMs));
    const QStringList told = host.Lines().mid(int(before));
    EXPECT_EQ(told.count(QStringLiteral("SEAT_NAME 1 Veli")), 1);
    EXPECT_EQ(told.filter(QStringLiteral("SEAT_NAME 1 ")).last(), QStringLiteral("SEAT_NAME 1 Veli"));
    EXPECT_EQ(told.filter(QStringLiteral("STATUS_TEXT")).last(), StatusLine(2));

    host.StartNow();
    host.NewGame();
    ASSERT_TRUE(WaitFor([&] { return veli.Count(GAME_RECORD) > 0; }));
    Settle(kNewsBurst * kNewsRefillMs); // the budget is whole again
    const int chats = host.Count(CHAT_TEXT);
    TLocalPlayer* current = &veli;
    for (int cycle = 0; cycle < 60; ++cycle) {
        const TSeatKey key = Block(*current).Key;
        current->Close();
        Settle(5);
        current = &JoinOurs(QStringLiteral("Veli"), QStringLiteral("10.1.1.2"), key);
        ASSERT_EQ(current->Count(JOIN_ACCEPTED), 1) << cycle;
    }
    Settle(2 * kNewsRefillMs);
    EXPECT_GE(host.Count(CHAT_TEXT) - chats, 2);
    EXPECT_LE(host.Count(CHAT_TEXT) - chats, kNewsBurst + 1);
    // The rest told together, as things stand: Veli is back, and the last line says so.
    EXPECT_EQ(host.Lines().filter(QStringLiteral("CHAT_TEXT")).last(), QStringLiteral("CHAT_TEXT Veli oyuna geri döndü."));
    EXPECT_FALSE(host.Disconnected);
}

} // namespace
