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

bool ApplyMove(TGameInfo& g, int seat, const TMove& move)
{
    if (seat < 0 || seat > 3)
        return false;
    if (move.Kind == TMove::TKind::Contract) {
        if (g.Phase != psChoosing || g.Chooser != seat || !ContractAvailable(g, seat, move.Contract))
            return false;
        ChooseContract(g, move.Contract);
        return true;
    }
    if (move.Kind != TMove::TKind::Card || g.Phase != psPlaying || g.Turn != seat ||
        !HasCard(g, seat, move.Suit, move.Value) || !CanPlay(g, seat, move.Suit, move.Value))
        return false;
    PlayCard(g, seat, move.Suit, move.Value);
    return true;
}

namespace {

constexpr int kMaxSteps = 20 * (1 + 52 + 13);

bool UstaStep(TGameInfo& g, int seat, const THandHistory& history, const TLevelGame& game)
{
    const auto start = std::chrono::steady_clock::now();
    // Usta is given only what its seat is sent.
    const TMove move = UstaMove(PrivateRecord(g, seat), seat, history, game.Usta,
                                *game.UstaRandom[seat]);
    if (game.OnUstaDecision)
        game.OnUstaDecision(seat, std::chrono::duration_cast<std::chrono::microseconds>(
                                      std::chrono::steady_clock::now() - start)
                                      .count());
    return ApplyMove(g, seat, move);
}

} // namespace

bool PlayLevelGame(TGameInfo& g, const TLevelGame& game)
{
    TComputerPlayer acemi;
    THandHistory history;
    NewGame(g, *game.Deal);
    history.Feed(g);
    if (game.OnChange)
        game.OnChange(g);
    for (int step = 0; step < kMaxSteps && g.Phase != psGameOver; ++step) {
        bool acted = false;
        if (g.Phase == psTrickComplete) {
            acted = ResolveTrick(g, *game.Deal) != kNone;
        } else if (g.Phase == psChoosing || g.Phase == psPlaying) {
            const int seat = g.Phase == psChoosing ? g.Chooser : g.Turn;
            if (seat < 0 || seat > 3)
                return false;
            if (game.Levels[seat] == TComputerLevel::Usta)
                acted = UstaStep(g, seat, history, game);
            else
                acted = ComputerMove(acemi, seat, g, *game.Choice) != 0;
        }
        if (!acted)
            return false;
        history.Feed(g);
        if (game.OnChange)
            game.OnChange(g);
    }
    return g.Phase == psGameOver;
}
