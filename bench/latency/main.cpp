// zorbela_latency: how long a card takes to reach the whole table. A dealer (quick pacing, no
// computer seats) and four players that play at once, each on a thread of its own, over
// loopback TCP; then the same through a relay that delays each direction. For every card:
// the time from its CARD_PLAY being sent to the GAME_RECORD holding it having arrived at all
// four players. Prints p50, p99 and max per link.
//
//   zorbela_latency [--moves N] [--delay MS] [--lasthand-folder DIR]
//
// Defaults: 400 moves, 40 ms, the system's temporary folder. --delay 0: loopback only. The
// dealer rewrites "LastHand.rvo" after every card, in a fresh folder under DIR, on its own
// thread: a folder on a disk that syncs slowly shows in the figures.
#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include "benchplayer.h"
#include "dealerthread.h"
#include "delayproxy.h"
#include "movelog.h"

namespace {

// A thread with an event loop whose objects are made and destroyed on it.
class TLoopThread : public QThread {
public:
    TLoopThread(std::function<void()> setup, std::function<void()> teardown)
        : setup_(std::move(setup)), teardown_(std::move(teardown)) {}

    // Starts the thread and returns once setup has run.
    void StartAndWait()
    {
        start();
        std::unique_lock guard(lock_);
        ready_.wait(guard, [this] { return isReady_; });
    }

private:
    void run() override
    {
        setup_();
        {
            std::lock_guard guard(lock_);
            isReady_ = true;
        }
        ready_.notify_all();
        exec();
        teardown_();
    }

    std::function<void()> setup_, teardown_;
    std::mutex lock_;
    std::condition_variable ready_;
    bool isReady_ = false;
};

struct TResult {
    std::vector<double> samples; // sorted
    bool complete = false;
};

double Percentile(const std::vector<double>& sorted, double p)
{
    if (sorted.empty())
        return 0;
    const auto rank = std::size_t(std::ceil(p * double(sorted.size())));
    return sorted[std::min(sorted.size(), std::max<std::size_t>(rank, 1)) - 1];
}

// One run: dealer, optional relay, four players; returns when moves cards are measured or
// after timeoutMs.
TResult Run(int moves, int delayMs, int timeoutMs, const QString& parent)
{
    QTemporaryDir folder(QDir(parent).filePath(QStringLiteral("zorbela-latency-XXXXXX")));
    TMoveLog log(kSeatCount, moves);
    TDealerThread* dealer = nullptr;
    quint16 dealerPort = 0;
    TLoopThread dealerThread(
        [&] {
            TDealerOptions options;
            options.Port = 0;
            options.Quick = true;
            options.LastHandFolder = folder.path();
            dealer = new TDealerThread(options);
            dealerPort = dealer->Port();
        },
        [&] { delete dealer; });
    dealerThread.StartAndWait();

    quint16 port = dealerPort;
    TDelayProxy* proxy = nullptr;
    TLoopThread proxyThread([&] { proxy = new TDelayProxy(dealerPort, delayMs); }, [&] { delete proxy; });
    if (delayMs > 0) {
        proxyThread.StartAndWait();
        port = proxy->Port();
    }

    std::vector<std::unique_ptr<TBenchPlayer>> players(kSeatCount);
    std::vector<std::unique_ptr<TLoopThread>> playerThreads;
    for (int i = 0; i < kSeatCount; ++i) {
        playerThreads.push_back(std::make_unique<TLoopThread>(
            [&, i] {
                players[std::size_t(i)] = std::make_unique<TBenchPlayer>(
                    log, QStringLiteral("localhost"), port, QStringLiteral("Bench%1").arg(i));
            },
            [&, i] { players[std::size_t(i)].reset(); }));
        playerThreads.back()->StartAndWait();
    }

    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, qApp, [] { QCoreApplication::quit(); });
    log.OnDone = [] { QMetaObject::invokeMethod(qApp, [] { QCoreApplication::quit(); }, Qt::QueuedConnection); };
    timeout.start(timeoutMs);
    QCoreApplication::exec();

    for (auto& thread : playerThreads) {
        thread->quit();
        thread->wait();
    }
    proxyThread.quit();
    proxyThread.wait();
    dealerThread.quit();
    dealerThread.wait();

    TResult result;
    result.samples = log.Samples();
    result.complete = int(result.samples.size()) >= moves;
    std::sort(result.samples.begin(), result.samples.end());
    return result;
}

void Print(const char* link, const TResult& r)
{
    std::printf("%-22s moves %4zu  p50 %7.2f ms  p99 %7.2f ms  max %7.2f ms%s\n", link, r.samples.size(),
                Percentile(r.samples, 0.50), Percentile(r.samples, 0.99),
                r.samples.empty() ? 0.0 : r.samples.back(), r.complete ? "" : "  (incomplete: timed out)");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Time from CARD_PLAY sent to its GAME_RECORD at all four players."));
    parser.addHelpOption();
    const QCommandLineOption movesOption(QStringLiteral("moves"), QStringLiteral("Cards to measure per link (default 400)."),
                                         QStringLiteral("N"), QStringLiteral("400"));
    const QCommandLineOption delayOption(QStringLiteral("delay"),
                                         QStringLiteral("One-way delay of the second link in ms (default 40; 0: none)."),
                                         QStringLiteral("MS"), QStringLiteral("40"));
    const QCommandLineOption folderOption(QStringLiteral("lasthand-folder"),
                                          QStringLiteral("Where the dealer's LastHand.rvo goes (a fresh folder in DIR)."),
                                          QStringLiteral("DIR"), QDir::tempPath());
    parser.addOption(movesOption);
    parser.addOption(delayOption);
    parser.addOption(folderOption);
    parser.process(app);
    const int moves = std::max(parser.value(movesOption).toInt(), 1);
    const int delayMs = std::max(parser.value(delayOption).toInt(), 0);
    const QString folder = parser.value(folderOption);
    std::printf("LastHand.rvo under %s\n", qPrintable(QDir(folder).absolutePath()));

    // A trick takes about 0.6 s of quick pacing for four cards, more on a slow link.
    const int timeoutMs = 60000 + moves * (400 + 8 * delayMs);
    bool complete = true;
    TResult loopback = Run(moves, 0, timeoutMs, folder);
    Print("loopback", loopback);
    complete = complete && loopback.complete;
    if (delayMs > 0) {
        TResult delayed = Run(moves, delayMs, timeoutMs, folder);
        Print(qPrintable(QStringLiteral("link %1 ms each way").arg(delayMs)), delayed);
        complete = complete && delayed.complete;
    }
    return complete ? 0 : 1;
}
