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
