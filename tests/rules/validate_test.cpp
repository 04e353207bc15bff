// Records from outside: every byte a rule indexes with must be in range.
#include <gtest/gtest.h>

#include <functional>

#include "rules_test_util.h"

using namespace rules_test;

TEST(IsValidGameInfo, RefusesEachByteOutOfRangeAndNothingElse)
{
    TGameInfo g;
    std::memset(&g, 0, sizeof g);
    EXPECT_TRUE(IsValidGameInfo(g));
    std::memset(&g, 0xEE, sizeof g);
    InitGameInfo(g);
    EXPECT_TRUE(IsValidGameInfo(g));
    EXPECT_EQ(g.Turn + g.Chooser + g.PlayerName[3][0] + g.CardCount[2], 2 * kNone);

    TRandom rnd(12);
    TGameInfo base;
    InitGameInfo(base);
    NewGame(base, rnd);
    std::strcpy(base.PlayerName[1], "Ay\xFE" "e");
    SetTrick(base, 1, "5C 6C");
    base.CardCount[2] = 10; // bytes past a count are never read
    base.CardSuit[2][11] = 9;
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
