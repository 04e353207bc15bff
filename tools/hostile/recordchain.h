// Whether the records a player received from the dealer form an unbroken chain: each one
// follows from the one before by exactly one step of the game, so none was lost on the way
// and none arrived twice. Plain rules, no network.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "gameinfo.h"

// Why b cannot be the dealer's next record after a; empty when it can. One step is one
// contract the chooser may choose, one card the player to move may play, the resolution
// of a full trick (the next trick, a new deal for the next hand, or the end of the game)
// or, after the end of a game, a new game. The cards of a new deal are not known in
// advance: they are only checked to be a whole deal.
std::string StepFault(const TGameInfo& a, const TGameInfo& b);

// Whether g is a game just dealt: choosing, nothing played or scored yet.
bool IsFreshGame(const TGameInfo& g);

struct TChainCheck {
    std::size_t FaultAt = 0;     // index of the first record that does not follow; 0: none
    std::string Fault;           // empty when the chain is whole
    int TrickCompletes = 0;      // records with a full trick on the table
    std::vector<uint8_t> Takers; // who takes each of those tricks, in order
    int Hands = 0;               // hands over, new games included
    int Games = 0;               // games started (fresh deals)

    bool Ok() const { return Fault.empty(); }
};

// Checks a whole sequence; the first record must be a fresh game.
TChainCheck CheckChain(const std::vector<TGameInfo>& records);
