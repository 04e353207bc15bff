// Whether a seat may play a card, and the Turkish sentence that says why not.
#include "gameinfo.h"
#include "record_access.h"

using namespace rules_detail;

namespace {

// The refusal text is written only for callers that asked for it.
void Refuse(std::string* message, const char* text)
{
    if (message)
        *message = text;
}

bool HoldsAnyOfValue(const TGameInfo& g, int seat, uint8_t value)
{
    for (uint8_t suit = Clubs; suit <= Spades; ++suit)
        if (HasCard(g, seat, suit, value))
            return true;
    return false;
}

// Leading a card (the trick is empty).
bool CheckLead(const TGameInfo& g, int seat, uint8_t suit, std::string* message)
{
    const uint8_t c = g.Contract;
    if (c != KupaAlmaz && c != RifkiAlmaz)
        return true;
    if (suit != Hearts || HeartsLeft(g) != 13)
        return true;
    if (SuitCount(g, seat, Hearts) >= HeldCount(g, seat))
        return true;
    Refuse(message, "Kupa almaz veya Rıfkı almaz'da kupa çıkılmadan kupa çekilmez!");
    return false;
}

// Playing another suit than the one led.
bool CheckDiscard(const TGameInfo& g, int seat, uint8_t suit, uint8_t value, std::string* message)
{
    const uint8_t c = g.Contract;
    const uint8_t lead = g.LeadSuit;
    if (SuitCount(g, seat, lead) > 0) {
        if (message)
            *message = std::string("Elinde ") + SuitName(lead) + " varken niye " + SuitName(suit) +
                       " oynuyorsun?";
        return false;
    }
    if ((c == KupaAlmaz || c == RifkiAlmaz) && suit != Hearts && SuitCount(g, seat, Hearts) > 0) {
        Refuse(message, "Kupa almaz veya Rıfkı Almaz'da elinde kupa varsa kupa satmak zorundasın!");
        return false;
    }
    if (c == RifkiAlmaz && suit == Hearts && value != King && HasCard(g, seat, Hearts, King)) {
        Refuse(message, "Rıfkı almaz'da kağıt satarken öncelikle Rıfkı'yı satmak zorundasın!");
        return false;
    }
    if (c == KizAlmaz && value != Queen && HoldsAnyOfValue(g, seat, Queen)) {
        Refuse(message, "Kız Almaz'da kağıt satarken öncelikle Kız satmak zorundasın!");
        return false;
    }
    if (c == ErkekAlmaz && value != Jack && value != King &&
        (HoldsAnyOfValue(g, seat, Jack) || HoldsAnyOfValue(g, seat, King))) {
        Refuse(message, "Erkek Almaz'da kağıt satarken öncelikle Erkek satmak zorundasın!");
        return false;
    }
    if (IsTrumpContract(c)) {
        const auto trump = static_cast<uint8_t>(c - KozSinek);
        if (suit != trump && SuitCount(g, seat, trump) > 0) {
            if (message)
                *message = std::string("Koz ") + SuitName(trump) + " ve sende " + SuitName(trump) +
                           " var!";
            return false;
        }
    }
    return true;
}

// Following the suit led.
bool CheckFollow(const TGameInfo& g, int seat, uint8_t suit, uint8_t value, std::string* message)
{
    const uint8_t c = g.Contract;
    const uint8_t lead = g.LeadSuit;
    if (lead == Hearts && c == RifkiAlmaz && value != King && HighestOnTable(g, Hearts) == Ace &&
        HasCard(g, seat, Hearts, King)) {
        Refuse(message, "Rıfkı almaz'da Rıfkı'yı verebiliyorsan vermek zorundasın!");
        return false;
    }
    if (c == KizAlmaz && value != Queen && HasCard(g, seat, lead, Queen) &&
        (TrickHolds(g, lead, Ace) || TrickHolds(g, lead, King))) {
        Refuse(message,
               "Kız Almaz'da yerde aynı seriden Kızdan büyük bir kağıt varsa öncelikle Kız "
               "oynamak zorundasın!");
        return false;
    }
    if (c == ErkekAlmaz && value != King && HasCard(g, seat, lead, King) &&
        TrickHolds(g, lead, Ace) && value != Jack) {
        Refuse(message,
               "Erkek Almaz'da yerde aynı seriden As varsa öncelikle Papaz oynamak zorundasın!");
        return false;
    }
    if (c == ErkekAlmaz && value != Jack && HasCard(g, seat, lead, Jack) &&
        (TrickHolds(g, lead, Ace) || TrickHolds(g, lead, King) || TrickHolds(g, lead, Queen)) &&
        value != King) {
        Refuse(message,
               "Erkek Almaz'da yerde aynı seriden Vale'den büyük bir kağıt varsa öncelikle "
               "Vale oynamak zorundasın!");
        return false;
    }
    if (IsTrumpContract(c) && suit == c - KozSinek && TrickCards(g) > 0) {
        const uint8_t top = HighestOnTable(g, suit);
        const int highest = top == kNone ? 0 : Rank(top);
        if (Rank(value) >= highest)
            return true;
        for (int i = 0; i < HeldCount(g, seat); ++i) {
            if (g.CardSuit[seat][i] == suit && Rank(g.CardValue[seat][i]) > highest) {
                Refuse(message, "Koz oynarken yükseltmek mecburidir!");
                return false;
            }
        }
    }
    return true;
}

bool Playable(const TGameInfo& g, int seat, uint8_t suit, uint8_t value, std::string* message)
{
    if (g.LeadSuit == kNone)
        return CheckLead(g, seat, suit, message);
    if (suit != g.LeadSuit)
        return CheckDiscard(g, seat, suit, value, message);
    return CheckFollow(g, seat, suit, value, message);
}

} // namespace

bool IsPlayable(const TGameInfo& g, int seat, uint8_t suit, uint8_t value, std::string& message)
{
    return Playable(g, seat, suit, value, &message);
}

bool CanPlay(const TGameInfo& g, int seat, uint8_t suit, uint8_t value)
{
    return Playable(g, seat, suit, value, nullptr);
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
