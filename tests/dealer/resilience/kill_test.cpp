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

namespace {

const QString kHost = QStringLiteral("127.0.0.1");

// Starts zorbela-dealer on a free port with its last-hand file in folder; 0 on failure.
quint16 StartDealerProcess(QProcess& process, const QString& folder)
{
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(QStringLiteral(ZORBELA_DEALER_EXE),
                  {"--port", "0", "--quick", "--open-hands", "--lasthand-folder", folder});
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

} // namespace

TEST(Stop, SigtermEndsTheDealerCleanlyWithAWholeLastHand)
{
    QTemporaryDir folder;
    QProcess process;
    const quint16 port = StartDealerProcess(process, folder.path());
    ASSERT_NE(port, 0);
    TAutoPlayer own(kHost, port, QStringLiteral("Kasa"), 3);
    own.OnTableComplete = [](TAutoPlayer& p) { p.Session.SendNewGame(); };
    ASSERT_TRUE(WaitFor([&] { return own.Seat == 0; }));
    own.Session.SendStartNow();
    ASSERT_TRUE(WaitFor([&] { return own.Records.size() >= 5; }));
    process.terminate(); // SIGTERM
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_TRUE(process.readAllStandardOutput().contains("stopped"));
    TGameInfo last{};
    ASSERT_TRUE(ReadGameFile(folder.filePath(QStringLiteral("LastHand.rvo")), last));
    EXPECT_TRUE(IsValidGameInfo(last));
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
