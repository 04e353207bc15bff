// The computer's choice of the contract: a trump for a strong hand, else a penalty
// contract whose test the hand passes, tried from a random start, else any contract.
#include "computerplayer.h"

namespace {

constexpr uint8_t kSuits[4] = {Clubs, Diamonds, Hearts, Spades};

bool ElAlmazTest(const TComputerPlayer& p, int seat)
{
    for (uint8_t s : kSuits)
        if (!(HandWeight(p, seat, s) >= 8.0f))
            return false;
    return true;
}

bool KupaAlmazTest(const TComputerPlayer& p, int seat)
{
    if (SuitCount(*p.Game, seat, Hearts) < 3)
        return false;
    const uint8_t top = HighestInHand(p, seat, Hearts);
    return Rank(top) <= Rank(Ten);
}

bool KizAlmazTest(const TComputerPlayer& p, int seat)
{
    int sum = 0;
    for (uint8_t s : kSuits) {
        sum += CountAbove(p, seat, s, Jack);
        const uint8_t top = HighestInHand(p, seat, s);
        if ((top == Ace || top == King) && SuitCount(*p.Game, seat, s) < 3)
            sum = 100;
    }
    return sum < 3;
}

bool ErkekAlmazTest(const TComputerPlayer& p, int seat)
{
    int sum = 0;
    for (uint8_t s : kSuits)
        sum += CountAbove(p, seat, s, Ten);
    return sum < 4;
}

bool SonikiAlmazTest(const TComputerPlayer& p, int seat)
{
    for (uint8_t s : kSuits)
        if (CountBelow(p, seat, s, Six) < 2)
            return false;
    return true;
}

bool RifkiAlmazTest(const TComputerPlayer& p, int seat)
{
    const TGameInfo& g = *p.Game;
    const int hearts = SuitCount(g, seat, Hearts);
    const int clubs = SuitCount(g, seat, Clubs);
    const int diamonds = SuitCount(g, seat, Diamonds);
    const int spades = SuitCount(g, seat, Spades);
    const bool shortSides = clubs < 5 && diamonds < 5 && spades < 5;
    if (hearts >= 4 && shortSides && Rank(HighestInHand(p, seat, Hearts)) <= Rank(Queen))
        return true;
    return HeldByOther(p, seat, Hearts, King) && hearts >= 4 &&
           (clubs < 2 || diamonds < 2 || spades < 2);
}

bool PenaltyTest(const TComputerPlayer& p, int seat, int contract)
{
    switch (contract) {
    case ElAlmaz: return ElAlmazTest(p, seat);
    case KupaAlmaz: return KupaAlmazTest(p, seat);
    case KizAlmaz: return KizAlmazTest(p, seat);
    case ErkekAlmaz: return ErkekAlmazTest(p, seat);
    case SonikiAlmaz: return SonikiAlmazTest(p, seat);
    case RifkiAlmaz: return RifkiAlmazTest(p, seat);
    default: return false;
    }
}

// The longest available trump suit, on equal length the one of higher weight; 255 for none.
uint8_t LongestTrumpSuit(const TComputerPlayer& p, int seat, const bool avail[kContractCount])
{
    uint8_t best = kNone;
    int bestCount = -1;
    float bestWeight = 0.0f;
    for (uint8_t s : kSuits) {
        if (!avail[KozSinek + s])
            continue;
        const int count = SuitCount(*p.Game, seat, s);
        const float weight = HandWeight(p, seat, s);
        if (count > bestCount || (count == bestCount && weight > bestWeight)) {
            best = s;
            bestCount = count;
            bestWeight = weight;
        }
    }
    return best;
}

} // namespace

uint8_t SelectContract(TComputerPlayer& p, int seat, TRandom& rnd)
{
    const TGameInfo& g = *p.Game;
    bool avail[kContractCount];
    for (int c = 0; c < kContractCount; ++c)
        avail[c] = ContractAvailable(g, seat, c);

    const float weight = HandWeight(p, seat, kNone);
    if (weight > 10.0f) {
        const uint8_t s = LongestTrumpSuit(p, seat, avail);
        if (s != kNone && SuitCount(g, seat, s) >= 4 &&
            (HeldByOther(p, seat, s, Ace) || HeldByOther(p, seat, s, King)))
            return static_cast<uint8_t>(KozSinek + s);
    }

    int r = rnd.Next(6);
    for (int k = 0; k < 6; ++k) {
        const int c = (r + k) % 6;
        if (avail[c] && PenaltyTest(p, seat, c))
            return static_cast<uint8_t>(c);
    }

    if (weight < 10.0f) {
        r = rnd.Next(6);
        for (int k = 0; k < 6; ++k) {
            const int c = (r + k) % 6;
            if (avail[c])
                return static_cast<uint8_t>(c);
        }
    }

    r = rnd.Next(10);
    for (int k = 0; k < 10; ++k) {
        const int c = (r + k) % 10;
        if (avail[c])
            return static_cast<uint8_t>(c);
    }

    ReportAIError(p, "Bilgisayar oyun seçemedi!");
    return kNone;
}
