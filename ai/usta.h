// Usta, the computer player that sees only its own cards. For each choice it deals the
// unseen cards to the other seats many times in every way consistent with what it has
// seen (hand sizes, suits shown out of, cards the rules would have forced), plays each
// deal out with a fast policy on the mask engine for every move it may make, and takes the
// move with the best mean result. A contract is chosen the same way, by playing the hand
// under each available contract. Deterministic for a given random source. Plain C++.
#pragma once

#include <cstdint>

#include "gameinfo.h"
#include "handhistory.h"
#include "maskengine.h"
#include "move.h"
#include "ustaview.h"

struct TUstaOptions {
    // Thinking time per decision in milliseconds. It sets a fixed number of simulated
    // hands (never the clock), so the same view and seed always give the same move.
    int Ms = 100;
};

// The number of simulated hands per decision for a thinking time.
int UstaPlayouts(const TUstaOptions& o);

// The move of view.Seat: its contract when it is the chooser, its card when it is to play;
// None when the seat has nothing to do.
TMove UstaDecide(const TUstaView& view, const TUstaOptions& o, TRandom& rnd);

// The same from the record and the hand's history.
TMove UstaMove(const TGameInfo& g, int seat, const THandHistory& history, const TUstaOptions& o,
               TRandom& rnd);

// ---- The parts of the method, for the tests and the benchmarks ----

// Deals the unseen cards to the other seats of the view (hands[view.Seat] is its own
// hand): each seat gets as many as it holds and none it is proved not to hold, when that
// is possible. Cards left over (played unseen) go to no hand.
void SampleHands(const TUstaView& view, TRandom& rnd, TCardMask hands[kSeatCount]);

// The card the fast playout policy plays for h.Turn among legal.
int PolicyCard(const TMaskHand& h, TCardMask legal);

// Plays the hand to its end with the policy in every seat.
void PlayOut(TMaskHand& h);
