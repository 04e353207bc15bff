// Usta as the dealer's computer level: it follows every record the table broadcasts with
// one history of the hand, and decides off the table's thread from the record the seat
// would be sent.
#pragma once

#include <memory>

#include "levelgame.h"
#include "movesource.h"
#include "usta.h"

struct TDealerOptions;

// A move source that plays at level Usta; its random numbers are seeded from random once.
std::unique_ptr<TMoveSource> MakeUstaSource(TRandom& random, TUstaOptions options = {});

// The move source of a level: Acemi answers at once from random, Usta as above.
std::unique_ptr<TMoveSource> MakeLevelSource(TComputerLevel level, TRandom& random);
// The name of a level's computer seats: "Acemi" or "Usta" (numbered 1..3 at the table).
QByteArray ComputerSeatName(TComputerLevel level);
// Lets the dealer's computer seats play at level and carry its name.
void SetComputerLevel(TDealerOptions& options, TComputerLevel level);
