// zorbela-load: many tables at once against a server, over loopback.
//
//   zorbela-load --tables N --pace-ms M --seconds S [--port P] [--loops L] [--processes K]
//                [--dealer PATH] [--per-table-dealers 1] [--players-realtime 0]
//
// Without --port it starts the server itself: one zorbela-dealer process (with --quick and
// --quiet, on a free port) that hosts every table, each created by its first player and
// joined by its code; with --per-table-dealers 1 a zorbela-dealer process per table
// instead, each joined plainly (the old way of serving many tables, for comparison). The
// dealers are stopped at the end, and killed if this program dies. With --port it drives
// the server of many tables listening there and reads the figures of the processes
// holding that port. Four players per table, plain frame-level clients spread over L epoll
// loops (threads, default 1), each table's players on one loop and each table on its own
// loopback address (127.1.x.y), make one move per table every M ms. With --processes K the
// tables are shared among K child processes of this program, each with L loops, so that
// no process holds more connections than it may open files; their figures come back to
// this one over pipes. After every table has
// started its game (or a time-out), the figures are taken over S seconds: moves per second,
// the time from a CARD_PLAY to the record holding it at all four players (50th and 99th
// percentile, slowest), the servers' resident memory at the end and their processor time
// over the window (100 is one core). The players stand in for programs on other machines:
// where permitted (see loopscheduling.h) they run at real-time priority, as the server's
// threads do, so that on a busy machine the figures are the server's and not the time the
// players' own threads wait for a core; --players-realtime 0 keeps them at normal priority.
// A table shows each finished trick for half a second, so a table makes fewer than 1000/M
// moves a second. The last line of output holds them as key=value
// fields. Exit code 0 when every table played through the window, 1 otherwise, 2 for bad
// options.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <sys/resource.h>

#include "gameinfo.h"
#include "loadloop.h"
#include "loopscheduling.h"
#include "players.h"
#include "servers.h"

#ifndef ZORBELA_DEALER_PATH
#define ZORBELA_DEALER_PATH "zorbela-dealer"
#endif

namespace {

using namespace std::chrono_literals;

struct TOptions {
    int Tables = 1;
    int PaceMs = 2000;
    int Seconds = 10;
    int Port = 0;   // 0: start the dealers
    int Loops = 1;
    int Processes = 1;
    bool PerTable = false;
    bool RealTimePlayers = true;
    std::string Dealer = ZORBELA_DEALER_PATH;
};

bool ParseOptions(int argc, char** argv, TOptions& o)
{
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--help" || name == "-h")
            return false;
        if (i + 1 >= argc)
            return false;
        const char* value = argv[++i];
        char* end = nullptr;
        const long number = std::strtol(value, &end, 10);
        const bool isNumber = end != value && *end == '\0';
        if (name == "--dealer")
            o.Dealer = value;
        else if (!isNumber)
            return false;
        else if (name == "--tables" && number >= 1 && number <= 60000)
            o.Tables = int(number);
        else if (name == "--pace-ms" && number >= 0)
            o.PaceMs = int(number);
        else if (name == "--seconds" && number >= 1)
            o.Seconds = int(number);
        else if (name == "--port" && number >= 1 && number <= 65535)
            o.Port = int(number);
        else if (name == "--loops" && number >= 1 && number <= 64)
            o.Loops = int(number);
        else if (name == "--processes" && number >= 1 && number <= 64)
            o.Processes = int(number);
        else if (name == "--per-table-dealers" && (number == 0 || number == 1))
            o.PerTable = number == 1;
        else if (name == "--players-realtime" && (number == 0 || number == 1))
            o.RealTimePlayers = number == 1;
        else
            return false;
    }
    return true;
}

// As many open files as the system lets this process have.
rlim_t RaiseFileLimit()
{
    rlimit limit{};
    ::getrlimit(RLIMIT_NOFILE, &limit);
    limit.rlim_cur = limit.rlim_max;
    ::setrlimit(RLIMIT_NOFILE, &limit);
    return limit.rlim_cur;
}

double Percentile(const std::vector<double>& sorted, double p)
{
    if (sorted.empty())
        return 0;
    const auto rank = std::size_t(std::ceil(p * double(sorted.size())));
    return sorted[std::min(sorted.size(), std::max<std::size_t>(rank, 1)) - 1];
}

} // namespace

