// The record a seat is sent: its own hand and everything outside the hands exact, the other
// hands holding the unseen cards in an order that says nothing about who holds them, and
// every legality verdict the same as on the whole record.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <set>

#include "privatehands.h"
#include "rules_test_util.h"

using namespace rules_test;

namespace {

std::multiset<int> OtherCards(const TGameInfo& g, int seat)
{
    std::multiset<int> cards;
    for (int other = 0; other < 4; ++other)
        if (other != seat)
            for (const Card& c : Hand(g, other))
                cards.insert(c.suit * 13 + c.value);
    return cards;
}

struct Tally {
    double matches = 0, expected = 0, variance = 0;
};

// The private record of every seat, checked against the whole record g.
void CheckPrivateRecords(const TGameInfo& g, Tally& tally)
{
    for (int seat = 0; seat < 4; ++seat) {
        SCOPED_TRACE(seat);
        const TGameInfo p = PrivateRecord(g, seat);
        ASSERT_TRUE(IsValidGameInfo(p));
        ASSERT_EQ(Hand(p, seat), Hand(g, seat));
        ASSERT_EQ(std::memcmp(p.CardCount, g.CardCount, sizeof g.CardCount), 0);
        ASSERT_EQ(std::memcmp(&p.TakenValue, &g.TakenValue, kGameInfoSize - offsetof(TGameInfo, TakenValue)), 0);
        ASSERT_EQ(OtherCards(p, seat), OtherCards(g, seat));
        std::string full, mine;
        for (const Card& c : Hand(g, seat)) {
            const bool a = IsPlayable(g, seat, c.suit, c.value, full);
            const bool b = IsPlayable(p, seat, c.suit, c.value, mine);
            ASSERT_EQ(a, b) << c.suit << "/" << int(c.value);
            ASSERT_EQ(full, mine);
        }
        // How many unseen cards the private record places with their real holder, against
        // what a random deal of the same sizes would place there.
        double total = 0, squares = 0;
        for (int other = 0; other < 4; ++other) {
            if (other == seat)
                continue;
            const std::vector<Card> real = Hand(g, other), shown = Hand(p, other);
            for (const Card& c : shown)
                tally.matches += std::count(real.begin(), real.end(), c);
            total += real.size();
            squares += double(real.size()) * real.size();
        }
        if (total > 0) {
            tally.expected += squares / total;
            tally.variance += squares / total * (1 - squares / total / total);
        }
    }
}

} // namespace

TEST(PrivateRecord, WholeGamesKeepEveryVerdictAndRevealNoHolder)
{
    Tally tally;
    for (uint32_t seed = 1; seed <= 6; ++seed) {
        SCOPED_TRACE(seed);
        TRandom rnd(seed);
        std::mt19937 choice(seed * 7919u);
        TGameInfo g;
        InitGameInfo(g);
        NewGame(g, rnd);
        while (g.Phase != psGameOver) {
            ASSERT_NO_FATAL_FAILURE(CheckPrivateRecords(g, tally));
            if (g.Phase == psChoosing) {
                const std::vector<int> available = AvailableContracts(g, g.Chooser);
                ChooseContract(g, static_cast<uint8_t>(available[choice() % available.size()]));
            } else if (g.Phase == psPlaying) {
                const std::vector<Card> legal = LegalCards(g, g.Turn);
                const Card c = legal[choice() % legal.size()];
                PlayCard(g, g.Turn, c.suit, c.value);
            } else {
                ResolveTrick(g, rnd);
            }
        }
        ASSERT_NO_FATAL_FAILURE(CheckPrivateRecords(g, tally));
    }
    EXPECT_GT(tally.expected, 2000);
    RecordProperty("matches", std::to_string(tally.matches) + " of " + std::to_string(tally.expected));
    EXPECT_LT(tally.matches, tally.expected + 4 * std::sqrt(tally.variance))
        << "matches " << tally.matches << ", a random deal: " << tally.expected;
}

TEST(PrivateRecord, HeartsLeadIsJudgedOnTheCardsStillInTheHands)
{
    // Kupa almaz: all thirteen hearts in the hands, so seat 0 may not lead one while it
    // holds a club; once a heart has gone, it may.
    TGameInfo g = Table(KupaAlmaz);
    SetHand(g, 0, "5H 2C");
    SetHand(g, 1, "AH KH QH JH");
    SetHand(g, 2, "TH 9H 8H 7H");
    SetHand(g, 3, "6H 4H 3H 2H 3C");
    g.Turn = 0;
    std::string message;
    EXPECT_FALSE(IsPlayable(PrivateRecord(g, 0), 0, Hearts, Five, message));
    EXPECT_EQ(message, "Kupa almaz veya Rıfkı almaz'da kupa çıkılmadan kupa çekilmez!");
    SetHand(g, 3, "6H 4H 3H 3C");
    EXPECT_TRUE(IsPlayable(PrivateRecord(g, 0), 0, Hearts, Five, message));
    // The other hands keep their sizes but not their cards: the hearts are spread in order.
    const TGameInfo p = PrivateRecord(g, 0);
    EXPECT_EQ(Hand(p, 1).size(), 4u);
    EXPECT_EQ(Hand(p, 3).size(), 4u);
    EXPECT_NE(Hand(p, 1), Hand(g, 1));
}
