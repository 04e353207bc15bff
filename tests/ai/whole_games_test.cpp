// Whole games with the computer in all four seats, driven as the dealer drives them.
#include <gtest/gtest.h>

#include <cstring>

#include "ai_test_util.h"
#include "computergame.h"

namespace {

// The computer's list of legal cards is exactly the cards of the hand the rules accept.
void ExpectPlayableListFromTheRules(TGameInfo& g, int seat)
{
    TComputerPlayer p;
    p.Game = &g;
    FindPlayableCards(p, seat);
    std::vector<ai_test::Card> expected;
    std::string why;
    for (int i = 0; i < g.CardCount[seat]; ++i)
        if (IsPlayable(g, seat, g.CardSuit[seat][i], g.CardValue[seat][i], why))
            expected.push_back({g.CardSuit[seat][i], g.CardValue[seat][i]});
    std::vector<ai_test::Card> listed;
    for (int i = 0; i < p.PlayableCount; ++i)
        listed.push_back({p.PlayableSuit[i], p.PlayableValue[i]});
    EXPECT_EQ(listed, expected);
}

// Plays one game step by step, checking every choice against the rules before it lands.
void PlayCheckedGame(uint32_t seed)
{
    TRandom rnd(seed);
    TGameInfo g{};
    InitGameInfo(g);
    NewGame(g, rnd);
    TComputerPlayer p;
    int steps = 0;
    while (g.Phase != psGameOver && steps++ < 2000) {
        const TGameInfo before = g;
        if (g.Phase == psPlaying)
            ExpectPlayableListFromTheRules(g, g.Turn);
        ASSERT_TRUE(ComputerGameStep(p, g, rnd)) << "stalled, phase " << int(before.Phase);
        if (before.Phase == psPlaying) {
            const int seat = before.Turn;
            const uint8_t suit = g.TrickSuit[before.TrickCount];
            const uint8_t value = g.TrickValue[before.TrickCount];
            std::string why;
            ASSERT_TRUE(HasCard(before, seat, suit, value));
            ASSERT_TRUE(IsPlayable(before, seat, suit, value, why)) << why;
            ASSERT_EQ(g.CardCount[seat], before.CardCount[seat] - 1);
        } else if (before.Phase == psChoosing) {
            ASSERT_TRUE(ContractAvailable(before, before.Chooser, g.Contract))
                << "contract " << int(g.Contract);
        }
    }
    ASSERT_EQ(g.Phase, psGameOver);
    EXPECT_EQ(ContractsPlayed(g), 20);
    int sum = 0;
    for (int seat = 0; seat < 4; ++seat) {
        EXPECT_EQ(g.Score.PenaltiesChosen[seat], 3);
        EXPECT_EQ(g.Score.TrumpsChosen[seat], 2);
        sum += g.Score.Totals[seat].Total;
    }
    EXPECT_EQ(sum, 0);
    EXPECT_EQ(g.Score.UsedTwice, 0x3F);
}

TEST(WholeGames, EveryChoiceIsLegalAndEveryGameEnds)
{
    ai_test::NoticeRecorder notices;
    for (uint32_t seed = 1; seed <= 150; ++seed) {
        SCOPED_TRACE(seed);
        PlayCheckedGame(seed);
        if (HasFatalFailure())
            return;
    }
    EXPECT_TRUE(notices.notices.empty()) << notices.notices.front();
}

TEST(WholeGames, SameSeedPlaysTheSameGame)
{
    ai_test::NoticeRecorder notices;
    TGameInfo first{};
    TGameInfo second{};
    int changesFirst = 0;
    int changesSecond = 0;
    TRandom a(99);
    TRandom b(99);
    ASSERT_TRUE(PlayComputerGame(first, a, [&](const TGameInfo&) { ++changesFirst; }));
    ASSERT_TRUE(PlayComputerGame(second, b, [&](const TGameInfo&) { ++changesSecond; }));
    EXPECT_EQ(std::memcmp(&first, &second, sizeof first), 0);
    EXPECT_EQ(changesFirst, changesSecond);
    // Every change: the deal, 20 choices, at most 13 tricks of 4 cards and 1 resolution.
    EXPECT_GE(changesFirst, 1 + 20 * (1 + 4 + 1));
    EXPECT_LE(changesFirst, 1 + 20 * (1 + 13 * 5));
    EXPECT_TRUE(notices.notices.empty());
}

} // namespace
