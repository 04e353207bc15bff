// zorbela-dealer: a server of many tables without a window, on one port. A peer that
// names no table joins the default table, whose first player is its host (seat 0), who
// starts games and may fill the free seats with computer players. Our program may list
// the tables, create one (its creator joins it first and is its host) and watch one.
// One line per event on stdout (--quiet: only faults); with --port 0 a free port is
// chosen, and the line "dealer listening on port P" names it.
#include <csignal>
#include <cstdio>

#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QLoggingCategory>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTimer>

#include "dealerthread.h"
#include "statefiles.h"
#include "tableserver.h"
#include "notify.h"
#include "dealerlevel.h"
#include "linelog.h"
#include "loopscheduling.h"

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

// A service manager stops the dealer with SIGTERM, a terminal with Ctrl+C: every table
// tells its players that the game goes on when the server is back and keeps its state as it
// is; the program ends kStopWaitMs later, once the word has had time to arrive. The next
// start with the same folder restores the tables.
constexpr int kStopWaitMs = 1000;

void StopOnSignals(QCoreApplication& app, TTableServer& server)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, stopPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(stopPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [&app, &server, notifier] {
        char byte = 0;
        [[maybe_unused]] const ssize_t read = ::read(stopPipe[0], &byte, 1);
        notifier->setEnabled(false); // once
        qInfo().noquote() << QStringLiteral("stopping");
        server.Closing();
        QTimer::singleShot(kStopWaitMs, &app, &QCoreApplication::quit);
    });
    struct sigaction action = {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

// As many open files as the system lets this process have: each player is one.
void RaiseFileLimit()
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return;
    limit.rlim_cur = limit.rlim_max;
    ::setrlimit(RLIMIT_NOFILE, &limit);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zorbela-dealer"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Runs a Zorbela server of many tables without a window."));
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
    const QCommandLineOption threadsOption(QStringLiteral("threads"),
        QStringLiteral("Event-loop threads the tables are spread over (default: one per core)."), QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption maxTablesOption(QStringLiteral("max-tables"),
        QStringLiteral("Tables at once, the default table included (default 5000)."), QStringLiteral("N"), QStringLiteral("5000"));
    const QCommandLineOption perAddressOption(QStringLiteral("tables-per-address"),
        QStringLiteral("Tables one address may have created at once (default 3)."), QStringLiteral("N"), QStringLiteral("3"));
    const QCommandLineOption emptyOption(QStringLiteral("empty-close"),
        QStringLiteral("Seconds after which a table nobody is at closes (default 600)."), QStringLiteral("S"), QStringLiteral("600"));
    const QCommandLineOption quietOption(QStringLiteral("quiet"), QStringLiteral("Log faults only, not every event."));
    const QCommandLineOption normalOption(QStringLiteral("no-realtime"),
        QStringLiteral("Keep the event-loop threads at normal priority (by default they ask for real-time "
                       "round-robin scheduling at priority 1, where permitted, to answer at once on a busy machine)."));
    parser.addOption(threadsOption);
    parser.addOption(maxTablesOption);
    parser.addOption(perAddressOption);
    parser.addOption(emptyOption);
    parser.addOption(quietOption);
    parser.addOption(normalOption);
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
    const auto number = [&parser](const QCommandLineOption& option, int low, int high, int& value) {
        bool read = false;
        value = parser.value(option).toInt(&read);
        if (read && value >= low && value <= high)
            return true;
        std::fprintf(stderr, "zorbela-dealer: bad value '%s' for --%s\n", qPrintable(parser.value(option)),
                     qPrintable(option.names().constFirst()));
        return false;
    };
    int threads = 0, maxTables = 0, perAddress = 0, emptyS = 0;
    if (!number(threadsOption, 0, 64, threads) || !number(maxTablesOption, 1, 100000, maxTables)
        || !number(perAddressOption, 0, 1000, perAddress) || !number(emptyOption, 1, 7 * 24 * 3600, emptyS))
        return 2;

    // Every log line, the dealer's own (category zorbela.dealer, whose information lines
    // are switched on here) and those of the layers below, goes to standard output with the
    // time it was written.
    if (!parser.isSet(quietOption))
        QLoggingCategory::setFilterRules(QStringLiteral("zorbela.dealer.info=true"));
    InstallLineLog(stdout);
    auto print = [](const QString& line) { qInfo().noquote() << line; };
    SetNotifier([&print](const std::string& text, int) { print(QString::fromStdString(text)); });

    TDealerOptions options; // the transport's limits and the default table, as at a dealer of one table
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
    RaiseFileLimit();
    // Before any thread is started: the file writers run at the same priority as the
    // tables' threads (which start the computers' thinking at normal priority).
    const bool realTime = !parser.isSet(normalOption);
    const QString realTimeRefusal = realTime ? AskRealTimeScheduling(true) : QString();
    TTableServerOptions server;
    server.Port = options.Port;
    server.Threads = threads;
    server.RealTime = realTime && realTimeRefusal.isEmpty();
    server.House.Table = options;
    server.House.JoinTimeoutMs = options.JoinTimeoutMs;
    server.House.MaxUnjoinedPerAddress = options.MaxUnjoinedPerAddress;
    server.House.EmptyCloseMs = qint64(emptyS) * 1000;
    server.Budgets.MaxTables = maxTables;
    server.Budgets.MaxTablesPerAddress = perAddress;
    server.MaxDataFrames = options.MaxDataFrames;
    server.DataFrameWindowMs = options.DataFrameWindowMs;
    server.MaxDataBytes = options.MaxDataBytes;
    server.AckTimeoutMs = options.AckTimeoutMs;
    server.LastHandFolder = options.LastHandFolder;
    // Every table's state is kept in "tables" beside "LastHand.rvo"; the tables kept by the
    // last run are restored.
    TStateFiles files(QDir(options.LastHandFolder).filePath(QStringLiteral("tables")));
    server.Files = &files;
    server.House.Table.Store = &files;
    server.Kept = files.ReadAll();
    if (!server.Kept.empty())
        print(QStringLiteral("restoring %1 kept tables").arg(server.Kept.size()));
    TTableServer dealer(server);
    if (!dealer.Listening()) {
        std::fprintf(stderr, "zorbela-dealer: cannot listen on port %u\n", port);
        return 1;
    }
    const QString whyNot = realTimeRefusal.isEmpty() ? dealer.RealTimeRefusal() : realTimeRefusal;
    print(QStringLiteral("dealer listening on port %1%2; LastHand.rvo in %3")
              .arg(dealer.Port())
              .arg(options.Quick ? QStringLiteral(" (quick)") : QString(), options.LastHandFolder)
          + QStringLiteral("; %1 threads, at most %2 tables").arg(dealer.Threads()).arg(maxTables)
          + (!realTime ? QStringLiteral(", normal priority")
             : whyNot.isEmpty() ? QStringLiteral(", real-time priority")
                                : QStringLiteral(", normal priority (real-time: %1)").arg(whyNot))
          + QStringLiteral("; computer level %1").arg(QString::fromLatin1(options.ComputerName))
          + QStringLiteral("; %1; saved games in %2")
                .arg(options.OpenHands ? QStringLiteral("open hands") : QStringLiteral("private hands"), options.GamesFolder)
          + (turnClock.On() ? QStringLiteral("; turn clock %1 s a card, %2 s a contract").arg(turnClock.CardS).arg(turnClock.ContractS)
                            : QStringLiteral("; no turn clock")));
    StopOnSignals(app, dealer);
    const int code = app.exec();
    files.Keeper().Flush();
    print(QStringLiteral("stopped"));
    return code;
}
