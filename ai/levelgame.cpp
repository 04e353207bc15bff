// The course of a game with a level in each seat.
#include "levelgame.h"

#include <chrono>
#include <strings.h>

#include "privatehands.h"

bool ParseComputerLevel(const char* text, TComputerLevel& level)
{
    if (strcasecmp(text, "acemi") == 0)
        level = TComputerLevel::Acemi;
    else if (strcasecmp(text, "usta") == 0)
        level = TComputerLevel::Usta;
    else
        return false;
    return true;
}

namespace {

constexpr int kMaxSteps = 20 * (1 + 52 + 13);

TMove UstaDecision(const TGameInfo& g, int seat, const THandHistory& history, const TLevelGame& game)
{
    const auto start = std::chrono::steady_clock::now();
    // Usta is given only what its seat is sent.
    const TMove move = UstaMove(PrivateRecord(g, seat), seat, history, game.Usta,
                                *game.UstaRandom[seat]);
    if (game.OnUstaDecision)
        game.OnUstaDecision(seat, std::chrono::duration_cast<std::chrono::microseconds>(
                                      std::chrono::steady_clock::now() - start)
                                      .count());
    return move;
}

bool HasUsta(const TLevelGame& game)
{
    for (const TComputerLevel level : game.Levels)
        if (level == TComputerLevel::Usta)
            return true;
    return false;
}

} // namespace

bool PlayLevelGame(TGameInfo& g, const TLevelGame& game)
{
    TComputerPlayer acemi;
    THandHistory history;
    const bool usta = HasUsta(game);
    NewGame(g, *game.Deal);
    if (usta)
        history.Feed(g);
    if (game.OnChange)
        game.OnChange(g);
    for (int step = 0; step < kMaxSteps && g.Phase != psGameOver; ++step) {
        if (g.Phase == psTrickComplete) {
            if (ResolveTrick(g, *game.Deal) == kNone)
                return false;
        } else {
            // Every level's move goes through the rules before it changes the record.
            const int seat = AwaitedSeat(g);
            if (seat == kNoSeat)
                return false;
            const TMove move = game.Levels[seat] == TComputerLevel::Usta
                                   ? UstaDecision(g, seat, history, game)
                                   : ComputerChoice(acemi, seat, g, *game.Choice);
            if (ApplyMove(g, seat, move) != TRefusal::None)
                return false;
        }
        if (usta)
            history.Feed(g);
        if (game.OnChange)
            game.OnChange(g);
    }
    return g.Phase == psGameOver;
}

bool PlayComputerGame(TGameInfo& g, TRandom& rnd, const TGameChange& onChange)
{
    TLevelGame game;
    game.Deal = &rnd;
    game.Choice = &rnd;
    game.OnChange = onChange;
    return PlayLevelGame(g, game);
}
