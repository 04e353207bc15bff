#include "dealerlevel.h"

#include "dealerthread.h"
#include "ustasource.h"

void SetComputerLevel(TDealerOptions& options, TComputerLevel level)
{
    options.ComputerName = ComputerSeatName(level);
    options.ComputerLevel = [level](TRandom& random) { return MakeLevelSource(level, random); };
}
