#include "recordchain.h"

#include <cstring>

namespace {

bool Same(const TGameInfo& a, const TGameInfo& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Takes the cards of a deal (and who holds the two of diamonds, for a new game) from
// dealt, so that a record built without knowing the deal can be compared whole.
void TakeDeal(TGameInfo& g, const TGameInfo& dealt)
{
    std::memcpy(g.CardValue, dealt.CardValue, sizeof g.CardValue);
    std::memcpy(g.CardSuit, dealt.CardSuit, sizeof g.CardSuit);
    std::memcpy(g.CardCount, dealt.CardCount, sizeof g.CardCount);
}

bool WholeDeal(const TGameInfo& g)
{
    for (int seat = 0; seat < kSeatCount; ++seat)
        if (g.CardCount[seat] != 13)
            return false;
    return IsValidGameInfo(g);
}

std::string AfterDeal(TGameInfo expected, const TGameInfo& b, const char* what)
{
    TakeDeal(expected, b);
    if (!WholeDeal(b))
        return std::string(what) + ": the new deal is not 4 x 13 cards";
    return Same(expected, b) ? std::string() : std::string(what) + ": not the record that follows";
}

std::string ChoosingStep(const TGameInfo& a, const TGameInfo& b)
{
    for (int c = 0; c < kContractCount; ++c) {
        if (!ContractAvailable(a, a.Chooser, c))
            continue;
        TGameInfo next = a;
        ChooseContract(next, uint8_t(c));
        if (Same(next, b))
            return {};
    }
    return "no contract the chooser may choose leads to it";
}

std::string PlayingStep(const TGameInfo& a, const TGameInfo& b)
{
    if (a.Turn > 3 || a.TrickCount >= 4)
        return "nobody is to play";
    for (int i = 0; i < a.CardCount[a.Turn]; ++i) {
        const uint8_t suit = a.CardSuit[a.Turn][i], value = a.CardValue[a.Turn][i];
        if (!CanPlay(a, a.Turn, suit, value))
            continue;
        TGameInfo next = a;
        PlayCard(next, a.Turn, suit, value);
        if (Same(next, b))
            return {};
    }
    return "no card the player to move may play leads to it";
}

std::string ResolveStep(const TGameInfo& a, const TGameInfo& b)
{
    TGameInfo next = a;
    const uint8_t winner = WhoBiggest(next);
    ScoreTrick(next, winner);
    if (next.TricksPlayed != 13) {
        EndTrick(next, winner);
        return Same(next, b) ? std::string() : std::string("trick resolution: not the record that follows");
    }
    if (ContractsPlayed(next) >= 20) {
        EndGame(next);
        return Same(next, b) ? std::string() : std::string("end of the game: not the record that follows");
    }
    TRandom any(1);
    NextHand(next, any);
    return AfterDeal(next, b, "next hand");
}

std::string NewGameStep(const TGameInfo& a, const TGameInfo& b)
{
    TGameInfo next = a;
    TRandom any(1);
    NewGame(next, any);
    next.Chooser = b.Chooser;
    next.HandChooser = b.HandChooser;
    if (b.Chooser > 3 || !HasCard(b, b.Chooser, Diamonds, Deuce))
        return "new game: the chooser does not hold the two of diamonds";
    return AfterDeal(next, b, "new game");
}

} // namespace

bool IsFreshGame(const TGameInfo& g)
{
    if (g.Phase != psChoosing || ContractsPlayed(g) != 0 || g.TricksPlayed != 0 || !WholeDeal(g))
        return false;
    for (int seat = 0; seat < kSeatCount; ++seat)
        if (g.TakenCount[seat] != 0 || g.Score.Totals[seat].Total != 0)
            return false;
    return g.Chooser <= 3 && HasCard(g, g.Chooser, Diamonds, Deuce);
}

std::string StepFault(const TGameInfo& a, const TGameInfo& b)
{
    if (Same(a, b))
        return "the same record twice";
    switch (a.Phase) {
    case psChoosing: return ChoosingStep(a, b);
    case psPlaying: return PlayingStep(a, b);
    case psTrickComplete: return ResolveStep(a, b);
    case psGameOver: return NewGameStep(a, b);
    default: return "no record follows phase " + std::to_string(int(a.Phase));
    }
}

TChainCheck CheckChain(const std::vector<TGameInfo>& records)
{
    TChainCheck check;
    if (records.empty())
        return check;
    if (!IsFreshGame(records.front())) {
        check.Fault = "the first record is not a game just dealt";
        return check;
    }
    check.Games = 1;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const TGameInfo& g = records[i];
        if (i > 0) {
            const std::string fault = StepFault(records[i - 1], g);
            if (!fault.empty()) {
                check.FaultAt = i;
                check.Fault = "record " + std::to_string(i) + ": " + fault;
                return check;
            }
            if (records[i - 1].Phase == psGameOver)
                ++check.Games;
            else if (g.Phase == psChoosing || g.Phase == psGameOver)
                ++check.Hands;
        }
        if (g.Phase == psTrickComplete) {
            ++check.TrickCompletes;
            check.Takers.push_back(WhoBiggest(g));
        }
    }
    return check;
}
