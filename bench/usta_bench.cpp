// Speed of Usta and of the mask engine it simulates on: one decision at the default
// thinking time over the positions of real games (its counters give the 50th and 99th
// percentile and the slowest decision in milliseconds, of the wall clock and of the
// thread's processor time), one simulated hand played out, and whole random games on masks.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <vector>

#include "levelgame.h"
#include "privatehands.h"

namespace {

struct TPosition {
    TGameInfo Record;
    THandHistory History;
    int Seat;
};

// Every position of a few seeded games in which a seat chooses or plays with a choice to
// make, as the record that seat is sent, with the history seen so far.
std::vector<TPosition> DecisionPositions()
{
    std::vector<TPosition> positions;
    TRandom rnd(11);
    for (int game = 0; game < 4; ++game) {
        TGameInfo g{};
        THandHistory history;
        PlayComputerGame(g, rnd, [&](const TGameInfo& r) {
            history.Feed(r);
            const int seat = r.Phase == psChoosing ? r.Chooser : r.Phase == psPlaying ? r.Turn : -1;
            if (seat < 0)
                return;
            const TUstaView v = MakeUstaView(r, seat, history);
            if (r.Phase == psChoosing || (v.Legal & (v.Legal - 1)) != 0)
                positions.push_back({PrivateRecord(r, seat), history, seat});
        });
    }
    return positions;
}

// This thread's processor time in milliseconds: the decision's own work, whatever else
// the machine runs meanwhile.
double ThreadMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

double Percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    const auto i = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[i];
}

void BM_UstaDecision(benchmark::State& state)
{
    const std::vector<TPosition> positions = DecisionPositions();
    TUstaOptions options;
    options.Ms = static_cast<int>(state.range(0));
    std::vector<double> ms, cpu;
    std::size_t next = 0;
    for (auto _ : state) {
        // A stride through the positions of all the games, not only the first one's.
        const TPosition& p = positions[next];
        next = (next + 5) % positions.size();
        TRandom rnd(static_cast<uint32_t>(next));
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = ThreadMs();
        const TMove move = UstaMove(p.Record, p.Seat, p.History, options, rnd);
        cpu.push_back(ThreadMs() - cpuStart);
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() -
                                                               start)
                         .count());
        benchmark::DoNotOptimize(move);
    }
    state.counters["positions"] = static_cast<double>(positions.size());
    state.counters["p50_ms"] = Percentile(ms, 0.50);
    state.counters["p99_ms"] = Percentile(ms, 0.99);
    state.counters["max_ms"] = *std::max_element(ms.begin(), ms.end());
    state.counters["cpu_p50_ms"] = Percentile(cpu, 0.50);
    state.counters["cpu_p99_ms"] = Percentile(cpu, 0.99);
    state.counters["cpu_max_ms"] = *std::max_element(cpu.begin(), cpu.end());
}
BENCHMARK(BM_UstaDecision)->Arg(100)->Iterations(600)->Unit(benchmark::kMillisecond);

// One simulated hand from the deal to its end with the playout policy in every seat.
void BM_PlayOutHand(benchmark::State& state)
{
    TRandom rnd(3);
    TCardMask hands[4];
    TMaskHand h;
    uint8_t contract = 0;
    for (auto _ : state) {
        DealMasks(hands, rnd);
        StartMaskHand(h, hands, contract, 0);
        contract = static_cast<uint8_t>((contract + 1) % kContractCount);
        PlayOut(h);
        benchmark::DoNotOptimize(h);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PlayOutHand);

// Whole games with a random contract and a random legal card, on masks.
void BM_RandomMaskGame(benchmark::State& state)
{
    TRandom rnd(12345);
    TMaskGame game;
    for (auto _ : state) {
        PlayRandomMaskGame(game, rnd);
        benchmark::DoNotOptimize(game);
    }
    state.counters["games/s"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                   benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RandomMaskGame);

} // namespace

BENCHMARK_MAIN();
