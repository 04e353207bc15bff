// The dealer process killed at random moments of a game: "LastHand.rvo" is always a whole,
// consistent record, and a fresh dealer that loads it plays on from it.
#include <cstdio>
#include <map>
#include <random>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "autoplayer.h"
#include "dealer_test_util.h"
#include "recordchain.h"
#include "statefiles.h"

namespace {

const QString kHost = QStringLiteral("127.0.0.1");

// Starts zorbela-dealer on a free port with its last-hand file in folder; 0 on failure.
// At normal priority, as the players in this process are: these tests follow the course of
// a game, not its speed, and a real-time dealer would only compete with them for a core.
quint16 StartDealerProcess(QProcess& process, const QString& folder, const QStringList& more = {})
{
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(QStringLiteral(ZORBELA_DEALER_EXE),
                  QStringList{"--port", "0", "--quick", "--open-hands", "--no-realtime", "--lasthand-folder", folder} + more);
    QByteArray out;
    const QRegularExpression listening(QStringLiteral("dealer listening on port (\\d+)"));
    QRegularExpressionMatch match;
    WaitFor([&] {
        out += process.readAllStandardOutput();
        match = listening.match(QString::fromUtf8(out));
        return match.hasMatch() || process.state() == QProcess::NotRunning;
    });
    return match.hasMatch() ? quint16(match.captured(1).toUInt()) : 0;
}

// Loads record into a fresh dealer in this process as its own user and returns what the
// player saw: the loaded record, then (unless the game was over) the next one.
std::vector<TGameInfo> LoadAndPlayOn(const TGameInfo& record)
{
    QTemporaryDir folder;
    TRandom random(5);
    TDealerOptions options;
    options.Port = 0;
    options.Quick = true;
    options.TrickResolveExtraMs = 20;
    options.LastHandFolder = folder.path();
    options.Random = &random;
    options.OpenHands = true; // the records are compared with the whole record loaded
    TDealerThread dealer(options);
    TAutoPlayer own(kHost, dealer.Port(), QStringLiteral("Kasa"), 9);
    own.OnTableComplete = [&](TAutoPlayer& p) { p.Session.SendGameRecord(record); };
    EXPECT_TRUE(WaitFor([&] { return own.Seat == 0; }));
    own.Session.SendStartNow();
    const std::size_t wanted = record.Phase == psGameOver ? 1 : 2;
    EXPECT_TRUE(WaitFor([&] { return own.Records.size() >= wanted; }));
    own.Paused = true;
    return own.Records;
}

const char* PhaseName(uint8_t phase)
{
    switch (phase) {
    case psTrickComplete: return "trick complete";
    case psPlaying: return "playing";
    case psChoosing: return "choosing";
    case psGameOver: return "game over";
    default: return "other";
    }
}

TEST(Kill, LastHandIsAlwaysAWholeRecordThatLoadsAndPlaysOn)
{
    constexpr int kRounds = 50;
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString lastHand = QDir(folder.path()).filePath(QStringLiteral("LastHand.rvo"));
    std::mt19937 random(20261207);
    // Each round is killed after the player has seen a random number of records, then a
    // random moment more: the moments follow the game, not the machine's speed.
    std::uniform_int_distribution<int> progress(1, 20);
    std::uniform_int_distribution<int> delay(0, 200);
    std::map<std::string, int> phases;
    int leftovers = 0;

    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        QFile::remove(lastHand);
        QDir(folder.filePath(QStringLiteral("tables"))).removeRecursively(); // a new table each round
        QProcess process;
        const quint16 port = StartDealerProcess(process, folder.path());
        ASSERT_NE(port, 0) << process.readAllStandardError().toStdString();
        {
            TAutoPlayer own(kHost, port, QStringLiteral("Kasa"), uint32_t(round));
            own.RestartWhenOver = true;
            own.OnTableComplete = [](TAutoPlayer& p) { p.Session.SendNewGame(); };
            ASSERT_TRUE(WaitFor([&] { return own.Seat == 0; }));
            own.Session.SendStartNow();
            // Before the first write there is no file to lose; from then on it is whole.
            const std::size_t atLeast = std::size_t(progress(random));
            ASSERT_TRUE(WaitFor([&] { return own.Records.size() >= atLeast && QFile::exists(lastHand); }, 60000));
            Settle(delay(random));
            process.kill();
            ASSERT_TRUE(process.waitForFinished(10000));
        }

        QFile file(lastHand);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        ASSERT_EQ(bytes.size(), qsizetype(sizeof(TGameInfo)));
        TGameInfo record;
        std::memcpy(&record, bytes.constData(), sizeof record);
        ASSERT_TRUE(IsValidGameInfo(record));
        ++phases[PhaseName(record.Phase)];

        // A temporary file left by a write the kill cut short never replaces the record.
        for (const QString& name : QDir(folder.path()).entryList({"LastHand.rvo?*"}, QDir::Files)) {
            ++leftovers;
            QFile::remove(QDir(folder.path()).filePath(name));
        }

        const std::vector<TGameInfo> seen = LoadAndPlayOn(record);
        ASSERT_FALSE(seen.empty());
        EXPECT_TRUE(SameRecord(seen.front(), record));
        if (record.Phase != psGameOver) {
            ASSERT_GE(seen.size(), 2u);
            EXPECT_EQ(StepFault(seen[0], seen[1]), "");
        }
    }
    std::string summary;
    for (const auto& [phase, count] : phases)
        summary += " " + phase + ": " + std::to_string(count) + ";";
    std::printf("[ kill    ] %d rounds, phases of the last record:%s temporary files left: %d\n", kRounds,
                summary.c_str(), leftovers);
    RecordProperty("phases", summary);
    EXPECT_GE(phases.size(), 2u); // the kills landed in more than one phase of the game
}

