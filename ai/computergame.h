// A game with the computer in all four seats, driven the way the dealer drives a game:
// the seat to move acts, and a full trick is resolved. Used by the simulator, the
// benchmarks and the tests; the whole game is played in levelgame.cpp.
#pragma once

#include <functional>

#include "computerplayer.h"

// One change of the game: resolves a full trick, or lets the chooser choose or the seat
// to move play. False when nothing happened (the game is over, or no seat can act).
bool ComputerGameStep(TComputerPlayer& p, TGameInfo& g, TRandom& rnd);

using TGameChange = std::function<void(const TGameInfo& g)>;

// Starts a new game on g (names are kept) and plays it to its end with Acemi in every
// seat, one source for the deals and the choices (PlayLevelGame); onChange, when given,
// sees the record after NewGame and after every step. False when the game stalled before
// its end or a move was refused.
bool PlayComputerGame(TGameInfo& g, TRandom& rnd, const TGameChange& onChange = {});
