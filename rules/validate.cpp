// Checks a record that comes from outside (the network, a saved game) before the rules
// touch it: every byte the rules index with must lie in its range.
#include "gameinfo.h"
#include "record_access.h"

#include <cstring>

using namespace rules_detail;

namespace {

bool IsCard(uint8_t suit, uint8_t value) { return suit <= Spades && value <= King; }

bool IsSeatOrNone(uint8_t seat) { return seat < 4 || seat == kNone; }

// cardsInRows: whether the rows below the counts hold cards. The taken rows do so only in
// the contracts that collect penalty cards; elsewhere their count is a number of tricks and
// the rows keep whatever an earlier hand (or a fresh record) left there.
bool RowsValid(const uint8_t values[4][13], const uint8_t suits[4][13], const uint8_t counts[4],
               bool cardsInRows = true)
{
    for (int seat = 0; seat < 4; ++seat) {
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
    for (int seat = 0; seat < 4; ++seat)
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

} // namespace

bool IsValidGameInfo(const TGameInfo& g)
{
    return RowsValid(g.CardValue, g.CardSuit, g.CardCount) &&
           RowsValid(g.TakenValue, g.TakenSuit, g.TakenCount, CollectsCards(g.Contract)) && ScoreValid(g.Score) &&
           TrickValid(g) && IsSeatOrNone(g.Leader) && IsSeatOrNone(g.Turn) &&
           IsSeatOrNone(g.Chooser) && IsSeatOrNone(g.HandChooser) &&
           (g.Contract < kContractCount || g.Contract == kNone) && PhaseValid(g.Phase) &&
           g.TricksPlayed <= kRowSize && NamesValid(g);
}