// The two players of a restarted table: our program, which comes back with its seat's key,
// and a peer of the original protocol, which comes back by its name from its address.
struct TReturningPlayers {
    TAutoPlayer Own;
    TTcpPlayer Old;
    TRandom Random{8};
    TReturningPlayers(quint16 port, const TSeatKey& key, uint32_t seed)
        : Own(kHost, port, QStringLiteral("Kasa"), seed), Old(port, QStringLiteral("Eski"), true)
    {
        Own.Session.JoinKey = key; // before the connection is made
        Old.OnReceived = [this](const TReceived& r) {
            if (r.Type == GAME_RECORD)
                Old.SendOwnMove(1, r.Record(), Random);
        };
    }
};

// The records after a restart start with the last one seen before it, and each of the
// others follows from the one before by one step of the game. After a kill the first may
// be one step further: the player's move then in flight reached the dealer, and was kept,
// but its record never reached the player.
std::string GoesOn(const TGameInfo& lastSeen, const std::vector<TGameInfo>& after, bool moveInFlight)
{
    if (after.empty())
        return "no record after the restart";
    if (!SameRecord(after.front(), lastSeen) && !(moveInFlight && StepFault(lastSeen, after.front()).empty()))
        return "the game does not go on from the last record seen";
    for (std::size_t i = 1; i < after.size(); ++i)
        if (const std::string fault = StepFault(after[i - 1], after[i]); !fault.empty())
            return fault;
    return "";
}

// The record of the default table's state kept in folder; a fresh record while there is none.
TGameInfo KeptRecord(const QString& folder)
{
    for (const TTableState& state : TStateFiles(QDir(folder).filePath(QStringLiteral("tables"))).ReadAll())
        if (state.Default)
            return state.Record;
    return TTableState().Record;
}

} // namespace

