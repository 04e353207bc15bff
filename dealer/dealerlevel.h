// The computer level of a dealer's computer seats, set in its options before it starts.
#pragma once

#include "levelgame.h"

struct TTableOptions;

// Lets the dealer's computer seats play at level and carry its name.
void SetComputerLevel(TTableOptions& options, TComputerLevel level);
