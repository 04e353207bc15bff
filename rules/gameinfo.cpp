// Construction, queries and the changes of the game record.
#include "gameinfo.h"

#include <cstring>

#include "notify.h"
#include "record_access.h"

using namespace rules_detail;

// ---- Construction and queries ----

void InitGameInfo(TGameInfo& g)
{
    // A fresh record carries no leftovers of another game: empty names, hands, rows and
    // scores, nobody to move or to choose, no contract, waiting for the players.
    std::memset(&g, 0, sizeof g);
    g.LeadSuit = g.Contract = kNone;
    g.Leader = g.Turn = g.Chooser = g.HandChooser = kNoSeat;
    g.Phase = psWaiting;
}

uint8_t HandValue(const TGameInfo& g, int seat, int i)
{
    return IsSeat(seat) && i >= 0 && i < kRowSize ? g.CardValue[seat][i] : kNone;
}

uint8_t HandSuit(const TGameInfo& g, int seat, int i)
{
    return IsSeat(seat) && i >= 0 && i < kRowSize ? g.CardSuit[seat][i] : kNone;
}

int HandCount(const TGameInfo& g, int seat)
{
    return HeldCount(g, seat);
}

uint8_t TakenValueAt(const TGameInfo& g, int seat, int i)
{
    return IsSeat(seat) && i >= 0 && i < kRowSize ? g.TakenValue[seat][i] : kNone;
}

uint8_t TakenSuitAt(const TGameInfo& g, int seat, int i)
{
    return IsSeat(seat) && i >= 0 && i < kRowSize ? g.TakenSuit[seat][i] : kNone;
}

int TakenCountOf(const TGameInfo& g, int seat)
{
    return IsSeat(seat) ? RowCount(g.TakenCount[seat]) : 0;
}

bool HasCard(const TGameInfo& g, int seat, uint8_t suit, uint8_t value)
{
    for (int i = 0; i < HeldCount(g, seat); ++i)
        if (g.CardSuit[seat][i] == suit && g.CardValue[seat][i] == value)
            return true;
    return false;
}

int SuitCount(const TGameInfo& g, int seat, uint8_t suit)
{
    int n = 0;
    for (int i = 0; i < HeldCount(g, seat); ++i)
        if (g.CardSuit[seat][i] == suit)
            ++n;
    return n;
}

int TimesChosen(const TScoreInfo& s, int contract)
{
    if (contract < 0 || contract > 7)
        return 0;
    return ((s.UsedOnce >> contract) & 1) + ((s.UsedTwice >> contract) & 1);
}

int ContractsPlayed(const TGameInfo& g)
{
    int n = 0;
    for (int seat = 0; seat < kSeatCount; ++seat)
        n += g.Score.TrumpsChosen[seat] + g.Score.PenaltiesChosen[seat];
    return n;
}

// ---- Changes ----

void AddCard(uint8_t values[kSeatCount][13], uint8_t suits[kSeatCount][13], uint8_t counts[kSeatCount],
             int seat, uint8_t suit, uint8_t value)
{
    // A full row takes no more cards: the byte after it belongs to another field.
    if (!IsSeat(seat) || counts[seat] >= kRowSize)
        return;
    values[seat][counts[seat]] = value;
    suits[seat][counts[seat]] = suit;
    ++counts[seat];
}

void RemoveCard(TGameInfo& g, int seat, uint8_t suit, uint8_t value)
{
    const int count = HeldCount(g, seat);
    for (int i = 0; i < count; ++i) {
        if (g.CardSuit[seat][i] != suit || g.CardValue[seat][i] != value)
            continue;
        for (int j = i; j + 1 < count; ++j) {
            g.CardValue[seat][j] = g.CardValue[seat][j + 1];
            g.CardSuit[seat][j] = g.CardSuit[seat][j + 1];
        }
        g.CardCount[seat] = static_cast<uint8_t>(count - 1);
        return;
    }
    Notify("There is an eror with deleting card!");
}

void NewGame(TGameInfo& g, TRandom& rnd)
{
    DealCards(g, rnd);
    ResetScores(g.Score);
    for (int seat = 0; seat < kSeatCount; ++seat) {
        if (HasCard(g, seat, Diamonds, Deuce)) {
            StartHand(g, seat);
            break;
        }
    }
    for (auto& count : g.TakenCount)
        count = 0;
}

