// Whether a seat may play a card, and which rule refuses it.
#include "gameinfo.h"
#include "move.h"
#include "record_access.h"

using namespace rules_detail;

namespace {

bool HoldsAnyOfValue(const TGameInfo& g, int seat, uint8_t value)
{
    for (uint8_t suit = Clubs; suit <= Spades; ++suit)
        if (HasCard(g, seat, suit, value))
            return true;
    return false;
}

// Leading a card (the trick is empty).
TRefusal CheckLead(const TGameInfo& g, int seat, uint8_t suit)
{
    const uint8_t c = g.Contract;
    if (c != KupaAlmaz && c != RifkiAlmaz)
        return TRefusal::None;
    if (suit != Hearts || HeartsLeft(g) != 13)
        return TRefusal::None;
    if (SuitCount(g, seat, Hearts) >= HeldCount(g, seat))
        return TRefusal::None;
    return TRefusal::HeartsNotOpened;
}

// Playing another suit than the one led.
TRefusal CheckDiscard(const TGameInfo& g, int seat, uint8_t suit, uint8_t value)
{
    const uint8_t c = g.Contract;
    const uint8_t lead = g.LeadSuit;
    if (SuitCount(g, seat, lead) > 0)
        return TRefusal::FollowSuit;
    if ((c == KupaAlmaz || c == RifkiAlmaz) && suit != Hearts && SuitCount(g, seat, Hearts) > 0) {
        return TRefusal::DiscardHeart;
    }
    if (c == RifkiAlmaz && suit == Hearts && value != King && HasCard(g, seat, Hearts, King)) {
        return TRefusal::DiscardRifki;
    }
    if (c == KizAlmaz && value != Queen && HoldsAnyOfValue(g, seat, Queen)) {
        return TRefusal::DiscardQueen;
    }
    if (c == ErkekAlmaz && value != Jack && value != King &&
        (HoldsAnyOfValue(g, seat, Jack) || HoldsAnyOfValue(g, seat, King))) {
        return TRefusal::DiscardMale;
    }
    if (IsTrumpContract(c)) {
        const auto trump = static_cast<uint8_t>(c - KozSinek);
        if (suit != trump && SuitCount(g, seat, trump) > 0) {
            return TRefusal::DiscardTrump;
        }
    }
    return TRefusal::None;
}

// Following the suit led.
TRefusal CheckFollow(const TGameInfo& g, int seat, uint8_t suit, uint8_t value)
{
    const uint8_t c = g.Contract;
    const uint8_t lead = g.LeadSuit;
    if (lead == Hearts && c == RifkiAlmaz && value != King && HighestOnTable(g, Hearts) == Ace &&
        HasCard(g, seat, Hearts, King)) {
        return TRefusal::GiveRifki;
    }
    if (c == KizAlmaz && value != Queen && HasCard(g, seat, lead, Queen) &&
        (TrickHolds(g, lead, Ace) || TrickHolds(g, lead, King))) {
        return TRefusal::GiveQueen;
    }
    if (c == ErkekAlmaz && value != King && HasCard(g, seat, lead, King) &&
        TrickHolds(g, lead, Ace) && value != Jack) {
        return TRefusal::GiveKing;
    }
    if (c == ErkekAlmaz && value != Jack && HasCard(g, seat, lead, Jack) &&
        (TrickHolds(g, lead, Ace) || TrickHolds(g, lead, King) || TrickHolds(g, lead, Queen)) &&
        value != King) {
        return TRefusal::GiveJack;
    }
    if (IsTrumpContract(c) && suit == c - KozSinek && TrickCards(g) > 0) {
        const uint8_t top = HighestOnTable(g, suit);
        const int highest = top == kNone ? 0 : Rank(top);
        if (Rank(value) >= highest)
            return TRefusal::None;
        for (int i = 0; i < HeldCount(g, seat); ++i) {
            if (g.CardSuit[seat][i] == suit && Rank(g.CardValue[seat][i]) > highest) {
                return TRefusal::Overtake;
            }
        }
    }
    return TRefusal::None;
}

} // namespace

TRefusal PlayRefusal(const TGameInfo& g, int seat, uint8_t suit, uint8_t value)
{
    if (g.LeadSuit == kNone)
        return CheckLead(g, seat, suit);
    if (suit != g.LeadSuit)
        return CheckDiscard(g, seat, suit, value);
    return CheckFollow(g, seat, suit, value);
}

bool IsPlayable(const TGameInfo& g, int seat, uint8_t suit, uint8_t value, std::string& message)
{
    const TRefusal refusal = PlayRefusal(g, seat, suit, value);
    if (refusal != TRefusal::None)
        message = RefusalText(refusal, g, TMove::PlayCard(suit, value));
    return refusal == TRefusal::None;
}

bool CanPlay(const TGameInfo& g, int seat, uint8_t suit, uint8_t value)
{
    return PlayRefusal(g, seat, suit, value) == TRefusal::None;
}

uint8_t HighestOnTable(const TGameInfo& g, uint8_t suit)
{
    uint8_t best = kNone;
    int bestRank = -1;
    for (int i = 0; i < TrickCards(g); ++i) {
        if (g.TrickSuit[i] == suit && Rank(g.TrickValue[i]) > bestRank) {
            bestRank = Rank(g.TrickValue[i]);
            best = g.TrickValue[i];
        }
    }
    return best;
}
