// Reading the "--name value" options of the command-line tools.
#pragma once

#include <cerrno>
#include <cstdlib>
#include <string>

// A decimal number from 0 to max, the whole text and nothing else.
inline bool ParseNumber(const char* text, unsigned long long max, unsigned long long& result)
{
    char* end = nullptr;
    errno = 0;
    result = std::strtoull(text, &end, 10);
    return errno == 0 && end != text && *end == '\0' && text[0] != '-' && result <= max;
}

// Hands every "--name value" pair to take(name, value); false as soon as one is refused
// or a name has no value.
template <typename Take>
bool ParseOptionPairs(int argc, char** argv, Take take)
{
    for (int i = 1; i < argc; i += 2)
        if (i + 1 >= argc || !take(argv[i], argv[i + 1]))
            return false;
    return true;
}

// The options the simulator and the match tool share.
struct TRunOptions {
    long games = 1;
    unsigned seed = 1;
    int ms = 100;               // thinking time per decision
    const char* trace = nullptr;
    const char* out = nullptr;
};

enum class TOptionResult { Taken, Bad, NotShared };

// Takes one of the shared options into o.
inline TOptionResult TakeRunOption(const char* name, const char* value, TRunOptions& o)
{
    const std::string arg = name;
    unsigned long long n = 0;
    if (arg == "--trace")
        o.trace = value;
    else if (arg == "--out")
        o.out = value;
    else if (arg != "--games" && arg != "--seed" && arg != "--ms")
        return TOptionResult::NotShared;
    else if (!ParseNumber(value, arg == "--seed" ? 0xFFFFFFFFULL : 1000000000ULL, n) ||
             (n == 0 && arg != "--seed") || (arg == "--ms" && n > 100000))
        return TOptionResult::Bad;
    else if (arg == "--games")
        o.games = static_cast<long>(n);
    else if (arg == "--seed")
        o.seed = static_cast<unsigned>(n);
    else
        o.ms = static_cast<int>(n);
    return TOptionResult::Taken;
}
