// Who takes a trick, what it books, the choosing rule and the resolution of a full trick.
#include <gtest/gtest.h>

#include "rules_test_util.h"

using namespace rules_test;

TEST(WhoBiggest, TrumpBeatsTheLedSuitWhichBeatsTheRest)
{
    TGameInfo g = Table(KozMaca);
    SetTrick(g, 1, "AD 2S KD 3C");
    EXPECT_EQ(WhoBiggest(g), 2);
    g.Contract = KozKaro;
    EXPECT_EQ(WhoBiggest(g), 1);
    g.Contract = ElAlmaz;
    SetTrick(g, 3, "9C AH TC 2C");
    EXPECT_EQ(WhoBiggest(g), 1);
    SetTrick(g, 2, "9C TC"); // a partial trick
    EXPECT_EQ(WhoBiggest(g), 3);

    TRandom rnd(3);
    EXPECT_EQ(ResolveTrick(g, rnd), kNone); // not complete: nothing happens
    EXPECT_EQ(g.TrickCount, 2);
    NoticeRecorder recorder;
    SetTrick(g, 0, "");
    EXPECT_EQ(WhoBiggest(g), kNone);
    EXPECT_EQ(recorder.notices, std::vector<std::string>{"WhoBiggest bulunamadı!"});
}

TEST(ScoreTrick, BooksTheWinnerAndEndsAPenaltyHandOnceNothingIsLeft)
{
    struct Case { uint8_t contract; const char* trick; const char* left; int points, played; };
    const Case cases[] = {
        {KupaAlmaz, "5H AH 2C KH", "AC", -90, 13}, {KupaAlmaz, "5H AH 2C KH", "2H", -90, 3},
        {KizAlmaz, "QH QD 2C QC", "KS", -300, 13}, {KizAlmaz, "QH QD 2C QC", "QS", -300, 3},
        {ErkekAlmaz, "KH JD 2C QC", "QS", -120, 13}, {ErkekAlmaz, "KH JD 2C QC", "JS", -120, 3},
        {RifkiAlmaz, "KH AH 2C QC", "3H", -320, 13}, {RifkiAlmaz, "QH AH 2C QC", "KH", 0, 3}};
    for (const Case& c : cases) {
        TGameInfo g = Table(c.contract);
        SetHand(g, 0, c.left);
        SetTrick(g, 0, c.trick);
        g.TricksPlayed = 2;
        ScoreTrick(g, 1);
        SCOPED_TRACE(std::string(ContractNames[c.contract]) + " " + c.trick);
        EXPECT_EQ(g.TricksPlayed, c.played);
        EXPECT_EQ(g.Score.Totals[1].Total, c.points);
        EXPECT_EQ(g.TakenCount[1], c.contract == RifkiAlmaz ? 0 : -c.points / PenaltyPoints[c.contract]);
    }
    TGameInfo g = Table(KozSinek);
    SetTrick(g, 0, "9C AH TC 2C");
    ScoreTrick(g, 2);
    EXPECT_EQ(g.Score.Totals[2].TrumpTotal, 50);
    EXPECT_EQ(g.TakenCount[2], 1);
}

TEST(ScoreTrick, OnlyTheLastTwoTricksCostInSonikiAlmaz)
{
    TGameInfo g = Table(SonikiAlmaz);
    SetTrick(g, 0, "9C AH TC 2C");
    for (int trick = 1; trick <= 13; ++trick) {
        ScoreTrick(g, 0);
        EXPECT_EQ(g.TricksPlayed, trick);
        EXPECT_EQ(g.Score.Totals[0].Total, trick < 12 ? 0 : -180 * (trick - 11)) << trick;
    }
    EXPECT_EQ(g.TakenCount[0], 2);
}

TEST(ContractAvailable, TwoOfEachPenaltyThreePenaltiesAndTwoTrumpsPerSeat)
{
    TGameInfo g = Table(kNone);
    g.Score.TrumpsChosen[0] = 2;
    g.Score.PenaltiesChosen[1] = 3;
    MarkChosen(g.Score, KizAlmaz);
    MarkChosen(g.Score, KizAlmaz);
    MarkChosen(g.Score, RifkiAlmaz);
    for (int c = 0; c < kContractCount; ++c) {
        const bool penalty = c <= RifkiAlmaz;
        EXPECT_EQ(ContractAvailable(g, 0, c), penalty && c != KizAlmaz) << c;
        EXPECT_EQ(ContractAvailable(g, 1, c), !penalty) << c;
        EXPECT_EQ(ContractAvailable(g, 2, c), c != KizAlmaz) << c;
    }
    EXPECT_FALSE(ContractAvailable(g, 2, 10));
}

