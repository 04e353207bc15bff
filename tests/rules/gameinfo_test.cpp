// The game record: a new game, choosing, playing, and the changes between tricks and hands.
#include <gtest/gtest.h>

#include "rules_test_util.h"

using namespace rules_test;

TEST(NewGame, HolderOfTheTwoOfDiamondsChoosesAndEverythingStartsAtZero)
{
    TGameInfo g;
    std::memset(&g, 0x5A, sizeof g); // leftovers of anything
    TRandom rnd(42);
    NewGame(g, rnd);
    ASSERT_LT(g.Chooser, 4);
    EXPECT_TRUE(HasCard(g, g.Chooser, Diamonds, Deuce));
    EXPECT_EQ(g.HandChooser, g.Chooser);
    EXPECT_EQ(g.Contract, kNone);
    EXPECT_EQ(g.Phase, psChoosing);
    for (int seat = 0; seat < 4; ++seat) {
        EXPECT_EQ(g.CardCount[seat], 13);
        EXPECT_EQ(g.TakenCount[seat], 0);
        EXPECT_EQ(g.Score.Totals[seat].Total, 0);
    }
    EXPECT_EQ(ContractsPlayed(g) + g.Score.UsedOnce + g.Score.UsedTwice, 0);
}

TEST(ChooseContract, TheChooserLeadsAndOnlyAvailableContractsCount)
{
    TGameInfo g = Table(kNone);
    StartHand(g, 2);
    ChooseContract(g, KozKupa);
    EXPECT_EQ(g.Turn, 2);
    EXPECT_EQ(g.Chooser, kNone);
    EXPECT_EQ(g.Phase, psPlaying);
    EXPECT_EQ(g.Score.TrumpsChosen[2], 1);
    EXPECT_EQ(g.Score.UsedOnce | g.Score.UsedTwice, 0);
    ChooseContract(g, KizAlmaz); // nobody is choosing any more
    EXPECT_EQ(g.Contract, KozKupa);

    for (int seat : {1, 3}) {
        StartHand(g, seat);
        ChooseContract(g, ErkekAlmaz);
    }
    EXPECT_EQ(g.Score.UsedOnce, 1 << 3);
    EXPECT_EQ(g.Score.UsedTwice, 1 << 3);
    EXPECT_EQ(TimesChosen(g.Score, ErkekAlmaz), 2);

    StartHand(g, 0);
    g.Score.TrumpsChosen[0] = 2;
    const TGameInfo before = g;
    for (uint8_t c : {uint8_t(10), kNone, uint8_t(KozSinek), uint8_t(ErkekAlmaz)})
        ChooseContract(g, c);
    EXPECT_EQ(std::memcmp(&g, &before, sizeof g), 0);
}

TEST(PlayCard, TheTrickFillsInSeatOrderUntilItIsComplete)
{
    TGameInfo g = Table(ElAlmaz);
    SetHand(g, 1, "AS 5S 2D");
    SetHand(g, 2, "KS");
    SetHand(g, 3, "QS");
    SetHand(g, 0, "JS");
    PlayCard(g, 1, Spades, Five);
    EXPECT_EQ(Hand(g, 1), Cards("AS 2D")); // the gap closes
    EXPECT_EQ(g.Leader, 1);
    EXPECT_EQ(g.Turn, 2);
    PlayCard(g, 2, Spades, King);
    PlayCard(g, 3, Spades, Queen);
    EXPECT_EQ(g.Phase, psPlaying);
    PlayCard(g, 0, Spades, Jack);
    EXPECT_EQ(g.Phase, psTrickComplete);
    EXPECT_EQ(g.Turn, 1);
    EXPECT_EQ(g.LeadSuit, Spades);
    EXPECT_EQ(g.Leader, 1);
    EXPECT_EQ(g.CardCount[0], 0);

    const TGameInfo full = g;
    PlayCard(g, 1, Spades, Ace); // a fifth card has no place
    EXPECT_EQ(std::memcmp(&g, &full, sizeof g), 0);
}

TEST(PlayCard, ACardTheSeatDoesNotHoldStillEntersTheTrick)
{
    NoticeRecorder recorder;
    TGameInfo g = Table(ElAlmaz);
    SetHand(g, 0, "AS 2D");
    PlayCard(g, 0, Hearts, Three);
    EXPECT_EQ(recorder.notices, std::vector<std::string>{"There is an eror with deleting card!"});
    EXPECT_EQ(Hand(g, 0), Cards("AS 2D"));
    EXPECT_EQ(g.TrickSuit[0], Hearts);
    EXPECT_EQ(g.LeadSuit, Hearts);
    PlayCard(g, 1, 4, Three); // not a card, not a seat: nothing happens
    PlayCard(g, 7, Hearts, Four);
    EXPECT_EQ(g.TrickCount, 1);
}

TEST(HandsAndGames, EndTrickNextHandAndEndGame)
{
    TGameInfo g = Table(KozKaro);
    SetTrick(g, 2, "5C 6C 7C 8C");
    EndTrick(g, 1);
    EXPECT_EQ(g.LedCount[Clubs], 1);
    EXPECT_EQ(g.TrickCount + g.LeadSuit + g.Leader, 2 * kNone);
    EXPECT_EQ(g.Turn, 1);

    StartHand(g, 3);
    g.TakenCount[2] = 5;
    TRandom rnd(5);
    NextHand(g, rnd);
    EXPECT_EQ(g.Chooser, 0);
    EXPECT_EQ(g.TakenCount[2] + g.LedCount[Clubs], 0);
    EXPECT_EQ(g.Phase, psChoosing);

    g.Score.Totals[1].Total = -120;
    EndGame(g);
    EXPECT_EQ(g.Phase, psGameOver);
    EXPECT_EQ(g.HandChooser, kNone);
    EXPECT_EQ(g.CardCount[3], 0);
    EXPECT_EQ(g.Score.Totals[1].Total, -120);
}
