// The hand's history worked out from successive records: who played what, and what the
// plays prove about the hands.
#include <gtest/gtest.h>

#include "ai_test_util.h"
#include "computergame.h"
#include "handhistory.h"

namespace {

using rules_test::SetHand;
using rules_test::SetTrick;

TCardMask M(const std::string& text)
{
    TCardMask m = 0;
    for (const rules_test::Card& c : rules_test::Cards(text))
        m |= mask::Card(c.suit, c.value);
    return m;
}

// Over whole games fed record by record: every card is credited to the seat whose hand it
// left, the history stays complete, and no seat is ever proved not to hold a card it holds.
TEST(HandHistory, FollowsWholeGamesAndNeverRulesOutAHeldCard)
{
    rules_test::NoticeRecorder notices;
    for (uint32_t seed = 1; seed <= 12; ++seed) {
        TRandom rnd(seed);
        TGameInfo previous{};
        THandHistory history;
        TCardMask dealt[4] = {};
        long checked = 0;
        PlayComputerGame(previous, rnd, [&](const TGameInfo& g) {
            history.Feed(g);
            if (g.Phase == psChoosing)
                for (int s = 0; s < 4; ++s)
                    dealt[s] = mask::HandMask(g, s);
            if (g.Phase != psPlaying && g.Phase != psTrickComplete)
                return;
            ASSERT_TRUE(history.Complete());
            for (int s = 0; s < 4; ++s) {
                const TCardMask held = mask::HandMask(g, s);
                ASSERT_EQ(history.PlayedBy(s), dealt[s] & ~held) << "seat " << s;
                ASSERT_EQ(history.Excluded(s) & held, 0u) << "seat " << s;
            }
            ++checked;
        });
        EXPECT_GT(checked, 900);
    }
}

// What a single play proves, contract by contract: the card the rules would have forced.
TEST(HandHistory, APlayRulesOutTheCardsTheRulesWouldHaveForced)
{
    struct Case {
        uint8_t contract;
        const char* trick; // led by seat 0; the last card is seat's play
        int seat;
        const char* excluded;
    };
    const Case cases[] = {
        {KizAlmaz, "KD 2D", 1, "QD"},
        {KizAlmaz, "3C 5D", 1, "AC 2C 3C 4C 5C 6C 7C 8C 9C TC JC QC KC QD QH QS"},
        {RifkiAlmaz, "AH 3H", 1, "KH"},
        {RifkiAlmaz, "2S 4H", 1, "2S 3S 4S 5S 6S 7S 8S 9S TS JS QS KS AS KH"},
        {ErkekAlmaz, "AS 7S", 1, "KS JS"},
        {ErkekAlmaz, "QS 7S", 1, "JS"},
        {KozSinek, "TC 3C", 1, "JC QC KC AC"},
        {KozSinek, "2D 8D 5H", 2,
         "AD 2D 3D 4D 5D 6D 7D 8D 9D TD JD QD KD AC 2C 3C 4C 5C 6C 7C 8C 9C TC JC QC KC"},
        {ElAlmaz, "5C 9C", 1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.trick);
        TGameInfo g = rules_test::Table(c.contract);
        SetTrick(g, 0, c.trick);
        THandHistory history;
        history.Feed(g);
        EXPECT_FALSE(history.Complete()); // it joined with cards on the table
        EXPECT_EQ(history.Excluded(c.seat), M(c.excluded));
        EXPECT_EQ(history.PlayedBy(c.seat), M(std::string(c.trick).substr(3 * c.seat, 2)));
    }
}

// Joining in the middle of a trick: the cards on the table are known, nothing before.
TEST(HandHistory, AHistoryJoinedLateKnowsOnlyWhatItSaw)
{
    TGameInfo g = rules_test::Table(KupaAlmaz);
    SetHand(g, 0, "2C 3C");
    SetHand(g, 1, "4C 5C");
    g.TricksPlayed = 3;
    SetTrick(g, 2, "TC JC");
    THandHistory history;
    history.Feed(g);
    EXPECT_FALSE(history.Complete());
    EXPECT_EQ(history.Played(), M("TC JC"));
    EXPECT_EQ(history.PlayedBy(3), M("JC"));
    // The next hand starts afresh, and complete.
    g.HandChooser = 1;
    g.Phase = psChoosing;
    g.Contract = kNone;
    g.TrickCount = 0;
    g.TricksPlayed = 0;
    history.Feed(g);
    EXPECT_TRUE(history.Complete());
    EXPECT_EQ(history.Played(), 0u);
}

} // namespace
