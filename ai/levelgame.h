// Whole games with a computer level in each seat, driven as the dealer drives a game: the
// seat to move acts, a full trick is resolved. Acemi acts on the record as it always has;
// Usta decides from the record its seat is sent and the hand's history. Used by the
// simulator, the match tool, the benchmarks and the tests. Plain C++.
#pragma once

#include <functional>

#include "computergame.h"
#include "handhistory.h"
#include "move.h"
#include "usta.h"

enum class TComputerLevel : uint8_t { Acemi = 0, Usta = 1 };

// "acemi" or "usta" (any case of letters); false for anything else.
bool ParseComputerLevel(const char* text, TComputerLevel& level);

struct TLevelGame {
    TComputerLevel Levels[kSeatCount] = {};
    TUstaOptions Usta;
    // Deals and trick resolution; Acemi's contract choice; each Usta seat's source.
    TRandom* Deal = nullptr;
    TRandom* Choice = nullptr;
    TRandom* UstaRandom[kSeatCount] = {};
    TGameChange OnChange;
    // Sees every Usta decision with its thinking time in microseconds.
    std::function<void(int seat, long long micros)> OnUstaDecision;
};

// Starts a new game on g (names kept) and plays it to its end. False when it stalled or a
// level produced a move the rules refuse.
bool PlayLevelGame(TGameInfo& g, const TLevelGame& game);
