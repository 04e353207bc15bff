// Records from outside: every byte a rule indexes with must be in range, and the game must
// be able to go on from the record.
#include <gtest/gtest.h>

#include <algorithm>
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
    base.TakenValue[0][1] = 200;
    ASSERT_TRUE(IsValidGameInfo(base));

    const std::vector<std::function<void(TGameInfo&)>> faults = {
        [](TGameInfo& g) { g.CardCount[3] = 14; },        [](TGameInfo& g) { g.CardSuit[2][9] = 4; },
        [](TGameInfo& g) { g.CardValue[1][0] = 13; },     [](TGameInfo& g) { g.TakenCount[1] = 14; },
        [](TGameInfo& g) { g.Contract = KizAlmaz; g.TakenCount[0] = 1; g.TakenSuit[0][0] = 4; },      [](TGameInfo& g) { g.Score.TrumpsChosen[2] = 3; },
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
    TGameInfo fiveTricks = base;
    PlayFirstLegalCards(fiveTricks, 2);
    TRandom rnd(1);
    for (int trick = 0; trick < 5; ++trick) {
        ResolveTrick(fiveTricks, rnd);
        if (trick < 4)
            PlayFirstLegalCards(fiveTricks, 4);
    }
    ASSERT_EQ(fiveTricks.TricksPlayed, 5);
    for (uint8_t contract : {ElAlmaz, KozMaca}) {
        TGameInfo tricks = fiveTricks;
        tricks.Contract = contract;
        std::memset(tricks.TakenSuit, 0xCD, sizeof tricks.TakenSuit);
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
    g.Score.UsedOnce = 0x07;
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

TEST(IsValidGameInfo, RefusesStackedDecksAndCountsThatDisagree)
{
    // Hearts: two tricks played, the trick on the table and the hearts taken so far.
    TRandom rnd(8);
    TGameInfo kupa;
    InitGameInfo(kupa);
    NewGame(kupa, rnd);
    ChooseContract(kupa, KupaAlmaz);
    for (int trick = 0; trick < 6; ++trick) {
        PlayFirstLegalCards(kupa, 4);
        ResolveTrick(kupa, rnd);
    }
    PlayFirstLegalCards(kupa, 2);
    const int taker = int(std::max_element(kupa.TakenCount, kupa.TakenCount + 4) - kupa.TakenCount);
    ASSERT_GT(kupa.TakenCount[taker], 0);
    ASSERT_TRUE(IsValidGameInfo(kupa));
    const int seat = kupa.Turn;

    const std::vector<std::function<void(TGameInfo&)>> faults = {
        // Four aces of hearts in one hand; four hands of thirteen aces of spades.
        [](TGameInfo& g) { NewGame(g); for (int i = 0; i < 4; ++i) { g.CardSuit[g.Chooser][i] = Hearts; g.CardValue[g.Chooser][i] = Ace; } },
        [](TGameInfo& g) { NewGame(g); std::memset(g.CardSuit, Spades, sizeof g.CardSuit); std::memset(g.CardValue, Ace, sizeof g.CardValue); },
        // A card in a hand and on the table; a heart taken and still held.
        [seat](TGameInfo& g) { g.CardSuit[seat][0] = g.TrickSuit[0]; g.CardValue[seat][0] = g.TrickValue[0]; },
        [seat, taker](TGameInfo& g) { g.TakenSuit[taker][0] = g.CardSuit[seat][0]; g.TakenValue[taker][0] = g.CardValue[seat][0]; },
        // A club among the hearts taken; a heart gone missing; tricks led that were never played.
        [taker](TGameInfo& g) { g.TakenSuit[taker][0] = Clubs; },
        [taker](TGameInfo& g) { --g.TakenCount[taker]; },
        [](TGameInfo& g) { ++g.LedCount[Spades]; },
        // Tricks counted for a taker in El Almaz that were never played.
        [taker](TGameInfo& g) { g.Contract = ElAlmaz; std::memset(g.TakenCount, 0, 4); g.TakenCount[taker] = g.TricksPlayed + 1; },
        // Scores: a total that is not the sum of its parts, a contract chosen twice and never once.
        [](TGameInfo& g) { g.Score.Totals[1].Total += 5; },
        [](TGameInfo& g) { g.Score.PenaltyScore[2][3] = -30; },
        [](TGameInfo& g) { g.Score.UsedTwice |= 1 << ElAlmaz; },
    };
    for (std::size_t i = 0; i < faults.size(); ++i) {
        TGameInfo bad = kupa;
        faults[i](bad);
        EXPECT_FALSE(IsValidGameInfo(bad)) << "fault " << i;
    }
}
