// Usta as a move source: it follows every record it is shown with one history of the
// hand, and decides off its caller's thread from the record the seat would be sent. The
// dealer's computer seats and the window's hint use it alike.
#pragma once

#include <memory>

#include "levelgame.h"
#include "movesource.h"
#include "usta.h"

// A move source that plays at level Usta; its random numbers are seeded from random once.
std::unique_ptr<TMoveSource> MakeUstaSource(TRandom& random, TUstaOptions options = {});

// The move source of a level: Acemi answers at once from random, Usta as above.
std::unique_ptr<TMoveSource> MakeLevelSource(TComputerLevel level, TRandom& random);
// The name of a level's computer seats: "Acemi" or "Usta" (numbered 1..3 at the table).
QByteArray ComputerSeatName(TComputerLevel level);
