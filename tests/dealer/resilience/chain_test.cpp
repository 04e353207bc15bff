// The chain check of a player's records: a whole game played by the rules passes it, and
// a record lost, repeated, swapped or altered anywhere in it is caught.
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "computergame.h"
#include "recordchain.h"

namespace {

// Every record a dealer would broadcast in one game with four computer seats, then the
// first record of the next game.
std::vector<TGameInfo> WholeGame(uint32_t seed)
{
    TRandom random(seed);
    TGameInfo g;
    InitGameInfo(g);
    std::vector<TGameInfo> records;
    PlayComputerGame(g, random, [&records](const TGameInfo& r) { records.push_back(r); });
    NewGame(g, random);
    records.push_back(g);
    return records;
}

TEST(RecordChain, AWholeGamePassesAndEveryBreakInItIsCaught)
{
    const std::vector<TGameInfo> game = WholeGame(4242);
    ASSERT_EQ(game[game.size() - 2].Phase, psGameOver);
    const TChainCheck whole = CheckChain(game);
    ASSERT_TRUE(whole.Ok()) << whole.Fault;
    EXPECT_EQ(whole.Hands, 20);
    EXPECT_EQ(whole.Games, 2);
    EXPECT_GT(whole.TrickCompletes, 20 * 5);
    EXPECT_EQ(whole.Takers.size(), std::size_t(whole.TrickCompletes));

    // One record of each kind of step goes missing, arrives twice, or changes place.
    for (std::size_t i = 1; i + 1 < game.size(); i += 37) {
        std::vector<TGameInfo> lost = game;
        lost.erase(lost.begin() + std::ptrdiff_t(i));
        EXPECT_EQ(CheckChain(lost).FaultAt, i) << "record " << i << " lost";

        std::vector<TGameInfo> twice = game;
        twice.insert(twice.begin() + std::ptrdiff_t(i), game[i]);
        const TChainCheck repeated = CheckChain(twice);
        EXPECT_EQ(repeated.FaultAt, i + 1) << "record " << i << " twice";
        EXPECT_NE(repeated.Fault.find("the same record twice"), std::string::npos);

        std::vector<TGameInfo> swapped = game;
        std::swap(swapped[i], swapped[i + 1]);
        EXPECT_EQ(CheckChain(swapped).FaultAt, i) << "records " << i << " and " << i + 1 << " swapped";
    }

    // A score, a taken card or a name altered on the way.
    std::vector<TGameInfo> altered = game;
    altered[300].Score.Totals[1].Total += 1;
    EXPECT_EQ(CheckChain(altered).FaultAt, 300u);
    altered = game;
    altered[200].PlayerName[2][0] = 'X';
    EXPECT_EQ(CheckChain(altered).FaultAt, 200u);

    // A chain must start from a game just dealt.
    EXPECT_FALSE(CheckChain(std::vector<TGameInfo>(game.begin() + 1, game.end())).Ok());
    EXPECT_TRUE(IsFreshGame(game.front()));
    EXPECT_TRUE(IsFreshGame(game.back()));
}

TEST(RecordChain, ANewDealMustBeAWholeDealWithTheRightChooser)
{
    const std::vector<TGameInfo> game = WholeGame(77);
    // The record after the first hand's last trick: a new deal.
    std::size_t next = 1;
    while (!(game[next - 1].Phase == psTrickComplete && game[next].Phase == psChoosing))
        ++next;
    EXPECT_EQ(StepFault(game[next - 1], game[next]), "");

    TGameInfo short_deal = game[next];
    short_deal.CardCount[3] = 12;
    EXPECT_NE(StepFault(game[next - 1], short_deal), "");
    TGameInfo wrong_chooser = game[next];
    wrong_chooser.Chooser = uint8_t((wrong_chooser.Chooser + 1) % 4);
    EXPECT_NE(StepFault(game[next - 1], wrong_chooser), "");

    // After the end of a game only a fresh game follows, its chooser holding the two of
    // diamonds.
    const TGameInfo& over = game[game.size() - 2];
    TGameInfo fresh = game.back();
    EXPECT_EQ(StepFault(over, fresh), "");
    fresh.Chooser = uint8_t((fresh.Chooser + 1) % 4);
    fresh.HandChooser = fresh.Chooser;
    EXPECT_NE(StepFault(over, fresh), "");
}

} // namespace
