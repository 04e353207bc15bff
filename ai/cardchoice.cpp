// The computer's choice of the card to play: the suit by weight, then the value by the
// rules of the hand's contract.
#include "computerplayer.h"

namespace {

bool IsPenalty(uint8_t contract) { return contract <= RifkiAlmaz; }

bool TrickHolds(const TGameInfo& g, bool (*match)(uint8_t suit, uint8_t value))
{
    for (int i = 0; i < g.TrickCount && i < kTrickSize; ++i)
        if (match(g.TrickSuit[i], g.TrickValue[i]))
            return true;
    return false;
}

bool IsHeart(uint8_t suit, uint8_t) { return suit == Hearts; }
bool IsQueen(uint8_t, uint8_t value) { return value == Queen; }
bool IsMale(uint8_t, uint8_t value) { return value == King || value == Jack; }
bool IsRifki(uint8_t suit, uint8_t value) { return suit == Hearts && value == King; }

// The first of the two choices that exists.
uint8_t Or(uint8_t first, uint8_t second) { return first != kNone ? first : second; }

// What the seat knows about the trick when it chooses its card.
struct TSituation {
    const TComputerPlayer& p;
    const TGameInfo& g;
    int seat;
    uint8_t s;     // the chosen suit
    bool leads;    // Leader is kNoSeat
    bool last;     // three cards lie in the trick
    int led;       // completed tricks of this hand led in s
};

uint8_t ElAlmazCard(const TSituation& x)
{
    return x.leads ? Lowest(x.p, x.s) : PlayUnder(x.p, x.s);
}

uint8_t KupaAlmazCard(const TSituation& x)
{
    if (x.leads)
        return (x.led >= 2 || x.s == Hearts) ? Lowest(x.p, x.s) : Highest(x.p, x.s);
    if (TrickHolds(x.g, IsHeart))
        return PlayUnder(x.p, x.s);
    if (x.last || x.led < 2)
        return Highest(x.p, x.s);
    return PlayUnder(x.p, x.s);
}

uint8_t KizAlmazCard(const TSituation& x)
{
    const TComputerPlayer& p = x.p;
    if (x.leads)
        return x.led >= 2 ? Lowest(p, x.s) : Or(HighestBelow(p, x.s, Queen), Highest(p, x.s));
    if (TrickHolds(x.g, IsQueen))
        return PlayUnder(p, x.s);
    if (x.last) {
        const uint8_t r = Highest(p, x.s);
        return r != Queen ? r : Or(HighestBelow(p, x.s, Queen), Lowest(p, x.s));
    }
    if (x.led >= 2)
        return PlayUnder(p, x.s);
    if (x.s != x.g.LeadSuit)
        return Highest(p, x.s);
    const uint8_t w = WinningValue(p);
    if (w == Ace || w == King)
        return Or(HighestBelow(p, x.s, w), Highest(p, x.s));
    return Or(HighestBelow(p, x.s, Queen), PlayUnder(p, x.s));
}

uint8_t ErkekAlmazCard(const TSituation& x)
{
    const TComputerPlayer& p = x.p;
    if (x.leads)
        return x.led >= 2 ? Lowest(p, x.s) : Or(HighestBelow(p, x.s, Jack), Lowest(p, x.s));
    if (TrickHolds(x.g, IsMale))
        return PlayUnder(p, x.s);
    if (x.last) {
        uint8_t r = Highest(p, x.s);
        if (r == King)
            r = Or(HighestBelow(p, x.s, King), Lowest(p, x.s));
        if (r == Jack)
            r = Or(HighestBelow(p, x.s, Jack), Lowest(p, x.s));
        return r;
    }
    if (x.led >= 2)
        return PlayUnder(p, x.s);
    if (x.s != x.g.LeadSuit)
        return Highest(p, x.s);
    const uint8_t w = WinningValue(p);
    const uint8_t bound = (w == Ace || w == Queen || w == King) ? w : uint8_t{Jack};
    return Or(HighestBelow(p, x.s, bound), Or(HighestBelow(p, x.s, King), Highest(p, x.s)));
}

uint8_t SonikiAlmazCard(const TSituation& x)
{
    if (x.g.TricksPlayed < 11)
        return Highest(x.p, x.s);
    return ElAlmazCard(x);
}

uint8_t RifkiAlmazCard(const TSituation& x)
{
    const TComputerPlayer& p = x.p;
    if (x.leads) {
        if (x.led >= 2)
            return Lowest(p, x.s);
        if (x.s == Hearts)
            return Or(HighestBelow(p, x.s, King), Highest(p, x.s));
        return Highest(p, x.s);
    }
    if (TrickHolds(x.g, IsRifki))
        return Lowest(p, x.s);
    if (x.s != x.g.LeadSuit || x.last)
        return Highest(p, x.s);
    if (x.led >= 2)
        return PlayUnder(p, x.s);
    if (x.s == Hearts)
        return Or(HighestBelow(p, x.s, King), Highest(p, x.s));
    return Highest(p, x.s);
}

uint8_t TrumpCard(const TSituation& x)
{
    const TComputerPlayer& p = x.p;
    if (x.leads) {
        if (HeldByOther(p, x.seat, x.s, Ace))
            return Or(HighestBelow(p, x.s, King), Lowest(p, x.s));
        return Highest(p, x.s);
    }
    if (x.s != WinningSuit(p))
        return Lowest(p, x.s);
    const uint8_t r = LowestAbove(p, x.s, WinningValue(p));
    if (r == kNone)
        return Lowest(p, x.s);
    if (x.last)
        return r;
    if (HeldByOther(p, x.seat, x.s, Ace))
        return Or(HighestBelow(p, x.s, King), Lowest(p, x.s));
    return Highest(p, x.s);
}

bool InPlayable(const TComputerPlayer& p, uint8_t suit, uint8_t value)
{
    for (int i = 0; i < p.PlayableCount; ++i)
        if (p.PlayableSuit[i] == suit && p.PlayableValue[i] == value)
            return true;
    return false;
}

} // namespace

