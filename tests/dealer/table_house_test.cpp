// A server of many tables in process: two houses (threads) on the manual clock.
#include <cstdio>
#include <thread>

#include <QRegularExpression>

#include "house_fixture.h"
#include "linelog.h"
#include "loopscheduling.h"
#include "serverloop.h"
#include "tableaudience.h"
#include "tablemessages.h"
#include "tableserver.h"

namespace {

bool NoHand(const TGameInfo& g)
{
    for (int seat = 0; seat < kSeatCount; ++seat)
        for (int i = 0; i < 13; ++i)
            if (g.CardCount[seat] != 0 || g.CardValue[seat][i] != kNone || g.CardSuit[seat][i] != kNone)
                return false;
    return true;
}

std::pair<bool, QString> AnswerOf(const TReceived* r)
{
    bool ok = false;
    QString text;
    if (r == nullptr || !ReadTableAnswer(reinterpret_cast<const uint8_t*>(r->Payload.constData()), int32_t(r->Payload.size()), ok, text))
        return {false, QStringLiteral("(no answer)")};
    return {ok, text};
}

QList<TTableListing> ListOf(const TReceived* r)
{
    QList<TTableListing> tables;
    EXPECT_TRUE(r && ReadTableList(reinterpret_cast<const uint8_t*>(r->Payload.constData()), int32_t(r->Payload.size()), tables));
    return tables;
}

// Every player answers each record that awaits its seat with the computer's choice.
void PlayOwnMoves(std::vector<std::unique_ptr<THousePlayer>>& players, TRandom& random)
{
    for (std::size_t seat = 0; seat < players.size(); ++seat) {
        THousePlayer* p = players[seat].get();
        p->OnReceived = [p, seat, &random](const TReceived& r) {
            if (r.Type == GAME_RECORD)
                p->SendOwnMove(int(seat), r.Record(), random);
        };
    }
}

struct TableHouse : ::testing::Test {
    QTemporaryDir folder;
    TRandom random{7};
    THouseOptions options;
    std::unique_ptr<TLocalHouses> houses;

