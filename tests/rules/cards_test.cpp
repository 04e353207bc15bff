// Cards, contracts, the random source, and the deal.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "rules_test_util.h"

using namespace rules_test;

TEST(Cards, RankPutsTheAceAboveTheKing)
{
    EXPECT_EQ(Rank(Ace), 13);
    EXPECT_EQ(Rank(King), 12);
    EXPECT_EQ(Rank(Deuce), 1);
    EXPECT_GT(Rank(Ace), Rank(King));
}

TEST(Cards, SuitNamesAndContractTables)
{
    EXPECT_STREQ(SuitName(Clubs), "Sinek");
    EXPECT_STREQ(SuitName(Diamonds), "Karo");
    EXPECT_STREQ(SuitName(Hearts), "Kupa");
    EXPECT_STREQ(SuitName(Spades), "Ma\xC3\xA7" "a");
    EXPECT_STREQ(SuitName(4), "Bilinmeyen");
    EXPECT_STREQ(SuitName(kNone), "Bilinmeyen");

    const char* names[kContractCount] = {
        "El Almaz", "Kupa Almaz", "K\xC4\xB1z Almaz", "Erkek Almaz", "Soniki Almaz",
        "R\xC4\xB1" "fk\xC4\xB1 Almaz", "Koz Sinek", "Koz Karo", "Koz Kupa", "Koz Ma\xC3\xA7" "a"};
    const int32_t points[kContractCount] = {50, 30, 100, 60, 180, 320, 50, 50, 50, 50};
    for (int c = 0; c < kContractCount; ++c) {
        EXPECT_STREQ(ContractNames[c], names[c]) << c;
        EXPECT_LT(std::strlen(ContractNames[c]), 20u) << "fits its 20-byte field";
        EXPECT_EQ(PenaltyPoints[c], points[c]) << c;
    }
}

namespace {

int GroupIndex(uint8_t suit)
{
    static const int kIndex[4] = {2, 1, 3, 0}; // Spades, Diamonds, Clubs, Hearts
    return kIndex[suit];
}

// Spades, Diamonds, Clubs, Hearts, each from the Ace down.
bool InDisplayOrder(const std::vector<Card>& hand)
{
    for (std::size_t i = 1; i < hand.size(); ++i) {
        const int a = GroupIndex(hand[i - 1].suit), b = GroupIndex(hand[i].suit);
        if (a > b || (a == b && Rank(hand[i - 1].value) <= Rank(hand[i].value)))
            return false;
    }
    return true;
}

} // namespace

TEST(SortHands, GroupsSpadesDiamondsClubsHeartsEachFromTheAceDown)
{
    TGameInfo g = Table(kNone);
    SetHand(g, 0, "2H AC 3D KS AS 5C QD TH");
    SetHand(g, 1, "3C KH 9D AD 2D"); // no spades: the highest diamond comes first
    SetHand(g, 2, "4C AH KC TC");    // no spades or diamonds: the highest club first
    SetHand(g, 3, "");
    SortHands(g);
    EXPECT_EQ(Hand(g, 0), Cards("AS KS QD 3D AC 5C TH 2H"));
    EXPECT_EQ(Hand(g, 1), Cards("AD 9D 2D 3C KH"));
    EXPECT_EQ(Hand(g, 2), Cards("KC TC 4C AH"));
    EXPECT_TRUE(Hand(g, 3).empty());
}

TEST(DealCards, ShufflesTenPassesAndDealsByPosition)
{
    // The same procedure, written out: a fixed seed must give exactly these hands.
    std::mt19937 gen(1234);
    int deck[52];
    for (int i = 0; i < 52; ++i)
        deck[i] = i;
    for (int pass = 0; pass < 10; ++pass)
        for (int i = 0; i < 52; ++i)
            std::swap(deck[i], deck[gen() % 52]);

    TGameInfo g = Table(kNone);
    TRandom rnd(1234);
    DealCards(g, rnd);
    std::set<int> seen;
    for (int seat = 0; seat < 4; ++seat) {
        const auto hand = Hand(g, seat);
        ASSERT_EQ(hand.size(), 13u);
        EXPECT_TRUE(InDisplayOrder(hand)) << seat;
        std::multiset<int> dealt, expected(deck + seat * 13, deck + seat * 13 + 13);
        for (const Card& c : hand)
            dealt.insert(c.suit * 13 + c.value);
        EXPECT_EQ(dealt, expected) << seat;
        seen.insert(dealt.begin(), dealt.end());
    }
    EXPECT_EQ(seen.size(), 52u);
}

TEST(DealCards, SeededSourcesRepeatTheDealAndClockSourcesNeverDo)
{
    TGameInfo a = Table(kNone), b = Table(kNone);
    TRandom ra(7), rb(7);
    DealCards(a, ra);
    DealCards(b, rb);
    EXPECT_EQ(std::memcmp(a.CardValue, b.CardValue, 104), 0);

    // Two deals within the same second from a clock-seeded source still differ.
    TRandom clock(0, true);
    for (int i = 0; i < 5; ++i) {
        DealCards(a, clock);
        DealCards(b, clock);
        EXPECT_NE(std::memcmp(a.CardValue, b.CardValue, 104), 0) << i;
    }
    EXPECT_TRUE(GameRandom().ReseedsFromClock());
}

TEST(TRandom, NextStaysInRange)
{
    TRandom rnd(99);
    std::set<int> seen;
    for (int i = 0; i < 2000; ++i) {
        const int r = rnd.Next(52);
        ASSERT_GE(r, 0);
        ASSERT_LT(r, 52);
        seen.insert(r);
    }
    EXPECT_EQ(seen.size(), 52u);
    EXPECT_EQ(rnd.Next(0), 0);
}
