#include "tablenews.h"

#include "ui_test_util.h"

#include <gtest/gtest.h>

namespace {

TEST(TableNews, HandNumbersTheEndOfAHandAndTheWinners)
{
    TGameInfo g = SampleRecord(); // in its third hand, the contract still to choose
    EXPECT_EQ(ContractsPlayed(g), 3 + 2 + 1);
    g.Phase = psChoosing;
    EXPECT_EQ(HandNumberText(g), QStringLiteral("El 7 / 20"));
    TGameInfo start = g;
    start.Phase = psPlaying;
    start.Contract = 1;
    start.Score.PenaltiesChosen[0] += 1;
    EXPECT_EQ(HandNumber(start), 7);
    TGameInfo after = start;
    after.Phase = psChoosing;
    after.Score.Totals[0].Total -= 60;
    after.Score.Totals[2].Total -= 300;
    EXPECT_EQ(HandSummary(start, after), QStringLiteral("El 7 (%1) bitti: Ayşe −60, Bora 0, Cem −300, Derya 0.")
                                             .arg(QString::fromUtf8(ContractNames[1])));
    TGameInfo blank{};
    InitGameInfo(blank);
    EXPECT_EQ(HandNumberText(blank), QString());

    // Two players share the best total: both win; everyone's total follows, highest first.
    g.Phase = psGameOver;
    const int16_t totals[4] = {-80, 130, 130, -50};
    for (int p = 0; p < 4; ++p)
        g.Score.Totals[p].Total = totals[p];
    EXPECT_EQ(GameResultText(g), QStringLiteral("Oyun bitti. Kazananlar: Bora, Cem (+130 puan).\n\n"
                                                "Bora: +130\nCem: +130\nDerya: −50\nAyşe: −80"));
}

} // namespace
