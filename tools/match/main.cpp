// zorbela-match [--games N] [--seed S] [--a LEVEL] [--b LEVEL] [--ms M] [--threads T]
//               [--trace FILE] [--out FILE]
// Duplicate deals between two computer levels. Each game is played four times on the same
// twenty deals, with one player of level A rotating through the four seats and level B in
// the other three; a game's result is A's total less the mean of the B totals, averaged
// over the four rotations. Prints progress, the mean per game with its standard deviation
// and 95% confidence interval, and games per second.
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "levelgame.h"
#include "notify.h"
#include "toolargs.h"

namespace {

struct TOptions : TRunOptions {
    TComputerLevel a = TComputerLevel::Usta;
    TComputerLevel b = TComputerLevel::Acemi;
    int threads = 1;
    TOptions() { games = 100; }
};

// Prints how to call the tool; the exit code of bad options.
int Usage()
{
    std::fprintf(stderr, "usage: zorbela-match [--games N] [--seed S] [--a acemi|usta] [--b acemi|usta]\n"
                         "                     [--ms M] [--threads T] [--trace FILE] [--out FILE]\n");
    return 2;
}

bool ParseOptions(int argc, char** argv, TOptions& o)
{
    return ParseOptionPairs(argc, argv, [&o](const char* arg, const char* value) {
        const TOptionResult shared = TakeRunOption(arg, value, o);
        if (shared != TOptionResult::NotShared)
            return shared == TOptionResult::Taken;
        unsigned long long n = 0;
        if (std::strcmp(arg, "--a") == 0)
            return ParseComputerLevel(value, o.a);
        if (std::strcmp(arg, "--b") == 0)
            return ParseComputerLevel(value, o.b);
        if (std::strcmp(arg, "--threads") != 0 || !ParseNumber(value, 256ULL, n) || n == 0)
            return false;
        o.threads = static_cast<int>(n);
        return true;
    });
}

const char* LevelName(TComputerLevel level) { return level == TComputerLevel::Usta ? "Usta" : "Acemi"; }

// One game: four rotations on the same deals.
struct TGameResult {
    uint32_t seed = 0;
    int totals[4][4] = {}; // per rotation (the seat of A), per seat
    bool ended = true;
    double result = 0;     // A less the mean of B, averaged over the rotations
    std::string trace;     // the records of the four plays, in order
    bool done = false;
};

void PlayMatchGame(const TOptions& o, long number, TGameResult& r)
{
    r.seed = o.seed + static_cast<uint32_t>(number - 1);
    double sum = 0;
    for (int seatA = 0; seatA < kSeatCount; ++seatA) {
        TRandom deal(r.seed), choice(r.seed ^ 0x5bd1e995u);
        // Each rotation's Usta seats draw their own numbers, so that two Usta levels do not
        // play the very same game four times.
        TRandom usta[4] = {TRandom(r.seed * 16 + seatA * 4 + 1), TRandom(r.seed * 16 + seatA * 4 + 2),
                           TRandom(r.seed * 16 + seatA * 4 + 3), TRandom(r.seed * 16 + seatA * 4 + 4)};
        TLevelGame game;
        game.Usta.Ms = o.ms;
        game.Deal = &deal;
        game.Choice = &choice;
        TGameInfo g{};
        InitGameInfo(g);
        int numbers[2] = {0, 0};
        for (int seat = 0; seat < kSeatCount; ++seat) {
            const bool isA = seat == seatA;
            game.Levels[seat] = isA ? o.a : o.b;
            game.UstaRandom[seat] = &usta[seat];
            std::snprintf(g.PlayerName[seat], kNameSize, "%s%s%d", isA ? "A-" : "",
                          LevelName(game.Levels[seat]), ++numbers[isA ? 0 : 1]);
        }
        if (o.trace)
            game.OnChange = [&r](const TGameInfo& rec) {
                r.trace.append(reinterpret_cast<const char*>(&rec), sizeof rec);
            };
        r.ended = PlayLevelGame(g, game) && r.ended;
        int others = 0;
        for (int seat = 0; seat < kSeatCount; ++seat) {
            r.totals[seatA][seat] = g.Score.Totals[seat].Total;
            if (seat != seatA)
                others += g.Score.Totals[seat].Total;
        }
        sum += g.Score.Totals[seatA].Total - others / 3.0;
    }
    r.result = sum / 4;
}

struct TSummary {
    long n = 0;
    double mean = 0, sd = 0, half = 0; // half width of the 95% interval
};

TSummary Summarise(const std::vector<double>& results)
{
    TSummary s;
    s.n = static_cast<long>(results.size());
    for (double x : results)
        s.mean += x;
    s.mean /= static_cast<double>(s.n);
    for (double x : results)
        s.sd += (x - s.mean) * (x - s.mean);
    s.sd = s.n > 1 ? std::sqrt(s.sd / static_cast<double>(s.n - 1)) : 0;
    s.half = 1.96 * s.sd / std::sqrt(static_cast<double>(s.n));
    return s;
}

} // namespace

