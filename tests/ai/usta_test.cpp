// Usta: it decides from what its seat may know, always legally, the same way for the same
// seed, and its simulations lean the right way.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "ai_test_util.h"
#include "levelgame.h"
#include "privatehands.h"

namespace {

using rules_test::SetHand;
using rules_test::SetTrick;

constexpr TUstaOptions kQuick{2};

struct TPosition {
    TGameInfo Record;
    THandHistory History;
    int Seat;
};

// Positions of seeded Acemi games where a seat chooses or has a real choice of card.
std::vector<TPosition> Positions(uint32_t seed, int every)
{
    std::vector<TPosition> positions;
    TRandom rnd(seed);
    TGameInfo g{};
    THandHistory history;
    int n = 0;
    PlayComputerGame(g, rnd, [&](const TGameInfo& r) {
        history.Feed(r);
        const int seat = r.Phase == psChoosing ? r.Chooser : r.Phase == psPlaying ? r.Turn : -1;
        if (seat >= 0 && ++n % every == 0)
            positions.push_back({r, history, seat});
    });
    return positions;
}

// The other seats' cards dealt anew: each keeps its count and gets no card of a suit it
// has shown out of. False when no such deal was found.
bool Redistribute(TGameInfo& g, int seat, const THandHistory& history, TRandom& rnd)
{
    std::vector<int> pool;
    for (int s = 0; s < 4; ++s)
        if (s != seat)
            for (TCardMask m = mask::HandMask(g, s); m; m &= m - 1)
                pool.push_back(mask::Lowest(m));
    for (int attempt = 0; attempt < 2000; ++attempt) {
        for (std::size_t i = pool.size(); i > 1; --i)
            std::swap(pool[i - 1], pool[static_cast<std::size_t>(rnd.Next(static_cast<int>(i)))]);
        TGameInfo trial = g;
        bool ok = true;
        std::size_t next = 0;
        for (int s = 0; s < 4 && ok; ++s) {
            if (s == seat)
                continue;
            trial.CardCount[s] = 0;
            for (int k = 0; k < g.CardCount[s]; ++k) {
                const int c = pool[next++];
                const TCardMask suit = mask::Suit(mask::SuitOf(c));
                ok = ok && (history.Excluded(s) & suit) != suit;
                AddCard(trial.CardValue, trial.CardSuit, trial.CardCount, s, mask::SuitOf(c),
                        mask::ValueOf(c));
            }
        }
        if (ok) {
            SortHands(trial);
            g = trial;
            return true;
        }
    }
    return false;
}

TEST(Usta, AnyDealOfTheOtherHandsThatKeepsWhatWasSeenGetsTheSameDecision)
{
    rules_test::NoticeRecorder notices;
    TRandom shuffle(1);
    int compared = 0, changedHands = 0;
    for (uint32_t seed : {3u, 4u}) {
        for (const TPosition& p : Positions(seed, 37)) {
            TGameInfo other = p.Record;
            if (!Redistribute(other, p.Seat, p.History, shuffle))
                continue;
            changedHands += std::memcmp(&other, &p.Record, sizeof other) != 0;
            TRandom a(seed), b(seed), c(seed);
            const TMove move = UstaMove(p.Record, p.Seat, p.History, kQuick, a);
            EXPECT_EQ(UstaMove(other, p.Seat, p.History, kQuick, b), move);
            EXPECT_EQ(UstaMove(PrivateRecord(p.Record, p.Seat), p.Seat, p.History, kQuick, c), move);
            ++compared;
        }
    }
    EXPECT_GT(compared, 40);
    EXPECT_GT(changedHands, compared / 2);
}

TEST(Usta, JoiningInTheMiddleOfAHandItStillPlaysLegally)
{
    rules_test::NoticeRecorder notices;
    int decided = 0;
    for (const TPosition& p : Positions(9, 5)) {
        THandHistory late; // knows the hand only from this record on
        late.Feed(p.Record);
        TRandom rnd(decided);
        const TMove move = UstaMove(PrivateRecord(p.Record, p.Seat), p.Seat, late, kQuick, rnd);
        TGameInfo g = p.Record;
        ASSERT_EQ(ApplyMove(g, p.Seat, move), TRefusal::None) << "phase " << int(p.Record.Phase);
        ++decided;
    }
    EXPECT_GT(decided, 150);
    EXPECT_TRUE(notices.notices.empty());
}

TEST(Usta, SampledDealsKeepTheCountsAndWhatThePlayProved)
{
    for (const TPosition& p : Positions(5, 23)) {
        const TUstaView v = MakeUstaView(p.Record, p.Seat, p.History);
        TRandom rnd(7);
        TCardMask hands[4];
        SampleHands(v, rnd, hands);
        TCardMask all = 0;
        for (int s = 0; s < 4; ++s) {
            EXPECT_EQ(mask::Count(hands[s]), v.Held[s]);
            EXPECT_EQ(hands[s] & v.Excluded[s], 0u);
            EXPECT_EQ(all & hands[s], 0u);
            all |= hands[s];
        }
        EXPECT_EQ(hands[p.Seat], v.Own);
        EXPECT_EQ(all, v.Own | v.Unseen); // the history is complete: every unseen card is held
    }
}

TEST(Usta, WholeGamesAgainstAcemiEndWithEveryMoveAcceptedAndRepeatForTheSameSeeds)
{
    rules_test::NoticeRecorder notices;
    TGameInfo finals[2];
    long decisions = 0;
    for (TGameInfo& g : finals) {
        TRandom deal(21), choice(22), usta0(23), usta2(24);
        TLevelGame game;
        game.Levels[0] = game.Levels[2] = TComputerLevel::Usta;
        game.UstaRandom[0] = &usta0;
        game.UstaRandom[2] = &usta2;
        game.Usta = TUstaOptions{1};
        game.Deal = &deal;
        game.Choice = &choice;
        game.OnUstaDecision = [&](int seat, long long) { decisions += seat == 0 || seat == 2; };
        g = TGameInfo{};
        ASSERT_TRUE(PlayLevelGame(g, game));
    }
    EXPECT_EQ(std::memcmp(&finals[0], &finals[1], sizeof finals[0]), 0);
    EXPECT_GT(decisions, 2 * 2 * 20 * 6);
    for (int s = 0; s < 4; ++s) {
        EXPECT_EQ(finals[0].Score.PenaltiesChosen[s], 3);
        EXPECT_EQ(finals[0].Score.TrumpsChosen[s], 2);
    }
    EXPECT_TRUE(notices.notices.empty());
}

// Choices whose right answer a card player sees at once.
TEST(Usta, TakesTricksInTrumpAndDucksThemInPenaltyContracts)
{
    struct Case {
        uint8_t contract;
        const char* hand;
        const char* trick; // seat 3 plays last
        const char* expected;
    };
    const Case cases[] = {
        {ElAlmaz, "5S KS 2D", "9S JS 3S", "5S"},
        {KozMaca, "AH 2H 3D", "KH 4H 5H", "AH"},
        {KozMaca, "9D 3D 4C", "2D 5D 8D", "9D"},
        {RifkiAlmaz, "AH 3H 4C", "KH 5H 9H", "3H"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hand);
        TGameInfo g = rules_test::Table(c.contract);
        g.TricksPlayed = 10;
        SetHand(g, 3, c.hand);
        SetTrick(g, 0, c.trick);
        TCardMask rest = mask::kAll & ~mask::HandMask(g, 3);
        for (int i = 0; i < 3; ++i)
            rest &= ~mask::Card(g.TrickSuit[i], g.TrickValue[i]);
        for (int s = 0; s < 3; ++s) // two cards each from what is left
            for (int k = 0; k < 2; ++k, rest &= rest - 1)
                AddCard(g.CardValue, g.CardSuit, g.CardCount, s, mask::SuitOf(mask::Lowest(rest)),
                        mask::ValueOf(mask::Lowest(rest)));
        TRandom rnd(1);
        const TMove move = UstaMove(g, 3, THandHistory{}, TUstaOptions{5}, rnd);
        const rules_test::Card expected = ai_test::C(c.expected);
        EXPECT_EQ(move, TMove::PlayCard(expected.suit, expected.value));
    }
}

TEST(Usta, ChoosesOnlyAvailableContracts)
{
    TGameInfo g;
    InitGameInfo(g);
    TRandom deal(4);
    NewGame(g, deal);
    const int seat = g.Chooser;
    TRandom rnd(2);
    g.Score.PenaltiesChosen[seat] = 3; // only trumps left
    TMove move = UstaMove(g, seat, THandHistory{}, kQuick, rnd);
    EXPECT_EQ(move.Kind, TMove::TKind::Contract);
    EXPECT_GE(move.Contract, KozSinek);
    g.Score.PenaltiesChosen[seat] = 0;
    g.Score.TrumpsChosen[seat] = 2; // only penalties, and El Almaz used up
    g.Score.UsedOnce = g.Score.UsedTwice = 1 << ElAlmaz;
    move = UstaMove(g, seat, THandHistory{}, kQuick, rnd);
    EXPECT_TRUE(move.Contract >= KupaAlmaz && move.Contract <= RifkiAlmaz) << int(move.Contract);
}

} // namespace
