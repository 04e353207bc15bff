// What the table says about where the game is: the hand's number, a line when a hand ends
// and the result when the game is over. Plain texts from game records.
#pragma once

#include <QString>

#include "gameinfo.h"

inline constexpr int kHandsPerGame = 20;

// The hand being chosen or played, 1 to 20; 0 before a game (nothing dealt).
int HandNumber(const TGameInfo& g);
// "El 7 / 20", or empty before a game.
QString HandNumberText(const TGameInfo& g);
// One line for a hand that has ended: its number, contract and every player's points in
// it, from the record at its start (contract chosen) and the first record after it.
QString HandSummary(const TGameInfo& start, const TGameInfo& after);
// The winner (or winners) and every player's total, highest first, for a finished game.
QString GameResultText(const TGameInfo& g);
