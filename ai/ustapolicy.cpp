// Usta's playout policy: a few card-player's rules on masks, fast enough to play tens of
// thousands of hands per decision. In a simulated deal it sees every hand of that deal.
#include "usta.h"

using namespace mask;

namespace {

bool IsTrump(uint8_t contract) { return contract >= KozSinek && contract <= KozMaca; }

TCardMask TrickMask(const TMaskHand& h)
{
    TCardMask m = 0;
    for (int i = 0; i < h.TrickCount; ++i)
        m |= Bit(h.Trick[i]);
    return m;
}

// The card now winning the trick (the trick is not empty).
int WinningCard(const TMaskHand& h)
{
    const TCardMask trick = TrickMask(h);
    if (IsTrump(h.Contract) && (trick & Suit(h.Contract - KozSinek)))
        return Highest(trick & Suit(h.Contract - KozSinek));
    return Highest(trick & Suit(SuitOf(h.Trick[0])));
}

// The cards of m that would take the trick from winner.
TCardMask Beating(TCardMask m, int winner, uint8_t contract)
{
    const int suit = SuitOf(winner);
    TCardMask beat = m & Suit(suit) & ~(Bit(winner + 1) - 1);
    if (IsTrump(contract) && suit != contract - KozSinek)
        beat |= m & Suit(contract - KozSinek);
    return beat;
}

// The cards that cost points when taken in this contract.
TCardMask PenaltyCards(uint8_t contract)
{
    switch (contract) {
    case KupaAlmaz: return kHearts;
    case KizAlmaz: return kQueens;
    case ErkekAlmaz: return kMales;
    case RifkiAlmaz: return Bit(kKingOfHearts);
    default: return 0;
    }
}

int HighestRank(TCardMask m)
{
    // The card of highest rank over all suits; the lower suit on a tie.
    int best = -1, bestRank = -1;
    for (int s = 0; s < 4; ++s) {
        const TCardMask inSuit = m & Suit(s);
        if (!inSuit)
            continue;
        const int c = Highest(inSuit);
        if (c - 13 * s > bestRank) {
            bestRank = c - 13 * s;
            best = c;
        }
    }
    return best;
}

int LowestRank(TCardMask m)
{
    int best = -1, bestRank = 99;
    for (int s = 0; s < 4; ++s) {
        const TCardMask inSuit = m & Suit(s);
        if (!inSuit)
            continue;
        const int c = Lowest(inSuit);
        if (c - 13 * s < bestRank) {
            bestRank = c - 13 * s;
            best = c;
        }
    }
    return best;
}

// Leading in a penalty contract: the card with the fewest cards of the others below it in
// its suit (the one least likely to take the trick), penalty cards last.
int PenaltyLead(const TMaskHand& h, TCardMask legal, TCardMask others)
{
    const TCardMask penalty = PenaltyCards(h.Contract);
    int best = -1, bestScore = 1 << 30;
    for (int s = 0; s < 4; ++s) {
        const TCardMask inSuit = legal & Suit(s);
        if (!inSuit)
            continue;
        const int c = Lowest(inSuit);
        const TCardMask theirs = others & Suit(s);
        int score = 16 * Count(theirs & (Bit(c) - 1)) - Count(theirs);
        if (!theirs)
            score += 200; // nobody follows: the lead takes the trick
        if (Bit(c) & penalty)
            score += 100;
        if (score < bestScore) {
            bestScore = score;
            best = c;
        }
    }
    return best;
}

int PenaltyCard(const TMaskHand& h, TCardMask legal, TCardMask others)
{
    if (h.Contract == SonikiAlmaz && h.TricksPlayed < 10)
        return HighestRank(legal); // shed the high cards while tricks cost nothing
    if (h.TrickCount == 0)
        return PenaltyLead(h, legal, others);
    const int winner = WinningCard(h);
    const int lead = SuitOf(h.Trick[0]);
    if (!(legal & Suit(lead)))
        return HighestRank(legal); // a discard: the most dangerous card
    const TCardMask under = legal & ~Beating(legal, winner, h.Contract);
    if (under)
        return Highest(under);
    // Every card takes the trick so far.
    if (h.TrickCount == kTrickSize - 1) {
        const TCardMask safe = legal & ~PenaltyCards(h.Contract);
        return Highest(safe ? safe : legal);
    }
    return Lowest(legal);
}

// Whether card is the highest card left of its suit and no seat can trump it.
bool Master(TCardMask others, int card, const TMaskHand& h, int seat)
{
    const int suit = SuitOf(card);
    if (others & Suit(suit) & ~(Bit(card + 1) - 1))
        return false;
    if (!IsTrump(h.Contract) || suit == h.Contract - KozSinek)
        return true;
    const TCardMask trumps = Suit(h.Contract - KozSinek);
    for (int s = 0; s < kSeatCount; ++s)
        if (s != seat && !(h.Hand[s] & Suit(suit)) && (h.Hand[s] & trumps))
            return false;
    return true;
}

int TrumpCard(const TMaskHand& h, TCardMask legal, TCardMask others)
{
    const int seat = h.Turn;
    const TCardMask trumps = Suit(h.Contract - KozSinek);
    if (h.TrickCount == 0) {
        // Draw trumps with a master trump, then cash masters, else give the lowest card
        // of the longest side suit.
        const TCardMask myTrumps = legal & trumps;
        if (myTrumps && (others & trumps) && Master(others, Highest(myTrumps), h, seat))
            return Highest(myTrumps);
        for (int s = 0; s < 4; ++s)
            if ((legal & Suit(s)) && Master(others, Highest(legal & Suit(s)), h, seat))
                return Highest(legal & Suit(s));
        int bestSuit = -1;
        for (int s = 0; s < 4; ++s)
            if ((legal & Suit(s) & ~trumps) &&
                (bestSuit < 0 || Count(legal & Suit(s)) > Count(legal & Suit(bestSuit))))
                bestSuit = s;
        return bestSuit < 0 ? Lowest(legal) : Lowest(legal & Suit(bestSuit));
    }
    const int winner = WinningCard(h);
    const TCardMask beat = Beating(legal, winner, h.Contract);
    if (!beat) {
        const TCardMask side = legal & ~trumps;
        return LowestRank(side ? side : legal);
    }
    if (h.TrickCount == kTrickSize - 1)
        return LowestRank(beat);
    // Not last: the lowest card that no later seat can beat, else the highest.
    for (TCardMask m = beat; m; m &= m - 1) {
        const int c = Lowest(m);
        bool safe = true;
        for (int k = h.TrickCount + 1; k < kTrickSize && safe; ++k) {
            const int s = (h.Leader + k) % kSeatCount;
            const TCardMask hand = h.Hand[s];
            const int lead = SuitOf(h.Trick[0]);
            const TCardMask playable = (hand & Suit(lead)) ? hand & Suit(lead) : hand;
            safe = !Beating(playable, c, h.Contract);
        }
        if (safe)
            return c;
    }
    return HighestRank(beat);
}

} // namespace

int PolicyCard(const TMaskHand& h, TCardMask legal)
{
    if ((legal & (legal - 1)) == 0)
        return Lowest(legal);
    const TCardMask others = kAll & ~h.Out & ~h.Hand[h.Turn];
    return IsTrump(h.Contract) ? TrumpCard(h, legal, others) : PenaltyCard(h, legal, others);
}

void PlayOut(TMaskHand& h)
{
    while (!h.Over())
        PlayMaskCard(h, PolicyCard(h, LegalCards(h, h.Turn)));
}
