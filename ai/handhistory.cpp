// The history of the hand in play, worked out from successive records.
#include "handhistory.h"

using namespace mask;

namespace {

bool IsTrump(uint8_t contract) { return contract >= KozSinek && contract <= KozMaca; }

// The penalty cards in the record's taken rows (contracts that collect cards there).
TCardMask TakenCards(const TGameInfo& g)
{
    if (g.Contract != KupaAlmaz && g.Contract != KizAlmaz && g.Contract != ErkekAlmaz)
        return 0;
    TCardMask m = 0;
    for (int s = 0; s < kSeatCount; ++s)
        for (int i = 0; i < g.TakenCount[s] && i < 13; ++i)
            if (g.TakenSuit[s][i] <= Spades && g.TakenValue[s][i] <= King)
                m |= Card(g.TakenSuit[s][i], g.TakenValue[s][i]);
    return m;
}

// The cards the rules would have made a seat play instead of card, given the cards before
// it in the trick: holding any of them, it could not have played card.
TCardMask ProvenAbsent(uint8_t contract, const TCardMask before, int lead, int card)
{
    const TCardMask bit = Bit(card);
    const int base = 13 * lead;
    if (SuitOf(card) != lead) {
        TCardMask absent = Suit(lead);
        if ((contract == KupaAlmaz || contract == RifkiAlmaz) && !(bit & kHearts))
            absent |= kHearts;
        if (contract == RifkiAlmaz && card != kKingOfHearts)
            absent |= Bit(kKingOfHearts);
        if (contract == KizAlmaz && !(bit & kQueens))
            absent |= kQueens;
        if (contract == ErkekAlmaz && !(bit & kMales))
            absent |= kMales;
        if (IsTrump(contract) && SuitOf(card) != contract - KozSinek)
            absent |= Suit(contract - KozSinek);
        return absent;
    }
    const TCardMask ace = Bit(base + kAceRank), king = Bit(base + kKingRank);
    const TCardMask queen = Bit(base + kQueenRank), jack = Bit(base + kJackRank);
    TCardMask absent = 0;
    if (contract == RifkiAlmaz && lead == Hearts && (before & ace) && card != kKingOfHearts)
        absent |= king;
    if (contract == KizAlmaz && (before & (ace | king)) && bit != queen)
        absent |= queen;
    if (contract == ErkekAlmaz && !(bit & (king | jack))) {
        if (before & ace)
            absent |= king;
        if (before & (ace | king | queen))
            absent |= jack;
    }
    if (IsTrump(contract) && lead == contract - KozSinek) {
        const int top = Highest(before & Suit(lead));
        if (card < top)
            absent |= Suit(lead) & ~(Bit(top + 1) - 1);
    }
    return absent;
}

} // namespace

void THandHistory::Clear() { *this = THandHistory{}; }

void THandHistory::StartHand(const TGameInfo& g)
{
    Clear();
    started_ = true;
    contract_ = g.Contract;
    handChooser_ = g.HandChooser;
    // From the deal on, or from the choosing of the contract: nothing has been missed.
    complete_ = g.TricksPlayed == 0 && g.TrickCount == 0;
    tricksPlayed_ = g.TricksPlayed;
    leader_ = g.Leader;
}

void THandHistory::Learn(const TGameInfo& g, int position)
{
    const int seat = (g.Leader + position) % kSeatCount;
    const int card = Index(g.TrickSuit[position], g.TrickValue[position]);
    TCardMask before = 0;
    for (int i = 0; i < position; ++i)
        before |= Card(g.TrickSuit[i], g.TrickValue[i]);
    playedBy_[seat] |= Bit(card);
    if (position > 0)
        excluded_[seat] |= ProvenAbsent(g.Contract, before, g.TrickSuit[0], card);
}

void THandHistory::Feed(const TGameInfo& g)
{
    if (g.Phase != psPlaying && g.Phase != psTrickComplete && g.Phase != psChoosing) {
        Clear();
        return;
    }
    const bool sameHand = started_ && g.HandChooser == handChooser_ &&
                          (contract_ == kNone || g.Contract == contract_) &&
                          g.TricksPlayed >= tricksPlayed_;
    if (!sameHand)
        StartHand(g);
    contract_ = g.Contract;
    if (g.Phase == psChoosing || g.Contract > KozMaca)
        return;
    for (int i = 0; i < g.TrickCount && i < kTrickSize; ++i)
        if (g.TrickSuit[i] > Spades || g.TrickValue[i] > King || g.Leader >= kSeatCount)
            return; // not a trick the rules could have built
    if (g.TricksPlayed != tricksPlayed_) {
        // Tricks were resolved since the last record: a trick not seen whole was missed.
        if (g.TricksPlayed != tricksPlayed_ + 1 || trickCount_ != 4)
            complete_ = false;
        tricksPlayed_ = g.TricksPlayed;
        trickCount_ = 0;
    } else if (g.Leader != leader_) {
        trickCount_ = 0;
    }
    if (g.TrickCount < trickCount_) {
        complete_ = false;
        trickCount_ = 0;
    }
    for (int i = trickCount_; i < g.TrickCount && i < kTrickSize; ++i)
        Learn(g, i);
    trickCount_ = g.TrickCount;
    leader_ = g.Leader;
    gone_ |= TakenCards(g) & ~Played();
}
