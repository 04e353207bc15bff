// The mask engine against the rule functions of the record: the same legal cards, the same
// taker of every trick and the same booking, over random positions and whole games.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "maskengine.h"
#include "rules_test_util.h"

namespace {

using rules_test::Cards;

TCardMask RecordLegal(const TGameInfo& g, int seat)
{
    TCardMask legal = 0;
    for (int i = 0; i < g.CardCount[seat]; ++i)
        if (CanPlay(g, seat, g.CardSuit[seat][i], g.CardValue[seat][i]))
            legal |= mask::Card(g.CardSuit[seat][i], g.CardValue[seat][i]);
    return legal;
}

std::string Describe(TCardMask m)
{
    std::string text;
    for (; m; m &= m - 1) {
        const int i = mask::Lowest(m);
        text += "A23456789TJQK"[mask::ValueOf(i)];
        text += "CDHS"[mask::SuitOf(i)];
        text += ' ';
    }
    return text;
}

// Every seat's legal cards agree.
void ExpectSameVerdicts(const TGameInfo& g)
{
    TMaskHand h;
    MaskHandFromRecord(h, g);
    for (int seat = 0; seat < 4; ++seat) {
        EXPECT_EQ(Describe(LegalCards(h, seat)), Describe(RecordLegal(g, seat)))
            << "seat " << seat << " contract " << int(g.Contract);
    }
}

// A card the record allows, drawn from rnd.
int PickLegal(const TGameInfo& g, int seat, TRandom& rnd)
{
    const TCardMask legal = RecordLegal(g, seat);
    return mask::Nth(legal, rnd.Next(mask::Count(legal)));
}

// Plays card for the seat to move on both engines; a fourth card is resolved on both and
// the taker, the points, the taken counts and the tricks played must agree.
void PlayOnBoth(TGameInfo& g, TMaskHand& h, int card)
{
    const int seat = g.Turn;
    ASSERT_EQ(h.Turn, seat);
    const TScoreInfo before = g.Score;
    const TMaskHand maskBefore = h;
    PlayCard(g, seat, mask::SuitOf(card), mask::ValueOf(card));
    PlayMaskCard(h, card);
    if (g.Phase != psTrickComplete)
        return;
    const uint8_t winner = WhoBiggest(g);
    ScoreTrick(g, winner);
    EXPECT_EQ(h.Turn, winner);
    EXPECT_EQ(h.TricksPlayed, g.TricksPlayed);
    for (int s = 0; s < 4; ++s) {
        EXPECT_EQ(h.Taken[s], g.TakenCount[s]) << "seat " << s;
        EXPECT_EQ(h.Points[s] - maskBefore.Points[s],
                  g.Score.Totals[s].Total - before.Totals[s].Total)
            << "seat " << s;
    }
    if (g.TricksPlayed < 13)
        EndTrick(g, winner);
}

// A position that need not be reachable: a deal, some cards gone from every hand, and a
// partial trick of cards from the seats in turn.
TGameInfo RandomPosition(TRandom& rnd)
{
    TGameInfo g;
    InitGameInfo(g);
    DealCards(g, rnd);
    g.Contract = static_cast<uint8_t>(rnd.Next(kContractCount));
    g.Chooser = kNone;
    g.Phase = psPlaying;
    g.TricksPlayed = static_cast<uint8_t>(rnd.Next(13));
    for (int seat = 0; seat < 4; ++seat)
        for (int gone = g.TricksPlayed; gone > 0; --gone) {
            const int i = rnd.Next(g.CardCount[seat]);
            RemoveCard(g, seat, g.CardSuit[seat][i], g.CardValue[seat][i]);
        }
    const int leader = rnd.Next(4);
    g.Turn = static_cast<uint8_t>(leader);
    const int trick = g.TricksPlayed == 12 ? rnd.Next(2) * 3 : rnd.Next(4);
    for (int k = 0; k < trick; ++k) {
        const int seat = (leader + k) % 4;
        const int i = rnd.Next(g.CardCount[seat]);
        PlayCard(g, seat, g.CardSuit[seat][i], g.CardValue[seat][i]);
    }
    return g;
}

TEST(MaskEngine, RandomPositionsGetTheRecordsVerdictsTakersAndBookings)
{
    rules_test::NoticeRecorder notices;
    TRandom rnd(2024);
    long positions = 0, resolved = 0;
    for (int n = 0; n < 100000 && !HasFailure(); ++n) {
        TGameInfo g = RandomPosition(rnd);
        ExpectSameVerdicts(g);
        ++positions;
        TMaskHand h;
        MaskHandFromRecord(h, g);
        if (g.TrickCount > 0) {
            EXPECT_EQ(TrickWinner(h), WhoBiggest(g));
        }
        resolved += g.TrickCount == 3;
        PlayOnBoth(g, h, PickLegal(g, g.Turn, rnd));
    }
    EXPECT_EQ(positions, 100000);
    EXPECT_GT(resolved, 20000);
    RecordProperty("tricks_resolved", std::to_string(resolved));
    EXPECT_TRUE(notices.notices.empty());
}

// Positions written by hand for the rules' sharpest corners.
TEST(MaskEngine, ForcedCardsOfThePenaltyContracts)
{
    struct Case {
        uint8_t contract;
        const char* hand;
        const char* trick;
        const char* legal;
    };
    const Case cases[] = {
        {RifkiAlmaz, "KH 3H 2C", "AH", "KH "},
        {RifkiAlmaz, "KH 3H 2C", "QH", "3H KH "},
        {RifkiAlmaz, "KH 7H 2C", "5S", "KH "},
        {KupaAlmaz, "7H QD 3C", "5S", "7H "},
        {KizAlmaz, "QD 2D 5C", "KD", "QD "},
        {KizAlmaz, "QD 2D 5C", "JD", "2D QD "},
        {ErkekAlmaz, "KS JS 7S", "AS", "JS KS "},
        {ErkekAlmaz, "JS 7S 2C", "QS", "JS "},
        {KozSinek, "QC 5C 3C", "TC", "QC "},
        {KozSinek, "5C 3C", "TC", "3C 5C "},
        {KozKupa, "2H 4D", "5S 9H", "2H "},
        {KupaAlmaz, "5H 2C", "", "2C "},
        {KupaAlmaz, "5H 9H", "", "5H 9H "},
    };
    for (const Case& c : cases) {
        TGameInfo g = rules_test::Table(c.contract);
        rules_test::SetHand(g, 1, c.hand);
        rules_test::SetHand(g, 2, "AC AD AS");
        if (std::strlen(c.trick) > 0) {
            rules_test::SetTrick(g, (5 - Cards(c.trick).size()) % 4, c.trick);
        } else {
            // Every other heart still in a hand: none has been played.
            g.Turn = 1;
            std::string hearts;
            for (const char v : std::string("23456789TJQKA"))
                if (std::string(c.hand).find(std::string{v, 'H'}) == std::string::npos)
                    hearts += std::string(hearts.empty() ? "" : " ") + v + 'H';
            rules_test::SetHand(g, 3, hearts);
        }
        TMaskHand h;
        MaskHandFromRecord(h, g);
        EXPECT_EQ(Describe(LegalCards(h, 1)), c.legal) << c.hand << " / " << c.trick;
        EXPECT_EQ(Describe(RecordLegal(g, 1)), c.legal) << c.hand << " / " << c.trick;
    }
}

// Whole games on both engines from the same deals and the same choices: every position's
// verdicts for the seat to move, every trick, and the score block after every hand.
TEST(MaskEngine, WholeGamesKeepTheSameScores)
{
    rules_test::NoticeRecorder notices;
    TRandom rnd(77);
    long positions = 0;
    for (int game = 0; game < 1000 && !HasFailure(); ++game) {
        TGameInfo g;
        InitGameInfo(g);
        NewGame(g, rnd);
        TMaskGame m;
        TCardMask hands[4];
        for (int s = 0; s < 4; ++s)
            hands[s] = mask::HandMask(g, s);
        NewMaskGame(m, hands);
        ASSERT_EQ(m.Chooser, g.Chooser);
        while (g.Phase != psGameOver && !HasFailure()) {
            int contract = rnd.Next(kContractCount);
            while (!ContractAvailable(g, g.Chooser, contract))
                contract = (contract + 1) % kContractCount;
            ASSERT_TRUE(m.Available(m.Chooser, contract));
            ChooseContract(g, static_cast<uint8_t>(contract));
            ChooseMaskContract(m, static_cast<uint8_t>(contract));
            while (g.TricksPlayed < 13 && !HasFailure()) {
                const int seat = g.Turn;
                ASSERT_EQ(Describe(LegalCards(m.Hand, seat)), Describe(RecordLegal(g, seat)));
                ++positions;
                PlayOnBoth(g, m.Hand, PickLegal(g, seat, rnd));
            }
            if (ContractsPlayed(g) < 20)
                NextHand(g, rnd);
            else
                EndGame(g);
            for (int s = 0; s < 4; ++s)
                hands[s] = mask::HandMask(g, s);
            FinishMaskHand(m, hands);
            ASSERT_EQ(std::memcmp(&m.Score, &g.Score, sizeof g.Score), 0) << "game " << game;
            ASSERT_EQ(m.Over, g.Phase == psGameOver);
            if (!m.Over) {
                ASSERT_EQ(m.Chooser, g.Chooser);
            }
        }
    }
    EXPECT_GT(positions, 100000);
    RecordProperty("positions", std::to_string(positions));
    EXPECT_TRUE(notices.notices.empty());
}

TEST(MaskEngine, RandomGamesEndWithEveryContractBookedAndTheTrickPointsInPlace)
{
    TRandom rnd(5);
    for (int game = 0; game < 200; ++game) {
        TMaskGame m;
        PlayRandomMaskGame(m, rnd);
        ASSERT_TRUE(m.Over);
        int trumpPoints = 0;
        for (int s = 0; s < 4; ++s) {
            EXPECT_EQ(m.Score.PenaltiesChosen[s], 3);
            EXPECT_EQ(m.Score.TrumpsChosen[s], 2);
            trumpPoints += m.Score.Totals[s].TrumpTotal;
        }
        EXPECT_EQ(trumpPoints, 8 * 13 * 50); // eight trump hands, every trick counted
        EXPECT_EQ(m.Score.UsedTwice, 0x3F);  // twelve penalty hands: each contract twice
    }
}

} // namespace
