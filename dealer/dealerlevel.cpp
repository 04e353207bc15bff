#include "dealerlevel.h"

#include "table.h"
#include "ustasource.h"

void SetComputerLevel(TTableOptions& options, TComputerLevel level)
{
    options.ComputerName = ComputerSeatName(level);
    options.Level = uint8_t(level);
    options.ComputerLevel = [level](TRandom& random) { return MakeLevelSource(level, random); };
}
