// Suit names, sorting, and the shuffle and deal.
#include <gtest/gtest.h>

#include "rules_test_util.h"

using namespace rules_test;

TEST(Cards, SuitNamesAndRank)
{
    EXPECT_STREQ(SuitName(Spades), "Ma\xC3\xA7" "a");
    EXPECT_STREQ(SuitName(kNone), "Bilinmeyen");
    EXPECT_STREQ(ContractNames[RifkiAlmaz], "R\xC4\xB1" "fk\xC4\xB1 Almaz");
    EXPECT_GT(Rank(Ace), Rank(King));
}

TEST(SortHands, GroupsSpadesDiamondsClubsHeartsEachFromTheAceDown)
{
    TGameInfo g = Table(kNone);
    SetHand(g, 0, "2H AC 3D KS AS 5C QD TH");
    SetHand(g, 1, "3C KH 9D AD 2D"); // no spades: the highest diamond comes first
    SetHand(g, 2, "4C AH KC TC");    // no spades or diamonds: the highest club first
    SortHands(g);
    EXPECT_EQ(Hand(g, 0), Cards("AS KS QD 3D AC 5C TH 2H"));
    EXPECT_EQ(Hand(g, 1), Cards("AD 9D 2D 3C KH"));
    EXPECT_EQ(Hand(g, 2), Cards("KC TC 4C AH"));
    EXPECT_TRUE(Hand(g, 3).empty());
}

TEST(DealCards, AFixedSeedGivesTheGoldenDealSorted)
{
    // Pinned: a change of the shuffle, the deal by position or the sort shows here.
    TGameInfo g = Table(kNone);
    TRandom rnd(1234);
    DealCards(g, rnd);
    EXPECT_EQ(Hand(g, 0), Cards("KS JS 6S 4S 2D AC 9C 2C KH 9H 5H 3H 2H"));
    EXPECT_EQ(Hand(g, 1), Cards("QS TS 8S 7S 2S KD 7D 4D 3D 5C 4C TH 6H"));
    EXPECT_EQ(Hand(g, 2), Cards("AS QD JD TD 9D 8D KC TC 7C AH QH 8H 4H"));
    EXPECT_EQ(Hand(g, 3), Cards("9S 5S 3S AD 6D 5D QC JC 8C 6C 3C JH 7H"));
}

TEST(DealCards, SeededSourcesRepeatTheDealAndSystemSourcesNeverDo)
{
    TGameInfo a = Table(kNone), b = Table(kNone);
    TRandom ra(7), rb(7);
    DealCards(a, ra);
    DealCards(b, rb);
    EXPECT_EQ(std::memcmp(a.CardValue, b.CardValue, 104), 0);
    // Two system sources made at the same moment, and one source drawn twice, all differ.
    TRandom systemA = TRandom::System(), systemB = TRandom::System();
    for (int i = 0; i < 5; ++i) {
        DealCards(a, systemA);
        DealCards(b, i % 2 ? systemA : systemB);
        EXPECT_NE(std::memcmp(a.CardValue, b.CardValue, 104), 0) << i;
    }
    EXPECT_TRUE(GameRandom().FromSystem());
}
