// The texts of the dealer's log: cards as players name them, the state of a game, totals.
#pragma once

#include <cstdint>

#include <QString>

#include "gameinfo.h"

// "Karo 4", "Karo As", "Maça Papaz": the suit, then the value as players say it.
QString CardName(uint8_t suit, uint8_t value);
// "seat 2 to play", "trick complete", "game over" ...
QString PhaseText(const TGameInfo& g);
// The four totals, separated by spaces.
QString TotalsText(const TGameInfo& g);
// "seat 1", or "a connection without a seat" for -1.
QString SeatText(int seat);
