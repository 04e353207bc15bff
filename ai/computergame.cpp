#include "computergame.h"

namespace {

// A game has 20 hands of at most 1 choice, 52 cards and 13 trick resolutions.
constexpr int kMaxSteps = 20 * (1 + 52 + 13);

} // namespace

bool ComputerGameStep(TComputerPlayer& p, TGameInfo& g, TRandom& rnd)
{
    switch (g.Phase) {
    case psTrickComplete:
        ResolveTrick(g, rnd);
        return true;
    case psChoosing:
        return ComputerMove(p, g.Chooser, g, rnd) != 0;
    case psPlaying:
        return ComputerMove(p, g.Turn, g, rnd) != 0;
    default:
        return false;
    }
}

bool PlayComputerGame(TGameInfo& g, TRandom& rnd, const TGameChange& onChange)
{
    TComputerPlayer p;
    NewGame(g, rnd);
    if (onChange)
        onChange(g);
    for (int step = 0; step < kMaxSteps && g.Phase != psGameOver; ++step) {
        if (!ComputerGameStep(p, g, rnd))
            return false;
        if (onChange)
            onChange(g);
    }
    return g.Phase == psGameOver;
}