int main(int argc, char** argv)
{
    TOptions o;
    if (!ParseOptions(argc, argv, o))
        return Usage();
    std::atomic<long> notices{0};
    SetNotifier([&notices](const std::string& text, int) {
        ++notices;
        std::fprintf(stderr, "notice: %s\n", text.c_str());
    });
    std::FILE* trace = o.trace ? std::fopen(o.trace, "wb") : nullptr;
    std::FILE* out = o.out ? std::fopen(o.out, "w") : nullptr;
    if ((o.trace && !trace) || (o.out && !out)) {
        std::fprintf(stderr, "cannot open %s\n", o.trace && !trace ? o.trace : o.out);
        return 1;
    }
    if (out)
        std::fprintf(out, "game,seed,seat_a,total0,total1,total2,total3\n");
    std::printf("%s against three %s, %ld games of four rotations, %d ms per decision, seed %u\n",
                LevelName(o.a), LevelName(o.b), o.games, o.ms, o.seed);

    std::vector<TGameResult> games(static_cast<std::size_t>(o.games));
    std::vector<double> finished;
    std::mutex lock;
    std::atomic<long> next{0};
    long written = 0, stalled = 0;
    bool filesOk = true;
    const auto start = std::chrono::steady_clock::now();
    auto seconds = [&start] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    // Writes the games that are done, in game order, and prints the progress line.
    auto report = [&](long index) {
        std::lock_guard<std::mutex> guard(lock);
        TGameResult& r = games[static_cast<std::size_t>(index)];
        r.done = true;
        finished.push_back(r.result);
        stalled += r.ended ? 0 : 1;
        const TSummary s = Summarise(finished);
        std::printf("game %ld: %+.1f   after %ld: mean %+.1f, 95%% CI [%+.1f, %+.1f], %.3f games/s\n",
                    index + 1, r.result, s.n, s.mean, s.mean - s.half, s.mean + s.half,
                    static_cast<double>(s.n) / seconds());
        std::fflush(stdout);
        for (; written < o.games && games[static_cast<std::size_t>(written)].done; ++written) {
            TGameResult& w = games[static_cast<std::size_t>(written)];
            for (int seatA = 0; out && seatA < kSeatCount; ++seatA)
                filesOk = std::fprintf(out, "%ld,%u,%d,%d,%d,%d,%d\n", written + 1, w.seed, seatA,
                                       w.totals[seatA][0], w.totals[seatA][1], w.totals[seatA][2],
                                       w.totals[seatA][3]) > 0 && filesOk;
            if (trace)
                filesOk = std::fwrite(w.trace.data(), 1, w.trace.size(), trace) == w.trace.size() &&
                          filesOk;
            std::string().swap(w.trace);
        }
    };
    auto worker = [&] {
        for (long i = next++; i < o.games; i = next++) {
            PlayMatchGame(o, i + 1, games[static_cast<std::size_t>(i)]);
            report(i);
        }
    };
    std::vector<std::thread> threads;
    for (int t = 1; t < o.threads; ++t)
        threads.emplace_back(worker);
    worker();
    for (std::thread& t : threads)
        t.join();

    const TSummary s = Summarise(finished);
    const double elapsed = seconds();
    std::printf("games: %ld\n", s.n);
    std::printf("mean per game: %+.1f\n", s.mean);
    std::printf("standard deviation: %.1f\n", s.sd);
    std::printf("95%% confidence interval: [%+.1f, %+.1f]\n", s.mean - s.half, s.mean + s.half);
    std::printf("games per second: %.4f\n", elapsed > 0 ? static_cast<double>(s.n) / elapsed : 0.0);
    if (trace && std::fclose(trace) != 0)
        filesOk = false;
    if (out && std::fclose(out) != 0)
        filesOk = false;
    if (!filesOk)
        std::fprintf(stderr, "writing the trace or the results failed\n");
    if (stalled)
        std::fprintf(stderr, "%ld game(s) stalled or refused a move\n", stalled);
    return (stalled || notices || !filesOk) ? 1 : 0;
}