TEST(Restart, KilledOrStoppedTheDealerRestoresItsTableAndThePlayersGoOn)
{
    QTemporaryDir folder;
    const QStringList noClock{"--turn-clock", "0"};
    QProcess first;
    quint16 port = StartDealerProcess(first, folder.path(), noClock);
    ASSERT_NE(port, 0);
    auto players = std::make_unique<TReturningPlayers>(port, TSeatKey{}, 1);
    players->Own.OnTableComplete = [](TAutoPlayer& p) { p.Session.SendNewGame(); };
    ASSERT_TRUE(WaitFor([&] { return players->Own.Seat == 0 && players->Old.Count(JOIN_ACCEPTED) == 1; }));
    players->Own.Session.SendStartNow();
    ASSERT_TRUE(WaitFor([&] { return players->Own.Records.size() >= 30; }, 30000));
    // Killed while the game waits for Kasa's move, once the state written off the table's
    // thread has caught up with the game.
    // (Seen once is enough: the file is read while the dealer may write it again. Kasa's
    // move for that record may already be on its way: pausing stops only the next ones.)
    players->Own.Paused = true;
    bool caughtUp = false;
    ASSERT_TRUE(WaitFor([&] {
        const TGameInfo* last = players->Own.Last();
        caughtUp = caughtUp || (AwaitedSeat(*last) == 0 && SameRecord(KeptRecord(folder.path()), *last));
        return caughtUp;
    }, 30000));
    first.kill();
    ASSERT_TRUE(first.waitForFinished(10000));
    const TGameInfo beforeKill = players->Own.Records.back();
    TSeatKey key = players->Own.Session.Joined.Key;
    players.reset();

    QProcess second;
    port = StartDealerProcess(second, folder.path(), noClock);
    ASSERT_NE(port, 0);
    players = std::make_unique<TReturningPlayers>(port, key, 2);
    ASSERT_TRUE(WaitFor([&] { return players->Own.Records.size() >= 30 && players->Old.Count(GAME_RECORD) >= 30; }, 30000))
        << "Kasa's records " << players->Own.Records.size() << " at seat " << int(players->Own.Seat) << ", Eski's "
        << players->Old.Count(GAME_RECORD) << "; the dealer "
        << (second.state() == QProcess::NotRunning ? "ended with " + std::to_string(second.exitCode()) : std::string("runs"))
        << " and said:\n" << second.readAllStandardOutput().right(3000).toStdString()
        << second.readAllStandardError().right(3000).toStdString();
    EXPECT_EQ(players->Own.Seat, 0);
    EXPECT_TRUE(players->Old.Has(AcceptedLine(1)));
    EXPECT_GT(players->Own.Moves, 0);
    EXPECT_EQ(GoesOn(beforeKill, players->Own.Records, true), "");

    // SIGTERM: the players are told, the program ends well, and nothing at all is lost.
    second.terminate();
    // The players read and acknowledge meanwhile, as they do in a game.
    ASSERT_TRUE(WaitFor([&] { return second.state() == QProcess::NotRunning; }));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(second.readAllStandardOutput().contains("stopped"));
    TGameInfo lastHand{};
    ASSERT_TRUE(ReadGameFile(QDir(folder.path()).filePath(QStringLiteral("LastHand.rvo")), lastHand));
    EXPECT_TRUE(IsValidGameInfo(lastHand));
    const QString told = QStringLiteral("CHAT_TEXT Sunucu kapanıyor; yeniden açıldığında oyun kaldığı yerden sürecek.");
    EXPECT_TRUE(WaitFor([&] { return players->Old.Has(told) && players->Own.Chats > 0; }));
    Settle(50);
    const TGameInfo lastSeen = players->Own.Records.back();
    key = players->Own.Session.Joined.Key;
    players.reset();

    QProcess third;
    port = StartDealerProcess(third, folder.path(), noClock);
    ASSERT_NE(port, 0);
    players = std::make_unique<TReturningPlayers>(port, key, 3);
    ASSERT_TRUE(WaitFor([&] { return players->Own.Records.size() >= 5; }, 30000));
    EXPECT_EQ(GoesOn(lastSeen, players->Own.Records, false), "");
    third.terminate();
    EXPECT_TRUE(third.waitForFinished(10000));
}

// Without --lasthand-folder the server keeps "LastHand.rvo" in the service's state directory,
// else in the user's state folder, and never next to its program.
TEST(Stop, WithoutAFolderTheDealerWritesInItsStateFolder)
{
    QTemporaryDir home;
    const auto folderNamed = [](const QProcessEnvironment& environment) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(ZORBELA_DEALER_EXE), {"--port", "0"});
        QByteArray out;
        const QRegularExpression line(QStringLiteral("LastHand.rvo in ([^;]+);"));
        QRegularExpressionMatch match;
        WaitFor([&] {
            out += process.readAllStandardOutput();
            match = line.match(QString::fromUtf8(out));
            return match.hasMatch() || process.state() == QProcess::NotRunning;
        });
        process.terminate();
        process.waitForFinished(10000);
        return match.captured(1);
    };
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("STATE_DIRECTORY"));
    environment.insert(QStringLiteral("XDG_STATE_HOME"), home.filePath(QStringLiteral("state")));
    const QString user = folderNamed(environment);
    EXPECT_EQ(user, home.filePath(QStringLiteral("state/zorbela-dealer")));
    EXPECT_TRUE(QDir(user).exists());

    environment.insert(QStringLiteral("STATE_DIRECTORY"), home.filePath(QStringLiteral("service")));
    EXPECT_EQ(folderNamed(environment), home.filePath(QStringLiteral("service")));
    EXPECT_TRUE(QDir(home.filePath(QStringLiteral("service"))).exists());
}
