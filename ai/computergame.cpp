#include "computergame.h"

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
