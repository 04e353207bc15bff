// Checks a record that comes from outside (the network, a saved game) before the rules
// touch it: every byte the rules index with must lie in its range, and the game must be
// able to go on from it.
#include "gameinfo.h"
#include "record_access.h"

#include <bit>
#include <cstring>

using namespace rules_detail;

namespace {

bool IsCard(uint8_t suit, uint8_t value) { return suit <= Spades && value <= King; }

bool IsSeatOrNone(uint8_t seat) { return seat < kSeatCount || seat == kNoSeat; }

// cardsInRows: whether the rows below the counts hold cards. The taken rows do so only in
// the contracts that collect penalty cards; elsewhere their count is a number of tricks and
// the rows keep whatever an earlier hand (or a fresh record) left there.
bool RowsValid(const uint8_t values[kSeatCount][13], const uint8_t suits[kSeatCount][13],
               const uint8_t counts[kSeatCount], bool cardsInRows = true)
{
    for (int seat = 0; seat < kSeatCount; ++seat) {
        if (counts[seat] > kRowSize)
            return false;
        for (int i = 0; cardsInRows && i < counts[seat]; ++i)
            if (!IsCard(suits[seat][i], values[seat][i]))
                return false;
    }
    return true;
}

bool CollectsCards(uint8_t contract)
{
    return contract == KupaAlmaz || contract == KizAlmaz || contract == ErkekAlmaz;
}

bool ScoreValid(const TScoreInfo& s)
{
    for (int seat = 0; seat < kSeatCount; ++seat)
        if (s.TrumpsChosen[seat] > 2 || s.PenaltiesChosen[seat] > 3)
            return false;
    return true;
}

bool TrickValid(const TGameInfo& g)
{
    if (g.TrickCount > kTrickSize)
        return false;
    for (int i = 0; i < g.TrickCount; ++i)
        if (!IsCard(g.TrickSuit[i], g.TrickValue[i]))
            return false;
    for (uint8_t led : g.LedCount)
        if (led > kRowSize)
            return false;
    return g.LeadSuit <= Spades || g.LeadSuit == kNone;
}

bool PhaseValid(uint8_t phase)
{
    return phase == psTrickComplete || phase == psPlaying || phase == psChoosing ||
           phase == psWaiting || phase == psGameOver;
}

bool NamesValid(const TGameInfo& g)
{
    for (const auto& name : g.PlayerName)
        if (std::memchr(name, '\0', kNameSize) == nullptr)
            return false;
    return true;
}

bool InRange(const TGameInfo& g)
{
    return RowsValid(g.CardValue, g.CardSuit, g.CardCount) &&
           RowsValid(g.TakenValue, g.TakenSuit, g.TakenCount, CollectsCards(g.Contract)) && ScoreValid(g.Score) &&
           TrickValid(g) && IsSeatOrNone(g.Leader) && IsSeatOrNone(g.Turn) &&
           IsSeatOrNone(g.Chooser) && IsSeatOrNone(g.HandChooser) &&
           (g.Contract < kContractCount || g.Contract == kNone) && PhaseValid(g.Phase) &&
           g.TricksPlayed <= kRowSize && NamesValid(g);
}

// Every seat holds the cards the hand so far leaves it: one fewer per trick played, and one
// fewer again for the seats that have laid a card into the open trick. Then nobody runs
// out of cards before the hand ends.
bool HandsMatchTheTricks(const TGameInfo& g)
{
    for (int seat = 0; seat < kSeatCount; ++seat) {
        const bool laid = g.TrickCount > 0 && (seat - g.Leader + kSeatCount) % kSeatCount < g.TrickCount;
        if (g.CardCount[seat] != kRowSize - g.TricksPlayed - (laid ? 1 : 0))
            return false;
    }
    return true;
}

bool CanChoose(const TGameInfo& g)
{
    if (g.Chooser >= kSeatCount || g.TrickCount != 0 || g.TricksPlayed != 0 || !HandsMatchTheTricks(g))
        return false;
    for (int c = 0; c < kContractCount; ++c)
        if (ContractAvailable(g, g.Chooser, c))
            return true;
    return false;
}

// The trick on the table was led by Leader and the next card is Turn's.
bool TrickInOrder(const TGameInfo& g)
{
    if (g.TrickCount == 0)
        return g.LeadSuit == kNone;
    return g.Leader < kSeatCount && g.LeadSuit == g.TrickSuit[0] && g.Turn == (g.Leader + g.TrickCount) % kSeatCount;
}

bool CanPlayACard(const TGameInfo& g)
{
    if (g.Turn >= kSeatCount || g.TrickCount >= kTrickSize || g.Contract >= kContractCount ||
        g.TricksPlayed >= kRowSize || !TrickInOrder(g) || !HandsMatchTheTricks(g))
        return false;
    for (int i = 0; i < g.CardCount[g.Turn]; ++i)
        if (CanPlay(g, g.Turn, g.CardSuit[g.Turn][i], g.CardValue[g.Turn][i]))
            return true;
    return false;
}

bool CanResolve(const TGameInfo& g)
{
    return g.TrickCount == kTrickSize && g.Contract < kContractCount && g.TricksPlayed < kRowSize &&
           TrickInOrder(g) && HandsMatchTheTricks(g);
}

int PenaltyCardsInDeck(uint8_t contract)
{
    switch (contract) {
    case KupaAlmaz: return 13; // the hearts
    case KizAlmaz: return 4;   // the queens
    case ErkekAlmaz: return 8; // the jacks and kings
    default: return 0;
    }
}

bool IsPenaltyCard(uint8_t contract, uint8_t suit, uint8_t value)
{
    switch (contract) {
    case KupaAlmaz: return suit == Hearts;
    case KizAlmaz: return value == Queen;
    case ErkekAlmaz: return value == Jack || value == King;
    default: return false;
    }
}

// The 52 cards, each in one place at most: a hand, the trick on the table or, where the
// contract collects them, the penalty cards taken in this hand. With the hands matching the
// tricks played (CanGoOn), the hands and the trick hold all the cards not yet played. In a
// hand being played, the penalty cards taken are the contract's and, with those still in
// the hands and the trick, make up all of them; elsewhere the taken counts are the tricks
// that count, and the tricks led in each suit add up to the tricks played.
bool CardsAccountedFor(const TGameInfo& g)
{
    uint64_t seen = 0;
    const auto place = [&seen](uint8_t suit, uint8_t value) {
        const uint64_t bit = uint64_t(1) << (suit * kRowSize + value);
        const bool fresh = (seen & bit) == 0;
        seen |= bit;
        return fresh;
    };
    for (int seat = 0; seat < kSeatCount; ++seat)
        for (int i = 0; i < g.CardCount[seat]; ++i)
            if (!place(g.CardSuit[seat][i], g.CardValue[seat][i]))
                return false;
    for (int i = 0; i < g.TrickCount; ++i)
        if (!place(g.TrickSuit[i], g.TrickValue[i]))
            return false;
    if (g.Phase != psPlaying && g.Phase != psTrickComplete)
        return true;

    int led = 0, taken = 0;
    for (int suit = 0; suit < 4; ++suit)
        led += g.LedCount[suit];
    for (int seat = 0; seat < kSeatCount; ++seat)
        taken += g.TakenCount[seat];
    if (led != g.TricksPlayed)
        return false;
    if (CollectsCards(g.Contract)) {
        int inPlay = 0;
        for (int code = 0; code < 52; ++code)
            if ((seen >> code) & 1)
                inPlay += IsPenaltyCard(g.Contract, uint8_t(code / kRowSize), uint8_t(code % kRowSize));
        for (int seat = 0; seat < kSeatCount; ++seat)
            for (int i = 0; i < g.TakenCount[seat]; ++i)
                if (!IsPenaltyCard(g.Contract, g.TakenSuit[seat][i], g.TakenValue[seat][i]) ||
                    !place(g.TakenSuit[seat][i], g.TakenValue[seat][i]))
                    return false;
        return inPlay + taken == PenaltyCardsInDeck(g.Contract);
    }
    // Every trick counts for its taker, in Soniki Almaz only the last two, in Rıfkı Almaz none.
    const int counted = g.Contract == RifkiAlmaz    ? 0
                        : g.Contract == SonikiAlmaz ? (g.TricksPlayed > 11 ? g.TricksPlayed - 11 : 0)
                                                    : g.TricksPlayed;
    return taken == counted;
}

// The contracts chosen agree with each other and the totals with their parts.
bool ScoreAgrees(const TScoreInfo& s)
{
    constexpr uint8_t kPenaltyBits = 0x3F;
    if ((s.UsedOnce & ~kPenaltyBits) || (s.UsedTwice & ~s.UsedOnce))
        return false;
    int penalties = 0;
    for (int seat = 0; seat < kSeatCount; ++seat) {
        penalties += s.PenaltiesChosen[seat];
        int sum = 0;
        for (int16_t cell : s.PenaltyScore[seat]) {
            if (cell > 0)
                return false;
            sum += cell;
        }
        const TSeatTotals& t = s.Totals[seat];
        if (t.PenaltyTotal != sum || t.TrumpTotal < 0 || t.Total != t.PenaltyTotal + t.TrumpTotal)
            return false;
    }
    return penalties == std::popcount(s.UsedOnce) + std::popcount(s.UsedTwice);
}

// Someone can make the next move: the chooser has a contract left, the seat to play holds
// a card it may play, or a full trick waits to be resolved. A finished game goes on only
// through a new one, which is always possible.
bool CanGoOn(const TGameInfo& g)
{
    switch (g.Phase) {
    case psChoosing: return CanChoose(g);
    case psPlaying: return CanPlayACard(g);
    case psTrickComplete: return CanResolve(g);
    case psGameOver: return true;
    default: return false;
    }
}

} // namespace

bool IsValidGameInfo(const TGameInfo& g)
{
    return InRange(g) && CanGoOn(g) && CardsAccountedFor(g) && ScoreAgrees(g.Score);
}
