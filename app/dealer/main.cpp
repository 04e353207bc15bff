// zorbela-dealer: one table's dealer without a window. Players join with the game on the
// port given; the first one to join is the dealer's own user (seat 0), who starts games
// and may fill the free seats with computer players. One line per event on stdout; with
// --port 0 a free port is chosen, and the line "dealer listening on port P" names it.
#include <csignal>
#include <cstdio>

#include <sys/socket.h>
#include <unistd.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QLoggingCategory>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTextStream>

#include "dealerthread.h"
#include "notify.h"
#include "dealerlevel.h"

namespace {

int stopPipe[2] = {-1, -1};

// SIGTERM and SIGINT only write a byte; the event loop reads it and ends the program.
void OnStopSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(stopPipe[1], &byte, 1);
}

// The folder of the dealer's state when no --lasthand-folder is given: the service
// manager's state directory ($STATE_DIRECTORY, /var/lib/zorbela for the packaged unit),
// otherwise the user's state folder ($XDG_STATE_HOME or ~/.local/state, then zorbela-dealer).
// Never the program's own folder, which an installed server cannot and should not write.
QString DefaultStateFolder()
{
    const QString service = qEnvironmentVariable("STATE_DIRECTORY").section(QLatin1Char(':'), 0, 0);
    if (!service.isEmpty())
        return service;
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/zorbela-dealer");
}

// A service manager stops the dealer with SIGTERM, a terminal with Ctrl+C: both end the
// event loop, so the table is closed as at any normal end. "LastHand.rvo" is already
// whole: it is rewritten after every change.
void StopOnSignals(QCoreApplication& app)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, stopPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(stopPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [&app] {
        char byte = 0;
        [[maybe_unused]] const ssize_t read = ::read(stopPipe[0], &byte, 1);
        qInfo().noquote() << QStringLiteral("stopping");
        app.quit();
    });
    struct sigaction action = {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zorbela-dealer"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Runs one Zorbela dealer without a window."));
    parser.addHelpOption();
    const QCommandLineOption portOption(QStringLiteral("port"),
                                        QStringLiteral("TCP port to listen on (default 33471)."),
                                        QStringLiteral("P"), QString::number(kGamePort));
    const QCommandLineOption quickOption(QStringLiteral("quick"), QStringLiteral("Short pacing (\"Hızlı\")."));
    const QCommandLineOption lastHandOption(QStringLiteral("lasthand-folder"),
                                            QStringLiteral("Folder of LastHand.rvo (default: $STATE_DIRECTORY, else ~/.local/state/zorbela-dealer)."),
                                            QStringLiteral("DIR"));
    const QCommandLineOption levelOption(QStringLiteral("level"),
                                         QStringLiteral("Level of the computer seats: acemi (default) or usta."),
                                         QStringLiteral("L"), QStringLiteral("acemi"));
    parser.addOption(portOption);
    parser.addOption(quickOption);
    parser.addOption(lastHandOption);
    parser.addOption(levelOption);
    const QCommandLineOption openHandsOption(QStringLiteral("open-hands"),
        QStringLiteral("Send every player all four hands (for programs that need them)."));
    const QCommandLineOption gamesOption(QStringLiteral("games-folder"),
        QStringLiteral("Where the host's saved games are kept (default: the data folder's games)."),
        QStringLiteral("DIR"));
    const QCommandLineOption clockOption(QStringLiteral("turn-clock"),
        QStringLiteral("Seconds for a card and for a contract, CARD_S,CONTRACT_S (default 30,45; 0: none)."),
        QStringLiteral("CARD_S,CONTRACT_S"), QStringLiteral("%1,%2").arg(kServerTurnClock.CardS).arg(kServerTurnClock.ContractS));
    parser.addOption(openHandsOption);
    parser.addOption(gamesOption);
    parser.addOption(clockOption);
    parser.process(app);

    TComputerLevel level = TComputerLevel::Acemi;
    if (!ParseComputerLevel(qPrintable(parser.value(levelOption)), level)) {
        std::fprintf(stderr, "zorbela-dealer: bad level '%s'\n", qPrintable(parser.value(levelOption)));
        return 2;
    }

    TTurnClockSetting turnClock;
    if (!ParseTurnClock(parser.value(clockOption), turnClock)) {
        std::fprintf(stderr, "zorbela-dealer: bad turn clock '%s'\n", qPrintable(parser.value(clockOption)));
        return 2;
    }

    bool ok = false;
    const uint port = parser.value(portOption).toUInt(&ok);
    if (!ok || port > 65535) {
        std::fprintf(stderr, "zorbela-dealer: bad port '%s'\n", qPrintable(parser.value(portOption)));
        return 2;
    }

    // Every log line, the dealer's own (category zorbela.dealer, whose information lines
    // are switched on here) and those of the layers below, goes to standard output with the
    // time it was written.
    QLoggingCategory::setFilterRules(QStringLiteral("zorbela.dealer.info=true"));
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& line) {
        static QTextStream out(stdout);
        out << QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss.zzz")) << ' ' << line << Qt::endl;
    });
    auto print = [](const QString& line) { qInfo().noquote() << line; };
    SetNotifier([&print](const std::string& text, int) { print(QString::fromStdString(text)); });

    TDealerOptions options;
    options.Port = quint16(port);
    options.Quick = parser.isSet(quickOption);
    options.LastHandFolder = parser.isSet(lastHandOption) ? parser.value(lastHandOption) : DefaultStateFolder();
    if (!QDir().mkpath(options.LastHandFolder)) {
        std::fprintf(stderr, "zorbela-dealer: cannot make the folder '%s'\n", qPrintable(options.LastHandFolder));
        return 1;
    }
    options.OpenHands = parser.isSet(openHandsOption);
    options.TurnClock = turnClock;
    // The first to join runs the table; the games come from the games folder only.
    options.HostSendsRecords = false;
    options.GamesFolder = parser.isSet(gamesOption)
        ? parser.value(gamesOption)
        : QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath(QStringLiteral("games"));
    SetComputerLevel(options, level);
    StopOnSignals(app);
    TDealerThread dealer(options);
    if (!dealer.Listening()) {
        std::fprintf(stderr, "zorbela-dealer: cannot listen on port %u\n", port);
        return 1;
    }
    print(QStringLiteral("dealer listening on port %1%2; LastHand.rvo in %3")
              .arg(dealer.Port())
              .arg(options.Quick ? QStringLiteral(" (quick)") : QString(), dealer.LastHandFolder())
          + QStringLiteral("; computer level %1").arg(QString::fromLatin1(options.ComputerName))
          + QStringLiteral("; %1; saved games in %2")
                .arg(options.OpenHands ? QStringLiteral("open hands") : QStringLiteral("private hands"), options.GamesFolder)
          + (turnClock.On() ? QStringLiteral("; turn clock %1 s a card, %2 s a contract").arg(turnClock.CardS).arg(turnClock.ContractS)
                            : QStringLiteral("; no turn clock")));
    const int code = app.exec();
    print(QStringLiteral("stopped"));
    return code;
}