    void Start()
    {
        options.Table.Quick = true;
        options.Table.OpenHands = false;
        options.Table.GamesFolder = folder.filePath(QStringLiteral("games"));
        options.MaxWatchers = 1;
        options.EmptyCloseMs = 60000;
        houses = std::make_unique<TLocalHouses>(2, options);
    }
    std::unique_ptr<THousePlayer> Player(const QString& host, int house = 0)
    {
        return std::make_unique<THousePlayer>(*houses, house, host);
    }
    bool Wait(const std::function<bool()>& done, qint64 limitMs = 60000) { return houses->RunUntil(done, limitMs); }
};

TEST_F(TableHouse, TablesAreCreatedJoinedByCodeWatchedWithoutHandsAndClosedWhenEmpty)
{
    Start();
    // A peer of the original protocol names no table: the default one, as at a dealer of one table.
    auto old = Player(QStringLiteral("10.0.0.1"));
    old->JoinAs(QStringLiteral("Eski"));
    ASSERT_TRUE(Wait([&] { return old->Count(JOIN_ACCEPTED) > 0; }));
    EXPECT_TRUE(old->Has(StatusLine(3)));
    EXPECT_TRUE(old->Has(AcceptedLine(0)));

    // Our program creates a table; it runs on the house with fewer tables.
    std::vector<std::unique_ptr<THousePlayer>> players;
    players.push_back(Player(QStringLiteral("10.0.0.2")));
    THousePlayer& host = *players[0];
    host.SendRaw(CREATE_TABLE, CreateTablePayload({QStringLiteral("Akşam masası"), 1, 30, 45, TTableSettings::kPrivateHands}));
    ASSERT_TRUE(Wait([&] { return host.Count(TABLE_CREATED) > 0; }));
    const auto [created, codeText] = AnswerOf(host.Last(TABLE_CREATED));
    const QByteArray code = codeText.toLatin1();
    ASSERT_TRUE(created) << codeText.toStdString();
    EXPECT_TRUE(IsTableCode(code));
    ASSERT_NE(houses->House(1).Table(code), nullptr);

    // Refusals: a bad name, bad settings, and an address past its budget of three tables.
    auto other = Player(QStringLiteral("10.0.0.2"));
    const QList<std::pair<TTableSettings, QString>> refused = {
        {{QStringLiteral("  "), 0, 0, 0, 0}, QStringLiteral("Masa adı geçersiz.")},
        {{QStringLiteral("Çok uzun bir masa adı, otuz baytı aşan"), 0, 0, 0, 0}, QStringLiteral("Masa adı geçersiz.")},
        {{QStringLiteral("a\nb"), 0, 0, 0, 0}, QStringLiteral("Masa adı geçersiz.")},
        {{QStringLiteral("Seviye"), 2, 0, 0, 0}, QStringLiteral("Masa ayarları geçersiz.")},
    };
    for (const auto& [settings, text] : refused) {
        other->SendRaw(CREATE_TABLE, CreateTablePayload(settings));
        ASSERT_TRUE(Wait([&] { return AnswerOf(other->Last(TABLE_CREATED)).second == text; })) << text.toStdString();
        other->Received.clear();
    }
    other->SendRaw(CREATE_TABLE, QByteArray("\x05\x00", 2));
    for (int i = 0; i < 3; ++i)
        other->SendRaw(CREATE_TABLE, CreateTablePayload({QStringLiteral("Boş %1").arg(i), 0, 0, 0, 0}));
    ASSERT_TRUE(Wait([&] { return other->Count(TABLE_CREATED) == 4; }));
    EXPECT_EQ(AnswerOf(&other->Received[0]).second, QStringLiteral("Masa ayarları geçersiz."));
    EXPECT_TRUE(AnswerOf(&other->Received[1]).first);
    EXPECT_TRUE(AnswerOf(&other->Received[2]).first);
    EXPECT_EQ(AnswerOf(&other->Received[3]).second, QStringLiteral("Bu adresten açılabilecek masa sayısı doldu."));
    EXPECT_EQ(houses->Directory().Count(), 4);

    // The creator and three friends join by the code (all from house 0, so all move).
    host.JoinOurs(QStringLiteral("Ayşe"), code);
    for (int i = 1; i < 4; ++i) {
        players.push_back(Player(QStringLiteral("10.0.1.%1").arg(i)));
        players.back()->JoinOurs(QStringLiteral("Oyuncu%1").arg(i), code);
        ASSERT_TRUE(Wait([&] { return players.back()->Count(JOIN_ACCEPTED) > 0; }));
        EXPECT_EQ(players.back()->Lines().contains(AcceptedLine(i)), true);
    }
    const TJoinExtension block = AcceptedBlock(host);
    EXPECT_EQ(block.TableCode, code);
    EXPECT_TRUE(block.Flags & TJoinExtension::kHost);

    // A watcher (one allowed) sees the seats; a second is refused; an unknown code too.
    auto watcher = Player(QStringLiteral("10.0.2.1"));
    watcher->SendRaw(WATCH_TABLE, WatchTablePayload(code));
    ASSERT_TRUE(Wait([&] { return watcher->Count(SEAT_NAME) == 4; }));
    EXPECT_EQ(AnswerOf(watcher->Last(WATCHING)), std::make_pair(true, codeText));
    EXPECT_TRUE(watcher->Has(QStringLiteral("SEAT_NAME 0 Ayşe")));
    auto late = Player(QStringLiteral("10.0.2.2"));
    late->SendRaw(WATCH_TABLE, WatchTablePayload(code));
    late->SendRaw(WATCH_TABLE, WatchTablePayload("ZZZZZ2"));
    ASSERT_TRUE(Wait([&] { return late->Count(WATCHING) == 2; })) << late->Lines().join(" | ").toStdString();
    EXPECT_EQ(AnswerOf(&late->Received[0]).second, QStringLiteral("Bu masada izleyici yeri kalmadı."));
    EXPECT_EQ(AnswerOf(&late->Received[1]).second, QStringLiteral("Böyle bir masa yok."));
    auto lost = Player(QStringLiteral("10.0.2.3"));
    lost->JoinOurs(QStringLiteral("Gezgin"), "ZZZZZ2");
    ASSERT_TRUE(Wait([&] { return lost->Count(TABLE_FULL) == 1; }));
    EXPECT_TRUE(lost->Has(QStringLiteral("STATUS_TEXT Böyle bir masa yok.")));
    EXPECT_EQ(lost->Last(TABLE_FULL)->Payload, TPayloadWriter().Text(QStringLiteral("Böyle bir masa yok.")).Bytes());

    // The game: the clock runs for the chooser and the players' programs are told so.
    PlayOwnMoves(players, random);
    host.NewGame();
    uint8_t seat = 0;
    uint32_t ms = 0;
    const auto turn = [&](THousePlayer& p) {
        const TReceived* r = p.Last(TURN_TIME);
        return r && ReadTurnTime(reinterpret_cast<const uint8_t*>(r->Payload.constData()), int32_t(r->Payload.size()), seat, ms);
    };
    ASSERT_TRUE(turn(*players[3]));
    EXPECT_EQ(std::make_pair(seat, ms), std::make_pair(kNoSeat, 0u)); // on joining: no clock runs yet
    ASSERT_TRUE(Wait([&] { return turn(*players[3]) && ms > 0; }));
    EXPECT_EQ(seat, AwaitedSeat(players[3]->LastRecord()));
    EXPECT_EQ(ms, 45000u);
    ASSERT_TRUE(Wait([&] { return turn(*watcher); })); // the watcher is shown the same countdown
    EXPECT_EQ(std::make_pair(int(seat), ms), std::make_pair(AwaitedSeat(players[3]->LastRecord()), 45000u));
    players[1]->Chat(QStringLiteral("merhaba"));
    ASSERT_TRUE(Wait([&] { return ContractsPlayed(watcher->LastRecord()) >= 2 && watcher->ChatCount(QStringLiteral("merhaba")) == 1; }));
    // Across tricks and a hand's end, not one card of any hand reached the watcher.
    int withTrick = 0;
    for (const TGameInfo& g : watcher->Records()) {
        EXPECT_TRUE(NoHand(g));
        withTrick += g.TrickCount > 0;
    }
    EXPECT_GT(withTrick, 0);
    EXPECT_GT(watcher->Count(TRICK_CLEAR), 0);
    EXPECT_EQ(players[2]->LastRecord().CardCount[2] > 0 || players[2]->LastRecord().Phase == psChoosing, true);

    // The list: the default table first, then the game; tables nobody joined are not shown.
    auto stranger = Player(QStringLiteral("10.0.3.1"));
    stranger->SendRaw(LIST_TABLES);
    ASSERT_TRUE(Wait([&] { return stranger->Count(TABLE_LIST) > 0; }));
    const QList<TTableListing> list = ListOf(stranger->Last(TABLE_LIST));
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(list[0].Seats[0], QByteArray("Eski"));
    EXPECT_EQ(list[0].Settings.Flags & TTableSettings::kDefault, TTableSettings::kDefault);
    EXPECT_EQ(list[1].Code, code);
    EXPECT_EQ(list[1].Settings.Flags, TTableSettings::kStarted | TTableSettings::kPrivateHands);
    EXPECT_EQ(list[1].Settings.Level, 1);
    EXPECT_EQ(list[1].Settings.ContractS, 45);
    EXPECT_EQ(list[1].Watchers, 1);
    EXPECT_EQ(list[1].Seats[3], QByteArray("Oyuncu3"));

    // Everyone leaves: the empty tables close after a while, the default table stays.
    for (auto& p : players) {
        p->OnReceived = nullptr;
        p->Close();
    }
    watcher->Close();
    ASSERT_TRUE(Wait([&] { return houses->Directory().Count() == 1; }, 2 * options.EmptyCloseMs));
    EXPECT_EQ(houses->House(1).Table(code), nullptr);
    EXPECT_EQ(houses->Directory().HouseOf(houses->Directory().DefaultCode()), 0);
    EXPECT_EQ(std::count_if(old->Received.begin(), old->Received.end(), [](const TReceived& r) { return r.Type >= 20; }), 0);
}

TEST_F(TableHouse, AWatcherSeesNoHandOfALoadedGame)
{
    options.Table.TurnClock = {30, 45};
    Start();
    std::vector<std::unique_ptr<THousePlayer>> players;
    players.push_back(Player(QStringLiteral("10.0.0.1"), 1));
    THousePlayer& host = *players[0];
    host.JoinOurs(QStringLiteral("Ev sahibi"), {});
    ASSERT_TRUE(Wait([&] { return host.Count(JOIN_ACCEPTED) > 0; }));
    host.StartNow();
    host.NewGame();
    // Watching starts while the host's time runs: the watcher is told what is left of it.
    ASSERT_TRUE(Wait([&] { return host.Count(GAME_RECORD) > 0 && AwaitedSeat(host.LastRecord()) == 0; }));
    const auto watcher = Player(QStringLiteral("10.0.2.1"), 1);
    watcher->SendRaw(WATCH_TABLE, WatchTablePayload(houses->Directory().DefaultCode()));
    uint8_t seat = kNone;
    uint32_t ms = 0;
    ASSERT_TRUE(Wait([&] {
        const TReceived* r = watcher->Last(TURN_TIME);
        return r && ReadTurnTime(reinterpret_cast<const uint8_t*>(r->Payload.constData()), int32_t(r->Payload.size()), seat, ms);
    }));
    EXPECT_EQ(seat, 0);
    EXPECT_TRUE(ms > 0 && ms <= 45000u) << ms;
    PlayOwnMoves(players, random);
    host.SendOwnMove(0, host.LastRecord(), random);
    ASSERT_TRUE(Wait([&] { return host.LastRecord().TricksPlayed >= 2; }));
    host.SendRaw(SAVE_GAME, TPayloadWriter().Text(QStringLiteral("izlenen")).Bytes());
    ASSERT_TRUE(Wait([&] { return host.LastRecord().TricksPlayed >= 5; }));
    host.SendRaw(LOAD_GAME, TPayloadWriter().Text(QStringLiteral("izlenen")).Bytes());
    // The loaded game goes back some tricks: the watcher sees it happen, and the play after it.
    const auto wentBack = [&] {
        const auto records = watcher->Records();
        for (std::size_t i = 1; i < records.size(); ++i)
            if (records[i].TricksPlayed < records[i - 1].TricksPlayed && records[i - 1].TricksPlayed >= 5)
                return records.size() > i + 4;
        return false;
    };
    ASSERT_TRUE(Wait(wentBack));
    EXPECT_EQ(host.Count(GAME_FILE_RESULT), 1); // the save's; a load answers with the records
    const auto records = watcher->Records();
    EXPECT_TRUE(std::all_of(records.begin(), records.end(), NoHand));
    EXPECT_GT(HandCount(host.LastRecord(), 0), 0); // the host still sees its own
}

// The same over TCP with the server's threads: an old peer at the default table, a table
// created and joined by its code (connections handed between threads), a watcher. The
// threads ask for real-time scheduling; a thread they start (a computer's thinking) never
// has it.
TEST(TableServer, OverTcpEveryoneReachesTheirTableAcrossThreads)
{
    QTemporaryDir folder;
    TTableServerOptions options;
    options.Port = 0;
    options.Threads = 2;
    options.RealTime = true;
    options.House.Table.Quick = true;
    options.House.Table.OpenHands = false;
    options.LastHandFolder = folder.path();
    TTableServer server(options);
    ASSERT_TRUE(server.Listening());
    TTcpPlayer old(server.Port(), QStringLiteral("Eski"), true);
    ASSERT_TRUE(old.WaitLine(AcceptedLine(0)));

    // Waits for a new player's connection (its signal comes from the event loop).
    const auto open = [](TTcpPlayer& p) {
        bool up = false;
        const auto c = QObject::connect(&p.Link, &TSessionLink::connected, [&up] { up = true; });
        const bool ok = WaitFor([&] { return up; });
        QObject::disconnect(c);
        return ok;
    };
    std::vector<std::unique_ptr<TTcpPlayer>> players;
    players.push_back(std::make_unique<TTcpPlayer>(server.Port(), QString(), false));
    ASSERT_TRUE(open(*players[0]));
    players[0]->SendRaw(CREATE_TABLE, CreateTablePayload({QStringLiteral("Uzak"), 0, 0, 0, TTableSettings::kPrivateHands}));
    ASSERT_TRUE(players[0]->WaitCount(TABLE_CREATED, 1));
    const auto [created, code] = AnswerOf(&players[0]->Received.back());
    ASSERT_TRUE(created);
    TRandom random(3);
    for (int seat = 0; seat < 4; ++seat) {
        if (seat > 0)
            players.push_back(std::make_unique<TTcpPlayer>(server.Port(), QString(), false));
        TTcpPlayer& p = *players.back();
        ASSERT_TRUE(seat == 0 || open(p));
        TJoinExtension e;
        e.TableCode = code.toLatin1();
        p.SendRaw(JOIN_REQUEST, TPayloadWriter().Text(QStringLiteral("Uzak%1").arg(seat)).Bytes() + JoinExtensionBytes(e));
        ASSERT_TRUE(p.WaitLine(AcceptedLine(seat)));
        p.OnReceived = [&p, seat, &random](const TReceived& r) {
            if (r.Type == GAME_RECORD)
                p.SendOwnMove(seat, r.Record(), random);
        };
    }
    TTcpPlayer watcher(server.Port(), QString(), false);
    ASSERT_TRUE(open(watcher));
    watcher.SendRaw(WATCH_TABLE, WatchTablePayload(code.toLatin1()));
    players[0]->NewGame();
    ASSERT_TRUE(WaitFor([&] { return watcher.Count(GAME_RECORD) >= 12; }, 20000));
    const auto records = watcher.Records();
    EXPECT_TRUE(std::all_of(records.begin(), records.end(), NoHand));
    EXPECT_TRUE(watcher.Has(QStringLiteral("SEAT_NAME 3 Uzak3")));
    EXPECT_GT(players[2]->LastRecord().CardCount[2] + (players[2]->LastRecord().Phase == psChoosing), 0);
    EXPECT_EQ(old.Count(GAME_RECORD), 0); // the default table waits for its players
    for (auto& p : players)
        p->OnReceived = nullptr;

    for (int i = 0; i < server.Threads(); ++i) {
        bool loopRealTime = false, startedRealTime = true;
        QMetaObject::invokeMethod(server.Loop(i), [&] {
            loopRealTime = ThreadIsRealTime();
            std::thread([&] { startedRealTime = ThreadIsRealTime(); }).join();
        }, Qt::BlockingQueuedConnection);
        EXPECT_EQ(loopRealTime, server.RealTimeRefusal().isEmpty()) << server.RealTimeRefusal().toStdString();
        EXPECT_FALSE(startedRealTime);
    }
}

// The tables' threads log side by side: every line comes out whole, and none is lost.
TEST(ServerLog, LinesFromEveryThreadComeOutWholeAndNoneIsLost)
{
    constexpr int kThreads = 4, kLines = 3000;
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    const QtMessageHandler previous = InstallLineLog(file);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < kLines; ++i)
                qInfo().noquote() << QStringLiteral("table %1: seat %2 played Karo 8").arg(t).arg(i);
        });
    for (std::thread& thread : threads)
        thread.join();
    qInstallMessageHandler(previous);
    std::rewind(file);
    QFile read;
    ASSERT_TRUE(read.open(file, QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(read.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    std::fclose(file);
    const QRegularExpression whole(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d{3} table \\d: seat \\d+ played Karo 8$"));
    EXPECT_EQ(lines.size(), kThreads * kLines);
    EXPECT_EQ(lines.filter(whole).size(), kThreads * kLines);
}

} // namespace
