// Speed of the computer player: whole games with four computer seats, from the deal to the
// end of the 20th hand, single card and contract choices, and the deals of a game alone.
#include <benchmark/benchmark.h>

#include <vector>

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

// Every position of a few seeded games in which a seat is to play a card.
std::vector<TGameInfo> PlayPositions()
{
    std::vector<TGameInfo> positions;
    TRandom rnd(7);
    for (int game = 0; game < 20; ++game) {
        TGameInfo g{};
        PlayComputerGame(g, rnd, [&](const TGameInfo& r) {
            if (r.Phase == psPlaying)
                positions.push_back(r);
        });
    }
    return positions;
}

// One SelectCard per iteration, going round the positions of real games.
void BM_SelectCard(benchmark::State& state)
{
    std::vector<TGameInfo> positions = PlayPositions();
    TComputerPlayer p;
    std::size_t next = 0;
    for (auto _ : state) {
        TGameInfo& g = positions[next];
        next = next + 1 == positions.size() ? 0 : next + 1;
        p.Game = &g;
        uint8_t suit = kNone;
        uint8_t value = kNone;
        SelectCard(p, g.Turn, suit, value);
        benchmark::DoNotOptimize(suit);
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_SelectCard);

// The deals of a game alone (NewGame and 19 further hands), which the rules fix.
void BM_TwentyDeals(benchmark::State& state)
{
    TRandom rnd(5);
    TGameInfo g{};
    for (auto _ : state) {
        for (int hand = 0; hand < 20; ++hand)
            DealCards(g, rnd);
        benchmark::DoNotOptimize(g);
    }
}
BENCHMARK(BM_TwentyDeals);

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
