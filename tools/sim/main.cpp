// zorbela-sim [--games N] [--seed S] [--level acemi|usta|random] [--ms M] [--trace FILE] [--out FILE]
// zorbela-sim --decide FILE [--level acemi|usta|random] [--seed S] [--ms M]
// Plays N whole games with the computer in all four seats, in memory, through the same
// rule functions and trick resolution the dealer uses. The deals and the contract choices
// draw from one source seeded with S, so a run is reproducible. Level random plays a random
// available contract and a random legal card on the mask engine. --decide prints the move
// the level makes for the seat to act in a saved game, and its thinking time.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "computergame.h"
#include "levelgame.h"
#include "maskengine.h"
#include "notify.h"
#include "privatehands.h"
#include "toolargs.h"

namespace {

enum class TLevel { Acemi, Usta, Random };

struct TOptions : TRunOptions {
    TLevel level = TLevel::Acemi;
    const char* decide = nullptr;
};

void Usage()
{
    std::fprintf(stderr,
                 "usage: zorbela-sim [--games N] [--seed S] [--level acemi|usta|random] [--ms M]\n"
                 "                   [--trace FILE] [--out FILE]\n"
                 "       zorbela-sim --decide FILE [--level acemi|usta|random] [--seed S] [--ms M]\n");
}

bool ParseLevel(const char* text, TLevel& level)
{
    TComputerLevel computer{};
    if (std::strcmp(text, "random") == 0)
        level = TLevel::Random;
    else if (ParseComputerLevel(text, computer))
        level = computer == TComputerLevel::Usta ? TLevel::Usta : TLevel::Acemi;
    else
        return false;
    return true;
}

bool ParseOptions(int argc, char** argv, TOptions& o)
{
    const bool read = ParseOptionPairs(argc, argv, [&o](const char* arg, const char* value) {
        const TOptionResult shared = TakeRunOption(arg, value, o);
        if (shared != TOptionResult::NotShared)
            return shared == TOptionResult::Taken;
        if (std::strcmp(arg, "--level") == 0)
            return ParseLevel(value, o.level);
        if (std::strcmp(arg, "--decide") == 0) {
            o.decide = value;
            return true;
        }
        return false;
    });
    // The random level plays on masks: it has no records to trace or save.
    return read && (o.level != TLevel::Random || (!o.trace && !o.out));
}

bool WriteRecord(std::FILE* f, const TGameInfo& g)
{
    return std::fwrite(&g, 1, sizeof g, f) == sizeof g;
}

// The move of the level for the seat to act in the saved game o.decide.
int Decide(const TOptions& o)
{
    TGameInfo g{};
    std::FILE* f = std::fopen(o.decide, "rb");
    const bool read = f && std::fread(&g, 1, sizeof g, f) == sizeof g;
    if (f)
        std::fclose(f);
    if (!read || !IsValidGameInfo(g)) {
        std::fprintf(stderr, "%s is not a saved game\n", o.decide);
        return 1;
    }
    const int seat = AwaitedSeat(g);
    if (seat == kNoSeat) {
        std::fprintf(stderr, "nobody is to act in %s\n", o.decide);
        return 1;
    }
    TRandom rnd(o.seed);
    TMove move;
    const auto start = std::chrono::steady_clock::now();
    if (o.level == TLevel::Usta) {
        // Joining here: the history knows the hand only from this record on.
        const TGameInfo seen = PrivateRecord(g, seat);
        THandHistory history;
        history.Feed(seen);
        move = UstaMove(seen, seat, history, TUstaOptions{o.ms}, rnd);
    } else if (o.level == TLevel::Random) {
        if (g.Phase == psChoosing) {
            int contract = rnd.Next(kContractCount);
            while (!ContractAvailable(g, seat, contract))
                contract = (contract + 1) % kContractCount;
            move = TMove::ChooseContract(static_cast<uint8_t>(contract));
        } else {
            TMaskHand h;
            MaskHandFromRecord(h, g);
            const TCardMask legal = LegalCards(h, seat);
            const int card = mask::Nth(legal, rnd.Next(mask::Count(legal)));
            move = TMove::PlayCard(mask::SuitOf(card), mask::ValueOf(card));
        }
    } else {
        TComputerPlayer p;
        move = ComputerChoice(p, seat, g, rnd);
    }
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (move.Kind == TMove::TKind::Contract)
        std::printf("seat %d: contract %d (%s)\n", seat, move.Contract,
                    move.Contract < kContractCount ? ContractNames[move.Contract] : "?");
    else if (move.Kind == TMove::TKind::Card)
        std::printf("seat %d: card suit %d value %d (%s %c)\n", seat, move.Suit, move.Value,
                    SuitName(move.Suit), "A23456789TJQK?"[move.Value < 13 ? move.Value : 13]);
    else
        std::printf("seat %d: no move\n", seat);
    std::printf("thinking time: %.1f ms\n", ms);
    const TRefusal refusal = CheckMove(g, seat, move);
    if (refusal != TRefusal::None && move.Kind != TMove::TKind::None)
        std::printf("refused: %s\n", RefusalText(refusal, g, move).c_str());
    return refusal == TRefusal::None ? 0 : 1;
}

// Whole games with a random contract and a random legal card, on masks.
void PlayRandomGames(const TOptions& o)
{
    TRandom rnd(o.seed);
    TMaskGame game;
    for (long n = 1; n <= o.games; ++n) {
        PlayRandomMaskGame(game, rnd);
        const TSeatTotals* t = game.Score.Totals;
        std::printf("game %ld: %d %d %d %d\n", n, t[0].Total, t[1].Total, t[2].Total, t[3].Total);
    }
}

} // namespace

int main(int argc, char** argv)
{
    TOptions o;
    if (!ParseOptions(argc, argv, o)) {
        Usage();
        return 2;
    }
    if (o.decide)
        return Decide(o);
    if (o.level == TLevel::Random) {
        const auto start = std::chrono::steady_clock::now();
        PlayRandomGames(o);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("games: %ld\n", o.games);
        std::printf("games per second: %.0f\n", seconds > 0 ? o.games / seconds : 0.0);
        return 0;
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
    TRandom choice(o.seed), ustaRandom[4] = {TRandom(o.seed + 1), TRandom(o.seed + 2),
                                              TRandom(o.seed + 3), TRandom(o.seed + 4)};
    TLevelGame level;
    for (int seat = 0; seat < kSeatCount; ++seat) {
        level.Levels[seat] = TComputerLevel::Usta;
        level.UstaRandom[seat] = &ustaRandom[seat];
    }
    level.Usta.Ms = o.ms;
    level.Deal = &rnd;
    level.Choice = &choice;
    level.OnChange = onChange;
    const char* name = o.level == TLevel::Usta ? "Usta%d" : "Acemi%d";
    TGameInfo g{};
    long stalled = 0;
    const auto start = std::chrono::steady_clock::now();
    for (long game = 1; game <= o.games; ++game) {
        g = TGameInfo{};
        InitGameInfo(g);
        for (int seat = 0; seat < kSeatCount; ++seat)
            std::snprintf(g.PlayerName[seat], kNameSize, name, seat);
        const bool ended = o.level == TLevel::Usta ? PlayLevelGame(g, level)
                                                   : PlayComputerGame(g, rnd, onChange);
        if (!ended)
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
