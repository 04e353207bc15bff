// What Usta knows when it decides: its own hand, and of the other hands only the cards it
// has not seen and how many each seat holds, with what the play has proved about them.
// The view has no field for another seat's hand; it is built from the record (of which
// it reads the seat's own hand, the hand sizes, the trick, the taken cards, the scores and
// the contract bookkeeping) and from the hand's history. Plain C++, no Qt.
#pragma once

#include <cstdint>

#include "gameinfo.h"
#include "handhistory.h"
#include "maskengine.h"

struct TUstaView {
    uint8_t Seat = kNoSeat;
    uint8_t Phase = psWaiting;
    uint8_t Contract = kNone;
    uint8_t Chooser = kNoSeat;
    uint8_t Turn = kNoSeat;
    uint8_t Leader = kNoSeat;
    uint8_t TrickCount = 0;
    uint8_t Trick[kTrickSize] = {}; // card indices of the trick, in the order played
    uint8_t TricksPlayed = 0;
    uint8_t Held[kSeatCount] = {};  // how many cards each seat holds
    TCardMask Own = 0;           // the seat's own hand
    TCardMask Legal = 0;         // the cards of its hand the rules let it play now
    // The cards that may lie in the other hands. When the history missed plays, this also
    // holds the cards played unseen; there are then more of them than the hands hold.
    TCardMask Unseen = 0;
    TCardMask Out = 0;           // cards known to have left the hands, the trick included
    TCardMask Excluded[kSeatCount] = {}; // cards a seat is proved not to hold
    TScoreInfo Score = {};       // scores and the contracts used so far
};

// The view of seat on g, with what history has seen of the hand.
TUstaView MakeUstaView(const TGameInfo& g, int seat, const THandHistory& history);