void StartHand(TGameInfo& g, int seat)
{
    g.Chooser = static_cast<uint8_t>(seat);
    g.HandChooser = static_cast<uint8_t>(seat);
    g.Turn = kNoSeat;
    g.Leader = kNoSeat;
    g.LeadSuit = kNone;
    g.TricksPlayed = 0;
    g.TrickCount = 0;
    for (auto& led : g.LedCount)
        led = 0;
    g.Contract = kNone;
    g.Phase = psChoosing;
}

void ChooseContract(TGameInfo& g, uint8_t contract)
{
    // Only a contract the chooser may still choose is applied: anything else would index
    // the per-seat counts or the point table outside their rows, or push a count of
    // chosen contracts past its range.
    if (!IsSeat(g.Chooser) || !ContractAvailable(g, g.Chooser, contract))
        return;
    g.Contract = contract;
    g.Leader = kNoSeat;
    g.Turn = g.Chooser;
    g.Chooser = kNoSeat;
    g.LeadSuit = kNone;
    g.TricksPlayed = 0;
    g.TrickCount = 0;
    // The play starts with nothing led and nothing taken, whatever a record from outside
    // left in these counts while the contract was being chosen.
    for (auto& led : g.LedCount)
        led = 0;
    for (auto& count : g.TakenCount)
        count = 0;
    if (contract <= RifkiAlmaz) {
        MarkChosen(g.Score, contract);
        ++g.Score.PenaltiesChosen[g.Turn];
    } else {
        ++g.Score.TrumpsChosen[g.Turn];
    }
    g.Phase = psPlaying;
}

void MarkChosen(TScoreInfo& s, int contract)
{
    if (contract < 0 || contract > 7)
        return;
    const auto bit = static_cast<uint8_t>(1u << contract);
    if (TimesChosen(s, contract) == 0)
        s.UsedOnce |= bit;
    else
        s.UsedTwice |= bit;
}

void PlayCard(TGameInfo& g, int seat, uint8_t suit, uint8_t value)
{
    // A fifth card has no place in the trick, and a card that is no card (or comes from
    // no seat) would corrupt the trick and the count of led suits.
    if (g.TrickCount >= kTrickSize || !IsSeat(seat) || suit > Spades || value > King)
        return;
    g.TrickValue[g.TrickCount] = value;
    g.TrickSuit[g.TrickCount] = suit;
    ++g.TrickCount;
    RemoveCard(g, seat, suit, value);
    if (g.LeadSuit == kNone) {
        g.LeadSuit = suit;
        g.Leader = static_cast<uint8_t>(seat);
    }
    g.Turn = static_cast<uint8_t>((seat + 1) % kSeatCount);
    g.Phase = g.TrickCount >= kTrickSize ? psTrickComplete : psPlaying;
}

void EndTrick(TGameInfo& g, int winner)
{
    if (g.LeadSuit <= Spades)
        ++g.LedCount[g.LeadSuit];
    g.TrickCount = 0;
    g.LeadSuit = kNone;
    g.Leader = kNoSeat;
    g.Turn = IsSeat(winner) ? static_cast<uint8_t>(winner) : kNoSeat;
    g.Phase = psPlaying;
}

void NextHand(TGameInfo& g, TRandom& rnd)
{
    DealCards(g, rnd);
    StartHand(g, (g.HandChooser + 1) % kSeatCount);
    for (auto& count : g.TakenCount)
        count = 0;
}

void EndGame(TGameInfo& g)
{
    g.Contract = kNone;
    g.Chooser = kNoSeat;
    g.HandChooser = kNoSeat;
    g.Turn = kNoSeat;
    g.Leader = kNoSeat;
    g.LeadSuit = kNone;
    g.TricksPlayed = 0;
    g.TrickCount = 0;
    for (auto& count : g.CardCount)
        count = 0;
    g.Phase = psGameOver;
}

void ResetScores(TScoreInfo& s)
{
    s.UsedOnce = 0;
    s.UsedTwice = 0;
    for (int seat = 0; seat < kSeatCount; ++seat) {
        s.TrumpsChosen[seat] = 0;
        s.PenaltiesChosen[seat] = 0;
        // By index: the record is packed, so a reference to one of its cells may be misaligned.
        for (std::size_t i = 0; i < sizeof s.PenaltyScore[seat] / sizeof s.PenaltyScore[seat][0]; ++i)
            s.PenaltyScore[seat][i] = 0;
        s.Totals[seat] = TSeatTotals{0, 0, 0};
    }
}
