// zorbela-sim [--games N] [--seed S] [--trace FILE] [--out FILE]
// Plays N whole games with the computer in all four seats, in memory, through the same
// rule functions and trick resolution the dealer uses. The deals and the contract choices
// draw from one source seeded with S, so a run is reproducible.
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "computergame.h"
#include "notify.h"

namespace {

struct TOptions {
    long games = 1;
    uint32_t seed = 1;
    const char* trace = nullptr;
    const char* out = nullptr;
};

void Usage()
{
    std::fprintf(stderr, "usage: zorbela-sim [--games N] [--seed S] [--trace FILE] [--out FILE]\n");
}

bool ParseNumber(const char* text, unsigned long long max, unsigned long long& result)
{
    char* end = nullptr;
    errno = 0;
    result = std::strtoull(text, &end, 10);
    return errno == 0 && end != text && *end == '\0' && text[0] != '-' && result <= max;
}

bool ParseOptions(int argc, char** argv, TOptions& o)
{
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (i + 1 >= argc)
            return false;
        const char* value = argv[++i];
        unsigned long long n = 0;
        if (std::strcmp(arg, "--games") == 0 && ParseNumber(value, 1000000000ULL, n) && n > 0)
            o.games = static_cast<long>(n);
        else if (std::strcmp(arg, "--seed") == 0 && ParseNumber(value, 0xFFFFFFFFULL, n))
            o.seed = static_cast<uint32_t>(n);
        else if (std::strcmp(arg, "--trace") == 0)
            o.trace = value;
        else if (std::strcmp(arg, "--out") == 0)
            o.out = value;
        else
            return false;
    }
    return true;
}

bool WriteRecord(std::FILE* f, const TGameInfo& g)
{
    return std::fwrite(&g, 1, sizeof g, f) == sizeof g;
}

} // namespace

int main(int argc, char** argv)
{
    TOptions o;
    if (!ParseOptions(argc, argv, o)) {
        Usage();
        return 2;
    }

    long notices = 0;
    SetNotifier([&notices](const std::string& text, int) {
        ++notices;
        std::fprintf(stderr, "notice: %s\n", text.c_str());
    });

    std::FILE* trace = nullptr;
    if (o.trace && !(trace = std::fopen(o.trace, "ab"))) {
        std::fprintf(stderr, "cannot open %s\n", o.trace);
        return 1;
    }
    bool traceOk = true;
    TGameChange onChange;
    if (trace)
        onChange = [&](const TGameInfo& g) { traceOk = WriteRecord(trace, g) && traceOk; };

    TRandom rnd(o.seed);
    TGameInfo g{};
    long stalled = 0;
    const auto start = std::chrono::steady_clock::now();
    for (long game = 1; game <= o.games; ++game) {
        g = TGameInfo{};
        InitGameInfo(g);
        for (int seat = 0; seat < 4; ++seat)
            std::snprintf(g.PlayerName[seat], kNameSize, "Acemi%d", seat);
        if (!PlayComputerGame(g, rnd, onChange))
            ++stalled;
        const TSeatTotals* t = g.Score.Totals;
        std::printf("game %ld: %d %d %d %d\n", game, t[0].Total, t[1].Total, t[2].Total,
                    t[3].Total);
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    if (trace && std::fclose(trace) != 0)
        traceOk = false;
    if (!traceOk)
        std::fprintf(stderr, "writing %s failed\n", o.trace);
    bool outOk = true;
    if (o.out) {
        std::FILE* f = std::fopen(o.out, "wb");
        outOk = f && WriteRecord(f, g);
        outOk = f && std::fclose(f) == 0 && outOk;
        if (!outOk)
            std::fprintf(stderr, "writing %s failed\n", o.out);
    }

    std::printf("games: %ld\n", o.games);
    std::printf("games per second: %.0f\n", seconds > 0 ? o.games / seconds : 0.0);
    if (stalled)
        std::fprintf(stderr, "%ld game(s) stalled before their end\n", stalled);
    return (stalled || notices || !traceOk || !outOk) ? 1 : 0;
}
