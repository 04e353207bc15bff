// The game record: a new game, choosing, playing, and the end of a trick.
#include <gtest/gtest.h>

#include "rules_test_util.h"

using namespace rules_test;

TEST(NewGame, ClearsTheScoresOfTheGameBefore)
{
    TGameInfo g;
    std::memset(&g, 0x5A, sizeof g);
    TRandom rnd(42);
    NewGame(g, rnd);
    EXPECT_TRUE(HasCard(g, g.Chooser, Diamonds, Deuce));
    EXPECT_EQ(g.Contract, kNone);
    for (int seat = 0; seat < 4; ++seat)
        EXPECT_EQ(g.TakenCount[seat] + g.Score.Totals[seat].Total + g.Score.PenaltyScore[seat][5], 0);
    EXPECT_EQ(ContractsPlayed(g) + g.Score.UsedOnce + g.Score.UsedTwice, 0);
}

TEST(ChooseContract, TheChooserLeadsAndOnlyAvailableContractsCount)
{
    TGameInfo g = Table(kNone);
    StartHand(g, 2);
    ChooseContract(g, KozKupa);
    EXPECT_EQ(g.Turn, 2);
    EXPECT_EQ(g.Chooser, kNone);
    EXPECT_EQ(g.Score.UsedOnce | g.Score.UsedTwice, 0);
    ChooseContract(g, KizAlmaz); // nobody is choosing any more
    EXPECT_EQ(g.Contract, KozKupa);
    for (int seat : {1, 3}) {
        StartHand(g, seat);
        ChooseContract(g, ErkekAlmaz);
        EXPECT_EQ(g.Score.UsedTwice, seat == 1 ? 0 : 1 << 3);
    }
    StartHand(g, 0);
    g.Score.TrumpsChosen[0] = 2;
    const TGameInfo before = g;
    for (uint8_t c : {uint8_t(10), kNone, uint8_t(KozSinek), uint8_t(ErkekAlmaz)})
        ChooseContract(g, c);
    EXPECT_EQ(std::memcmp(&g, &before, sizeof g), 0);
}

TEST(PlayCard, TheTrickFillsInSeatOrderAndTakesNoFifthCard)
{
    NoticeRecorder recorder;
    TGameInfo g = Table(ElAlmaz);
    SetHand(g, 1, "AS 5S 2D");
    SetHand(g, 3, "QS");
    PlayCard(g, 1, Spades, Five);
    EXPECT_EQ(Hand(g, 1), Cards("AS 2D")); // the gap closes
    PlayCard(g, 2, Hearts, Three);         // not held: into the trick all the same
    EXPECT_EQ(recorder.notices, std::vector<std::string>{"There is an eror with deleting card!"});
    PlayCard(g, 3, Spades, Queen);
    PlayCard(g, 3, 4, Three); // not a card, not a seat: nothing happens
    PlayCard(g, 7, Hearts, Four);
    EXPECT_EQ(g.CardCount[3], 0);
    PlayCard(g, 0, Spades, Jack);
    EXPECT_EQ(g.TrickSuit[1], Hearts);
    EXPECT_EQ(g.LeadSuit, Spades);
    EXPECT_EQ(g.Leader, 1);
    EXPECT_EQ(g.Turn, 1);
    EXPECT_EQ(g.Phase, psTrickComplete);
    const TGameInfo full = g;
    PlayCard(g, 1, Spades, Ace);
    EXPECT_EQ(std::memcmp(&g, &full, sizeof g), 0);

    EndTrick(g, 3);
    EXPECT_EQ(g.LedCount[Spades], 1);
    EXPECT_EQ(g.TrickCount + g.LeadSuit + g.Leader, 2 * kNone);
    EXPECT_EQ(g.Turn, 3);
}
