// Whole games with the computer in all four seats, driven as the dealer drives them.
#include <gtest/gtest.h>

#include <cstring>

#include "ai_test_util.h"
#include "computergame.h"

namespace {

using rules_test::Card;

// The computer's list of legal cards is exactly the cards of the hand the rules accept.
void ExpectPlayableListFromTheRules(TGameInfo& g, int seat)
{
    TComputerPlayer p;
    p.Game = &g;
    FindPlayableCards(p, seat);
    std::vector<Card> expected, listed;
    std::string why;
    for (int i = 0; i < g.CardCount[seat]; ++i)
        if (IsPlayable(g, seat, g.CardSuit[seat][i], g.CardValue[seat][i], why))
            expected.push_back({g.CardSuit[seat][i], g.CardValue[seat][i]});
    for (int i = 0; i < p.PlayableCount; ++i)
        listed.push_back({p.PlayableSuit[i], p.PlayableValue[i]});
    EXPECT_EQ(listed, expected);
}

// Plays one game step by step, checking every choice against the rules before it lands.
void PlayCheckedGame(uint32_t seed)
{
    TRandom rnd(seed);
    TGameInfo g{};
    NewGame(g, rnd);
    TComputerPlayer p;
    for (int steps = 0; g.Phase != psGameOver && steps < 2000; ++steps) {
        const TGameInfo before = g;
        if (g.Phase == psPlaying)
            ExpectPlayableListFromTheRules(g, g.Turn);
        ASSERT_TRUE(ComputerGameStep(p, g, rnd)) << "stalled, phase " << int(before.Phase);
        if (before.Phase == psPlaying) {
            const int seat = before.Turn;
            const Card played{g.TrickSuit[before.TrickCount], g.TrickValue[before.TrickCount]};
            std::string why;
            ASSERT_TRUE(IsPlayable(before, seat, played.suit, played.value, why)) << why;
            ASSERT_EQ(g.CardCount[seat], before.CardCount[seat] - 1); // it held the card
        } else if (before.Phase == psChoosing) {
            ASSERT_TRUE(ContractAvailable(before, before.Chooser, g.Contract)) << int(g.Contract);
        }
    }
    ASSERT_EQ(g.Phase, psGameOver);
    int sum = 0;
    for (int seat = 0; seat < 4; ++seat) {
        EXPECT_EQ(g.Score.PenaltiesChosen[seat], 3);
        EXPECT_EQ(g.Score.TrumpsChosen[seat], 2);
        sum += g.Score.Totals[seat].Total;
    }
    EXPECT_EQ(sum, 0);
}

TEST(WholeGames, EveryChoiceIsLegalAndEveryGameEnds)
{
    rules_test::NoticeRecorder notices;
    for (uint32_t seed = 1; seed <= 150 && !HasFatalFailure(); ++seed) {
        SCOPED_TRACE(seed);
        PlayCheckedGame(seed);
    }
    EXPECT_TRUE(notices.notices.empty()) << notices.notices.front();
}

TEST(WholeGames, SameSeedPlaysTheSameGame)
{
    rules_test::NoticeRecorder notices;
    TGameInfo first{}, second{};
    int changes[2] = {};
    TRandom a(99), b(99);
    ASSERT_TRUE(PlayComputerGame(first, a, [&](const TGameInfo&) { ++changes[0]; }));
    ASSERT_TRUE(PlayComputerGame(second, b, [&](const TGameInfo&) { ++changes[1]; }));
    EXPECT_EQ(std::memcmp(&first, &second, sizeof first), 0);
    EXPECT_EQ(changes[0], changes[1]);
    // The deal, then per hand a choice and at most 13 tricks of 4 cards and a resolution.
    EXPECT_GE(changes[0], 1 + 20 * (1 + 4 + 1));
    EXPECT_LE(changes[0], 1 + 20 * (1 + 13 * 5));
    EXPECT_TRUE(notices.notices.empty());
}

} // namespace
