#include "cards.h"

#include <chrono>

TRandom::TRandom(uint32_t seed, bool reseedFromClock)
    : gen_(seed), reseedFromClock_(reseedFromClock)
{
}

void TRandom::Seed(uint32_t seed)
{
    gen_.seed(seed);
}

void TRandom::SeedFromClock()
{
    using namespace std::chrono;
    const auto seconds = duration_cast<std::chrono::seconds>(
        system_clock::now().time_since_epoch()).count();
    auto seed = static_cast<uint32_t>(seconds);
    // Whole seconds alone would deal the same cards twice within one second; a seed
    // used before by this source is never taken again.
    if (clockSeeded_ && seed <= lastClockSeed_)
        seed = lastClockSeed_ + 1;
    lastClockSeed_ = seed;
    clockSeeded_ = true;
    gen_.seed(seed);
}

int TRandom::Next(int range)
{
    if (range <= 0)
        return 0;
    return static_cast<int>(gen_() % static_cast<uint32_t>(range));
}

TRandom& GameRandom()
{
    static TRandom source(static_cast<uint32_t>(
        std::chrono::system_clock::now().time_since_epoch().count()), true);
    return source;
}
