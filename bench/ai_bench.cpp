// Speed of the computer player: whole games with four computer seats, from the deal to the
// end of the 20th hand, and single card and contract choices.
#include <benchmark/benchmark.h>

#include "computergame.h"

namespace {

void BM_CompleteGame(benchmark::State& state)
{
    TRandom rnd(12345);
    TGameInfo g{};
    InitGameInfo(g);
    int64_t games = 0;
    for (auto _ : state) {
        const bool ended = PlayComputerGame(g, rnd);
        benchmark::DoNotOptimize(ended);
        benchmark::DoNotOptimize(g);
        ++games;
    }
    state.SetItemsProcessed(games);
    state.counters["games/s"] = benchmark::Counter(static_cast<double>(games),
                                                   benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CompleteGame);

// A record in which a seat follows in the middle of a trick of a penalty contract.
TGameInfo MidTrickRecord()
{
    TRandom rnd(7);
    TGameInfo g{};
    InitGameInfo(g);
    NewGame(g, rnd);
    TComputerPlayer p;
    for (int step = 0; step < 400; ++step) {
        if (g.Phase == psPlaying && g.TrickCount == 2 && g.TricksPlayed >= 3)
            break;
        ComputerGameStep(p, g, rnd);
    }
    return g;
}

void BM_SelectCard(benchmark::State& state)
{
    TGameInfo g = MidTrickRecord();
    TComputerPlayer p;
    p.Game = &g;
    for (auto _ : state) {
        uint8_t suit = kNone;
        uint8_t value = kNone;
        SelectCard(p, g.Turn, suit, value);
        benchmark::DoNotOptimize(suit);
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_SelectCard);

void BM_SelectContract(benchmark::State& state)
{
    TRandom rnd(3);
    TGameInfo g{};
    InitGameInfo(g);
    NewGame(g, rnd);
    TComputerPlayer p;
    p.Game = &g;
    for (auto _ : state) {
        uint8_t c = SelectContract(p, g.Chooser, rnd);
        benchmark::DoNotOptimize(c);
    }
}
BENCHMARK(BM_SelectContract);

} // namespace

BENCHMARK_MAIN();
