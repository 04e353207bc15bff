#include "dealerlevel.h"

#include "table.h"
#include "ustasource.h"

void SetComputerLevel(TTableOptions& options, TComputerLevel level)
{
    options.ComputerName = ComputerSeatName(level);
    options.ComputerLevel = [level](TRandom& random) { return MakeLevelSource(level, random); };
}
