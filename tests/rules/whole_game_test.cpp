// Whole games driven through the move rule with random legal plays and random available
// contracts: the invariants hold after every step, every move out of turn or against the
// rules is refused without a trace, and the game ends as a game must.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "move.h"
#include "rules_test_util.h"

using namespace rules_test;

namespace {

// What a full hand of each contract books in all: 13 tricks, 13 hearts, 4 queens,
// 8 jacks and kings, 2 last tricks, 1 King of hearts; 13 trump tricks.
constexpr int kHandAmount[kContractCount] = {-650, -390, -400, -480, -360, -320,
                                             650,  650,  650,  650};

int SumOfTotals(const TGameInfo& g)
{
    const TSeatTotals* t = g.Score.Totals;
    return t[0].Total + t[1].Total + t[2].Total + t[3].Total;
}

void CheckStep(const TGameInfo& g, const std::vector<Card>& playedThisHand)
{
    ASSERT_TRUE(IsValidGameInfo(g));
    if (g.Phase == psGameOver)
        return;
    std::vector<int> seen(52, 0);
    std::vector<Card> cards = playedThisHand;
    for (int seat = 0; seat < 4; ++seat)
        for (const Card& c : Hand(g, seat))
            cards.push_back(c);
    for (int i = 0; i < g.TrickCount; ++i)
        cards.push_back({g.TrickSuit[i], g.TrickValue[i]});
    for (const Card& c : cards)
        ++seen[c.suit * 13 + c.value];
    ASSERT_EQ(std::count(seen.begin(), seen.end(), 1), 52);
    for (int seat = 0; seat < 4; ++seat) {
        const TSeatTotals& t = g.Score.Totals[seat];
        const int16_t* cells = g.Score.PenaltyScore[seat];
        ASSERT_EQ(t.PenaltyTotal, std::accumulate(cells, cells + 6, 0));
        ASSERT_EQ(t.Total, t.PenaltyTotal + t.TrumpTotal);
    }
}

// Moves the rule must refuse at this point, each leaving the record as it was.
void CheckRefusals(const TGameInfo& g, const TMove& due)
{
    const int seat = AwaitedSeat(g);
    ASSERT_NE(seat, kNoSeat);
    const int next = (seat + 1) % kSeatCount;
    const auto refused = [&g](int who, const TMove& move, TRefusal expected) {
        TGameInfo after = g;
        EXPECT_EQ(ApplyMove(after, who, move), expected);
        EXPECT_EQ(std::memcmp(&after, &g, sizeof g), 0);
    };
    refused(seat, TMove{}, TRefusal::NoMove);
    refused(kNoSeat, due, due.Kind == TMove::TKind::Card ? TRefusal::NotToPlay : TRefusal::NotToChoose);
    if (due.Kind == TMove::TKind::Contract) {
        EXPECT_EQ(Awaited(g, next), TMove::TKind::None);
        refused(next, due, TRefusal::NotToChoose);
        refused(seat, TMove::PlayCard(HandSuit(g, seat, 0), HandValue(g, seat, 0)), TRefusal::NotToPlay);
        for (int c = 0; c < kContractCount; ++c)
            if (!ContractAvailable(g, seat, c))
                refused(seat, TMove::ChooseContract(uint8_t(c)), TRefusal::NotAvailable);
        return;
    }
    if (HandCount(g, next) > 0) { // the next seat may have played its last card already
        const TMove other = TMove::PlayCard(HandSuit(g, next, 0), HandValue(g, next, 0));
        refused(next, other, TRefusal::NotToPlay);
        refused(seat, other, TRefusal::NotHeld);
    }
    refused(seat, TMove::ChooseContract(g.Contract), TRefusal::NotToChoose);
    for (const Card& c : Hand(g, seat)) {
        const TMove move = TMove::PlayCard(c.suit, c.value);
        const TRefusal why = CheckMove(g, seat, move);
        std::string text;
        EXPECT_EQ(why == TRefusal::None, IsPlayable(g, seat, c.suit, c.value, text));
        if (why != TRefusal::None) {
            EXPECT_EQ(RefusalText(why, g, move), text);
            refused(seat, move, why);
        }
    }
}

void PlayWholeGame(uint32_t seed)
{
    TRandom rnd(seed);
    std::mt19937 choice(seed ^ 0x9E3779B9u);
    TGameInfo g;
    InitGameInfo(g);
    NewGame(g, rnd);
    ASSERT_TRUE(HasCard(g, g.Chooser, Diamonds, Deuce));
    const int firstChooser = g.Chooser;
    std::vector<Card> played;
    int hands = 0, chooses[4][2] = {}, timesChosen[6] = {}, sumBeforeHand = 0;
    while (g.Phase != psGameOver) {
        ASSERT_NO_FATAL_FAILURE(CheckStep(g, played));
        if (g.Phase == psChoosing) {
            ASSERT_EQ(g.Chooser, (firstChooser + hands) % 4);
            ASSERT_EQ(g.TakenCount[0] | g.TakenCount[1] | g.TakenCount[2] | g.TakenCount[3], 0);
            const std::vector<int> available = AvailableContracts(g, g.Chooser);
            ASSERT_FALSE(available.empty());
            const int c = available[choice() % available.size()];
            const TMove move = TMove::ChooseContract(static_cast<uint8_t>(c));
            ASSERT_EQ(Awaited(g, g.Chooser), TMove::TKind::Contract);
            ASSERT_NO_FATAL_FAILURE(CheckRefusals(g, move));
            ++chooses[g.Chooser][c > RifkiAlmaz];
            if (c <= RifkiAlmaz)
                ++timesChosen[c];
            ++hands;
            sumBeforeHand = SumOfTotals(g);
            ASSERT_EQ(ApplyMove(g, g.Chooser, move), TRefusal::None);
            ASSERT_EQ(g.Phase, psPlaying);
        } else if (g.Phase == psPlaying) {
            const std::vector<Card> legal = LegalCards(g, g.Turn);
            ASSERT_FALSE(legal.empty()) << "no legal card for seat " << int(g.Turn);
            const Card c = legal[choice() % legal.size()];
            const TMove move = TMove::PlayCard(c.suit, c.value);
            ASSERT_EQ(Awaited(g, g.Turn), TMove::TKind::Card);
            ASSERT_NO_FATAL_FAILURE(CheckRefusals(g, move));
            ASSERT_EQ(ApplyMove(g, g.Turn, move), TRefusal::None);
        } else {
            ASSERT_EQ(g.Phase, psTrickComplete);
            ASSERT_EQ(AwaitedSeat(g), kNoSeat);
            const uint8_t contract = g.Contract;
            for (int i = 0; i < 4; ++i)
                played.push_back({g.TrickSuit[i], g.TrickValue[i]});
            ResolveTrick(g, rnd);
            if (g.Phase != psPlaying) { // the hand is over: it booked its whole amount
                ASSERT_EQ(SumOfTotals(g) - sumBeforeHand, kHandAmount[contract]);
                played.clear();
            }
        }
    }
    ASSERT_NO_FATAL_FAILURE(CheckStep(g, played));
    EXPECT_EQ(hands, 20);
    EXPECT_EQ(ContractsPlayed(g), 20);
    for (int seat = 0; seat < 4; ++seat) {
        EXPECT_EQ(chooses[seat][0], 3) << seat;
        EXPECT_EQ(chooses[seat][1], 2) << seat;
        EXPECT_EQ(g.Score.PenaltiesChosen[seat] * 10 + g.Score.TrumpsChosen[seat], 32) << seat;
    }
    for (int c = 0; c <= RifkiAlmaz; ++c)
        EXPECT_EQ(timesChosen[c], 2) << c;
    EXPECT_EQ(g.Score.UsedTwice, 0x3F);
    EXPECT_EQ(SumOfTotals(g), 0);
}

} // namespace

TEST(WholeGame, RandomLegalGamesKeepEveryInvariant)
{
    for (uint32_t seed = 1; seed <= 200; ++seed) {
        SCOPED_TRACE(seed);
        PlayWholeGame(seed);
        if (HasFatalFailure())
            return;
    }
}
