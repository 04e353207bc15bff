// What a player at the table has seen of the hand in play: every card played and by whom,
// and what each play proves about the hand it came from. Fed the successive records of
// the game (the dealer's record after each change, or each record a player receives), it
// works out the cards played from the trick of each record; a history that started in the
// middle of a hand knows the hand only from then on. It never reads another seat's hand.
// Plain C++, no Qt.
#pragma once

#include <cstdint>

#include "gameinfo.h"
#include "maskengine.h"

class THandHistory {
public:
    // Takes in the next record. A record of another hand (a new deal, another contract, a
    // new game) starts the history afresh.
    void Feed(const TGameInfo& g);
    void Clear();

    // Cards seen played in this hand by seat, and by anyone (the trick in play included).
    TCardMask PlayedBy(int seat) const { return playedBy_[seat]; }
    TCardMask Played() const { return playedBy_[0] | playedBy_[1] | playedBy_[2] | playedBy_[3]; }
    // Cards known to have left the hands without knowing who played them (the taken
    // penalty cards of a history that started late).
    TCardMask Gone() const { return gone_; }
    // Cards the seat cannot hold, as its plays prove: the suits it has shown out of, and
    // the cards the rules would have made it play instead.
    TCardMask Excluded(int seat) const { return excluded_[seat]; }
    // Every card played in this hand was seen, with its player.
    bool Complete() const { return complete_; }

private:
    void StartHand(const TGameInfo& g);
    void Learn(const TGameInfo& g, int position);

    TCardMask playedBy_[kSeatCount] = {};
    TCardMask excluded_[kSeatCount] = {};
    TCardMask gone_ = 0;
    bool complete_ = false;
    bool started_ = false;
    uint8_t contract_ = kNone;
    uint8_t handChooser_ = kNoSeat;
    uint8_t tricksPlayed_ = 0;
    // The trick of the last record: its leader and its cards, to see which are new.
    uint8_t leader_ = kNoSeat;
    uint8_t trickCount_ = 0;
};
