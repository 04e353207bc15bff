// Who takes a trick, what it costs or earns, and the bookkeeping of contracts.
#include "gameinfo.h"
#include "notify.h"
#include "record_access.h"

using namespace rules_detail;

namespace {

template <typename Pred>
int CountInHands(const TGameInfo& g, Pred pred)
{
    int n = 0;
    for (int seat = 0; seat < kSeatCount; ++seat)
        for (int i = 0; i < HeldCount(g, seat); ++i)
            if (pred(g.CardSuit[seat][i], g.CardValue[seat][i]))
                ++n;
    return n;
}

bool IsMale(uint8_t value) { return value == Jack || value == King; }

void CountTakenTrick(TGameInfo& g, int winner)
{
    if (g.TakenCount[winner] < kRowSize)
        ++g.TakenCount[winner];
}

// Moves the trick's cards that match into the winner's taken rows; returns how many.
template <typename Pred>
int TakePenaltyCards(TGameInfo& g, int winner, Pred pred)
{
    int n = 0;
    for (int i = 0; i < TrickCards(g); ++i) {
        if (!pred(g.TrickSuit[i], g.TrickValue[i]))
            continue;
        AddCard(g.TakenValue, g.TakenSuit, g.TakenCount, winner, g.TrickSuit[i], g.TrickValue[i]);
        ++n;
    }
    return n;
}

} // namespace

uint8_t WhoBiggest(const TGameInfo& g)
{
    int bestStrength = -1;
    int bestPos = -1;
    for (int i = 0; i < TrickCards(g); ++i) {
        int strength = Rank(g.TrickValue[i]);
        if (IsTrumpContract(g.Contract) && g.TrickSuit[i] == g.Contract - KozSinek)
            strength += 200;
        if (g.TrickSuit[i] == g.LeadSuit)
            strength += 100;
        if (strength > bestStrength) {
            bestStrength = strength;
            bestPos = i;
        }
    }
    if (bestPos < 0) {
        Notify("WhoBiggest bulunamadı!");
        return kNone;
    }
    return static_cast<uint8_t>((g.Leader + bestPos) % kSeatCount);
}

void ScoreTrick(TGameInfo& g, int winner)
{
    if (!IsSeat(winner))
        return;
    bool handOver = false;
    const uint8_t c = g.Contract;
    if (IsTrumpContract(c) || c == ElAlmaz) {
        AddScore(g.Score, winner, c, 1);
        CountTakenTrick(g, winner);
    } else if (c == KupaAlmaz) {
        const int n = TakePenaltyCards(g, winner, [](uint8_t s, uint8_t) { return s == Hearts; });
        AddScore(g.Score, winner, c, n);
        handOver = HeartsLeft(g) == 0;
    } else if (c == KizAlmaz) {
        const int n = TakePenaltyCards(g, winner, [](uint8_t, uint8_t v) { return v == Queen; });
        AddScore(g.Score, winner, c, n);
        handOver = QueensLeft(g) == 0;
    } else if (c == ErkekAlmaz) {
        const int n = TakePenaltyCards(g, winner, [](uint8_t, uint8_t v) { return IsMale(v); });
        AddScore(g.Score, winner, c, n);
        handOver = MalesLeft(g) == 0;
    } else if (c == SonikiAlmaz) {
        if (g.TricksPlayed >= 11) {
            AddScore(g.Score, winner, c, 1);
            CountTakenTrick(g, winner);
        }
    } else if (c == RifkiAlmaz) {
        const int n = TrickHolds(g, Hearts, King) ? 1 : 0;
        AddScore(g.Score, winner, c, n);
        handOver = n > 0;
    }
    if (handOver)
        g.TricksPlayed = 12;
    if (g.TricksPlayed < kRowSize)
        ++g.TricksPlayed;
}

void AddScore(TScoreInfo& s, int seat, int contract, int count)
{
    if (!IsSeat(seat) || contract < 0 || contract >= kContractCount)
        return;
    TSeatTotals& totals = s.Totals[seat];
    if (contract <= RifkiAlmaz) {
        int16_t& cell = s.PenaltyScore[seat][contract];
        cell = static_cast<int16_t>(cell - PenaltyPoints[contract] * count);
        int sum = 0;
        for (int16_t points : s.PenaltyScore[seat])
            sum += points;
        totals.PenaltyTotal = static_cast<int16_t>(sum);
    } else {
        totals.TrumpTotal = static_cast<int16_t>(totals.TrumpTotal + PenaltyPoints[contract] * count);
    }
    totals.Total = static_cast<int16_t>(totals.PenaltyTotal + totals.TrumpTotal);
}

int HeartsLeft(const TGameInfo& g)
{
    return CountInHands(g, [](uint8_t s, uint8_t) { return s == Hearts; });
}

int QueensLeft(const TGameInfo& g)
{
    return CountInHands(g, [](uint8_t, uint8_t v) { return v == Queen; });
}

int MalesLeft(const TGameInfo& g)
{
    return CountInHands(g, [](uint8_t, uint8_t v) { return IsMale(v); });
}

bool ContractAvailable(const TGameInfo& g, int seat, int contract)
{
    if (!IsSeat(seat))
        return false;
    if (contract >= ElAlmaz && contract <= RifkiAlmaz)
        return TimesChosen(g.Score, contract) < 2 && g.Score.PenaltiesChosen[seat] < 3;
    if (contract >= KozSinek && contract <= KozMaca)
        return g.Score.TrumpsChosen[seat] < 2;
    return false;
}

uint8_t ResolveTrick(TGameInfo& g, TRandom& rnd)
{
    if (g.Phase != psTrickComplete)
        return kNone;
    const uint8_t winner = WhoBiggest(g);
    if (winner == kNone)
        return kNone;
    ScoreTrick(g, winner);
    if (g.TricksPlayed < kRowSize)
        EndTrick(g, winner);
    else if (ContractsPlayed(g) < 20)
        NextHand(g, rnd);
    else
        EndGame(g);
    return winner;
}
