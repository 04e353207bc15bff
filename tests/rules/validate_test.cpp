// Records from outside: every byte a rule indexes with must be in range, and the game must
// be able to go on from the record.
#include <gtest/gtest.h>

#include <functional>

#include "rules_test_util.h"

using namespace rules_test;

namespace {

// The seats to play lay their first legal card, n times.
void PlayFirstLegalCards(TGameInfo& g, int n)
{
    for (int k = 0; k < n; ++k) {
        const int seat = g.Turn;
        for (int i = 0; i < g.CardCount[seat]; ++i)
            if (CanPlay(g, seat, g.CardSuit[seat][i], g.CardValue[seat][i])) {
                PlayCard(g, seat, g.CardSuit[seat][i], g.CardValue[seat][i]);
                break;
            }
    }
}

// A game in its first hand of El Almaz, two cards into the first trick.
TGameInfo TwoCardsIntoTheFirstTrick(uint32_t seed)
{
    TRandom rnd(seed);
    TGameInfo g;
    InitGameInfo(g);
    NewGame(g, rnd);
    ChooseContract(g, ElAlmaz);
    PlayFirstLegalCards(g, 2);
    return g;
}

} // namespace

TEST(IsValidGameInfo, RefusesEachByteOutOfRange)
{
    TGameInfo base = TwoCardsIntoTheFirstTrick(12);
    std::strcpy(base.PlayerName[1], "Ay\xFE" "e");
    const int played = base.Leader; // holds 12 cards: the byte after them is never read
    base.CardSuit[played][12] = 9;
    base.TakenCount[0] = 1;
    base.TakenValue[0][1] = 200;
    ASSERT_TRUE(IsValidGameInfo(base));

    const std::vector<std::function<void(TGameInfo&)>> faults = {
        [](TGameInfo& g) { g.CardCount[3] = 14; },        [](TGameInfo& g) { g.CardSuit[2][9] = 4; },
        [](TGameInfo& g) { g.CardValue[1][0] = 13; },     [](TGameInfo& g) { g.TakenCount[1] = 14; },
        [](TGameInfo& g) { g.Contract = KizAlmaz; g.TakenSuit[0][0] = 4; },      [](TGameInfo& g) { g.Score.TrumpsChosen[2] = 3; },
        [](TGameInfo& g) { g.Score.PenaltiesChosen[3] = 4; }, [](TGameInfo& g) { g.TrickCount = 5; },
        [](TGameInfo& g) { g.TrickSuit[1] = kNone; },     [](TGameInfo& g) { g.LedCount[0] = 14; },
        [](TGameInfo& g) { g.LeadSuit = 4; },             [](TGameInfo& g) { g.Leader = 4; },
        [](TGameInfo& g) { g.Turn = 254; },               [](TGameInfo& g) { g.Chooser = 4; },
        [](TGameInfo& g) { g.HandChooser = 4; },          [](TGameInfo& g) { g.Contract = 10; },
        [](TGameInfo& g) { g.Phase = 4; },                [](TGameInfo& g) { g.Phase = 6; },
        [](TGameInfo& g) { g.TricksPlayed = 14; },
        [](TGameInfo& g) { std::memset(g.PlayerName[3], 'x', kNameSize); },
    };
    // Where the taken count counts tricks, the rows hold leftovers that are never read.
    for (uint8_t contract : {ElAlmaz, SonikiAlmaz, KozMaca}) {
        TGameInfo tricks = base;
        tricks.Contract = contract;
        tricks.TakenCount[2] = 5;
        std::memset(tricks.TakenSuit[2], 0xCD, 13);
        EXPECT_TRUE(IsValidGameInfo(tricks)) << int(contract);
    }
    for (std::size_t i = 0; i < faults.size(); ++i) {
        TGameInfo bad = base;
        faults[i](bad);
        EXPECT_FALSE(IsValidGameInfo(bad)) << "fault " << i;
    }
}

TEST(IsValidGameInfo, RefusesARecordWhoseGameCannotGoOn)
{
    // Nobody is to move: a record of zeros (a trick to resolve without cards) and a fresh
    // record that waits for players.
    TGameInfo g;
    std::memset(&g, 0, sizeof g);
    EXPECT_FALSE(IsValidGameInfo(g));
    std::memset(&g, 0xEE, sizeof g);
    InitGameInfo(g);
    EXPECT_FALSE(IsValidGameInfo(g));

    // A chooser with no contract left; one trump left is enough.
    TRandom rnd(3);
    TGameInfo choosing;
    InitGameInfo(choosing);
    NewGame(choosing, rnd);
    ASSERT_TRUE(IsValidGameInfo(choosing));
    g = choosing;
    g.Score.PenaltiesChosen[g.Chooser] = 3;
    g.Score.TrumpsChosen[g.Chooser] = 1;
    EXPECT_TRUE(IsValidGameInfo(g));
    g.Score.TrumpsChosen[g.Chooser] = 2;
    EXPECT_FALSE(IsValidGameInfo(g));
    // A chooser who does not hold a whole hand.
    g = choosing;
    g.CardCount[g.Chooser] = 12;
    EXPECT_FALSE(IsValidGameInfo(g));

    // A turn on a seat with no card, or hands that run out before the hand ends.
    const TGameInfo playing = TwoCardsIntoTheFirstTrick(5);
    g = playing;
    g.CardCount[g.Turn] = 0;
    EXPECT_FALSE(IsValidGameInfo(g));
    g = playing;
    g.CardCount[g.Leader] = 13; // the leader's card is on the table and still in the hand
    EXPECT_FALSE(IsValidGameInfo(g));
    g = playing;
    g.Turn = g.Leader; // a seat that has laid its card is to play again
    EXPECT_FALSE(IsValidGameInfo(g));

    // A full trick is resolved; three cards marked as a full trick are not.
    g = playing;
    PlayFirstLegalCards(g, 2);
    ASSERT_EQ(g.Phase, psTrickComplete);
    EXPECT_TRUE(IsValidGameInfo(g));
    g = playing;
    g.Phase = psTrickComplete;
    EXPECT_FALSE(IsValidGameInfo(g));

    // A finished game goes on with a new one.
    g = playing;
    EndGame(g);
    EXPECT_TRUE(IsValidGameInfo(g));
}