uint8_t PlayUnder(const TComputerPlayer& p, uint8_t suit)
{
    const TGameInfo& g = *p.Game;
    if (suit != g.LeadSuit)
        return Highest(p, suit);
    const uint8_t winning = WinningValue(p);
    const uint8_t under = HighestBelow(p, suit, winning);
    if (under != kNone)
        return under;
    if (g.TrickCount != 3)
        return LowestAbove(p, suit, winning);
    return Highest(p, suit);
}

uint8_t SelectSuit(const TComputerPlayer& p)
{
    const TGameInfo& g = *p.Game;
    // The suits in order of first appearance, with the sum and count of their weights.
    uint8_t suits[4];
    int suitCount = 0;
    int sum[4] = {};
    int count[4] = {};
    for (int i = 0; i < p.PlayableCount; ++i) {
        const uint8_t suit = p.PlayableSuit[i];
        if (suit > Spades)
            continue; // not a suit; the choice's checks report it
        if (count[suit]++ == 0)
            suits[suitCount++] = suit;
        sum[suit] += CardWeight(p.PlayableValue[i]);
    }

    float minWeight = 1000.0f;
    float maxWeight = -1.0f;
    uint8_t minSuit = kNone;
    uint8_t maxSuit = kNone;
    for (int k = 0; k < suitCount; ++k) {
        const float w = PlayableWeight(sum[suits[k]], count[suits[k]], g.Contract);
        if (w < minWeight) {
            minWeight = w;
            minSuit = suits[k];
        }
        if (w > maxWeight) {
            maxWeight = w;
            maxSuit = suits[k];
        }
    }

    if (g.Contract == SonikiAlmaz)
        return g.TricksPlayed >= 11 ? minSuit : maxSuit;
    if (IsPenalty(g.Contract))
        return g.TrickCount == 0 ? minSuit : maxSuit;
    return minSuit;
}

void SelectCard(TComputerPlayer& p, int seat, uint8_t& suit, uint8_t& value)
{
    FindPlayableCards(p, seat);
    const TGameInfo& g = *p.Game;
    suit = SelectSuit(p);

    const TSituation x{p, g, seat, suit, g.Leader == kNoSeat, g.TrickCount == kTrickSize - 1,
                       suit < 4 ? g.LedCount[suit] : 0};
    switch (g.Contract) {
    case ElAlmaz: value = ElAlmazCard(x); break;
    case KupaAlmaz: value = KupaAlmazCard(x); break;
    case KizAlmaz: value = KizAlmazCard(x); break;
    case ErkekAlmaz: value = ErkekAlmazCard(x); break;
    case SonikiAlmaz: value = SonikiAlmazCard(x); break;
    case RifkiAlmaz: value = RifkiAlmazCard(x); break;
    default: value = TrumpCard(x); break;
    }

    if (static_cast<int8_t>(suit) < 0 || static_cast<int8_t>(suit) > 3)
        ReportAIError(p, "Bilgisayar alanın dışında bir 'suit' seçti!");
    if (static_cast<int8_t>(value) < 0 || static_cast<int8_t>(value) > 12)
        ReportAIError(p, "Bilgisayar alanın dışında bir 'value' seçti!");
    if (!InPlayable(p, suit, value))
        ReportAIError(p, "Bilgisayar PlayableCards dışında bir kart seçti!");
}
