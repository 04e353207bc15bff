#include "cards.h"

#include <atomic>
#include <chrono>

namespace {

// The last clock seed taken by any source of this process.
std::atomic<uint64_t> lastProcessSeed{0};

// Whole seconds of the clock, or one more than the last seed taken when the clock has
// not moved on: two deals of one process never start from the same seed.
uint32_t NextClockSeed()
{
    using namespace std::chrono;
    const auto seconds = static_cast<uint64_t>(
        duration_cast<std::chrono::seconds>(system_clock::now().time_since_epoch()).count());
    uint64_t last = lastProcessSeed.load();
    uint64_t seed = 0;
    do {
        seed = seconds > last ? seconds : last + 1;
    } while (!lastProcessSeed.compare_exchange_weak(last, seed));
    return static_cast<uint32_t>(seed);
}

} // namespace

TRandom::TRandom(uint32_t seed, bool reseedFromClock)
    : reseedFromClock_(reseedFromClock)
{
    Seed(seed);
}

void TRandom::Seed(uint32_t seed)
{
    state_ = 0;
    Raw();
    state_ += seed;
    Raw();
}

void TRandom::SeedFromClock()
{
    // Whole seconds alone would deal the same cards twice within one second.
    const uint32_t seed = NextClockSeed();
    Seed(seed);
}

TRandom& GameRandom()
{
    static TRandom source(static_cast<uint32_t>(
        std::chrono::system_clock::now().time_since_epoch().count()), true);
    return source;
}