int main(int argc, char** argv)
{
    TOptions o;
    if (!ParseOptions(argc, argv, o)) {
        std::fprintf(stderr, "usage: zorbela-load --tables N --pace-ms M --seconds S [--port P] [--loops L] "
                             "[--processes K] [--dealer PATH] [--per-table-dealers 1] [--players-realtime 0]\n");
        return 2;
    }
    const rlim_t files = RaiseFileLimit();
    const int perProcess = (o.Tables + o.Processes - 1) / o.Processes;
    if (rlim_t(perProcess) * kSeatCount + 64 > files) {
        std::fprintf(stderr, "zorbela-load: %d players need more than the %lu open files a process may have "
                             "(--processes spreads them)\n",
                     perProcess * kSeatCount, static_cast<unsigned long>(files));
        return 2;
    }

    // The servers.
    char folderTemplate[] = "/tmp/zorbela-load-XXXXXX";
    const char* folder = ::mkdtemp(folderTemplate);
    if (folder == nullptr) {
        std::perror("zorbela-load: mkdtemp");
        return 1;
    }
    std::vector<TServerProcess> started;
    std::vector<pid_t> pids;
    std::vector<TLoadTarget> targets(size_t(o.Tables));
    if (o.Port != 0) {
        pids = PidsListeningOn(uint16_t(o.Port));
        for (TLoadTarget& t : targets)
            t.Port = uint16_t(o.Port);
        std::printf("server on port %d: %zu process(es)\n", o.Port, pids.size());
    } else if (!o.PerTable) {
        started = StartDealers(o.Dealer, 1, folder, {"--quiet", "--max-tables", std::to_string(o.Tables + 1)}, 30000);
        if (started.empty()) {
            std::fprintf(stderr, "zorbela-load: the server did not start (%s)\n", o.Dealer.c_str());
            return 1;
        }
        pids.push_back(started[0].Pid);
        for (TLoadTarget& t : targets)
            t.Port = started[0].Port;
        std::printf("one server of many tables on port %u (%s)\n", started[0].Port, o.Dealer.c_str());
    } else {
        const auto begin = std::chrono::steady_clock::now();
        started = StartDealers(o.Dealer, o.Tables, folder, {}, 30000 + 100 * o.Tables);
        for (size_t i = 0; i < targets.size() && i < started.size(); ++i) {
            targets[i].Port = started[i].Port;
            pids.push_back(started[i].Pid);
        }
        std::printf("%zu dealer processes started in %.1f s (%s)\n", started.size(),
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count(), o.Dealer.c_str());
        targets.resize(started.size());
    }
    for (size_t i = 0; i < targets.size(); ++i) {
        targets[i].SourceAddr = (127u << 24) | (1u << 16) | uint32_t(i & 0xFFFF);
        targets[i].CreateTable = !o.PerTable;
    }
    std::fflush(stdout);

    // The players' scheduling, after the servers have started with their own; the loops and
    // the child processes inherit it.
    const QString refusal = o.RealTimePlayers ? AskRealTimeScheduling(true) : QStringLiteral("not asked for");
    std::printf("players at %s priority%s%s\n", refusal.isEmpty() ? "real-time" : "normal",
                refusal.isEmpty() ? "" : ": real-time ", qPrintable(refusal));

    // The players: each table's on one loop, the tables dealt out to the processes in turn.
    std::vector<std::vector<TLoadTarget>> tablesOf(std::size_t(std::min<int>(o.Processes, int(targets.size()))));
    for (std::size_t i = 0; i < targets.size(); ++i)
        tablesOf[i % tablesOf.size()].push_back(targets[i]);
    std::vector<std::unique_ptr<TPlayerShare>> shares;
    for (std::vector<TLoadTarget>& share : tablesOf)
        shares.push_back(o.Processes > 1 ? PlayersInAChild(o.PaceMs, std::move(share), o.Loops)
                                         : PlayersHere(o.PaceMs, std::move(share), o.Loops));
    int playing = 0;
    for (auto& share : shares) {
        share->WaitPlaying();
        playing += share->Started();
    }
    const int tables = int(targets.size());
    std::printf("%d of %d tables playing%s\n", playing, tables,
                o.Processes > 1 ? (" (" + std::to_string(shares.size()) + " processes)").c_str() : "");

    // The window opens once every table has had time for a move or two.
    const auto warmUp = std::chrono::milliseconds(std::max(o.PaceMs, 1000));
    std::this_thread::sleep_for(warmUp);
    const TProcFigures before = ReadProcFigures(pids);
    const int64_t start = TLoadControl::Now();
    for (auto& share : shares)
        share->OpenWindow(start, start + int64_t(o.Seconds) * 1000000000);
    std::this_thread::sleep_for(std::chrono::seconds(o.Seconds));
    const TProcFigures after = ReadProcFigures(pids);
    const double windowS = double(TLoadControl::Now() - start) / 1e9;
    std::this_thread::sleep_for(1s); // the last cards of the window reach their tables
    TLoadFigures all;
    int seated = 0, failed = 0;
    for (auto& share : shares) {
        int shareStarted = 0, shareFailed = 0;
        TLoadFigures r = share->Stop(shareStarted, shareFailed);
        all.LatencyMs.insert(all.LatencyMs.end(), r.LatencyMs.begin(), r.LatencyMs.end());
        all.Moves += r.Moves;
        all.Unseen += r.Unseen;
        all.Connections += r.Connections;
        seated += shareStarted;
        failed += shareFailed;
    }
    shares.clear();
    StopDealers(started);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);

    std::sort(all.LatencyMs.begin(), all.LatencyMs.end());
    std::printf("cards measured %zu, unseen %ld, tables failed %d\n", all.LatencyMs.size(), all.Unseen, failed);
    std::printf("tables=%d connections=%ld moves_per_s=%.1f p50_ms=%.2f p99_ms=%.2f max_ms=%.2f server_rss_mb=%.1f "
                "server_cpu_pct=%.1f\n",
                tables, all.Connections, double(all.Moves) / windowS, Percentile(all.LatencyMs, 0.50),
                Percentile(all.LatencyMs, 0.99), all.LatencyMs.empty() ? 0.0 : all.LatencyMs.back(), after.RssMb,
                100.0 * (after.CpuSeconds - before.CpuSeconds) / windowS);
    const bool whole = failed == 0 && seated == o.Tables && all.Unseen == 0
        && !all.LatencyMs.empty();
    return whole ? 0 : 1;
}
