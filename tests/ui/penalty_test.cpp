#include "card.h"
#include "penaltyform.h"
#include "ui_test_util.h"

#include <QLabel>

#include <cstring>

#include <gtest/gtest.h>

namespace {

struct Taken {
    TGameInfo record = SampleRecord();
    TPenaltyForm form;
    Taken() { form.Bind(&record); }
    void Take(int seat, uint8_t suit, uint8_t value)
    {
        AddCard(record.TakenValue, record.TakenSuit, record.TakenCount, seat, suit, value);
    }
};

TEST(TakenCards, LayoutBeforeTheFirstRefresh)
{
    Taken t;
    EXPECT_EQ(t.form.windowTitle(), QStringLiteral("Alınanlar"));
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(t.form.NameLabel(i)->isHidden());
        EXPECT_EQ(t.form.NameLabel(i)->text(), QStringLiteral("'Ruvo'ci %1").arg(i + 1));
        EXPECT_EQ(t.form.RowPanel(i)->height(), 43);
        for (int k = 0; k < 13; ++k) {
            EXPECT_TRUE(t.form.Card(i, k)->isHidden());
            EXPECT_EQ(t.form.Card(i, k)->pos(), QPoint(15 * k, 0));
        }
    }
    Grab(t.form);
    for (int i = 0; i < 4; ++i) {
        // Row i starts below i + 1 spacers and i rows; its name label is level with it.
        const QPoint rowTop = t.form.RowPanel(i)->mapTo(&t.form, QPoint(0, 0));
        EXPECT_EQ(rowTop.y(), 15 * (i + 1) + 43 * i);
        const QRect label = t.form.NameLabel(i)->geometry();
        EXPECT_NEAR(label.center().y(), rowTop.y() + 21, 1);
    }
}

TEST(TakenCards, FacesInCardContractsBacksInTrickContracts)
{
    Taken t;
    t.record.Contract = KizAlmaz;
    t.Take(1, Hearts, Queen);
    t.Take(1, Spades, Queen);
    t.form.Refresh();
    EXPECT_FALSE(t.form.NameLabel(1)->isHidden());
    EXPECT_EQ(t.form.NameLabel(0)->text(), QStringLiteral("Ayşe"));
    for (int k = 0; k < 2; ++k) {
        TCard* card = t.form.Card(1, k);
        EXPECT_FALSE(card->isHidden());
        EXPECT_TRUE(card->ShowCard());
        EXPECT_EQ(card->Card(), Queen);
    }
    EXPECT_EQ(t.form.Card(1, 0)->Suit(), Hearts);
    EXPECT_EQ(t.form.Card(1, 1)->Suit(), Spades);
    EXPECT_TRUE(t.form.Card(1, 2)->isHidden());
    EXPECT_TRUE(t.form.Card(0, 0)->isHidden());

    for (uint8_t contract : {ElAlmaz, SonikiAlmaz, KozSinek, KozMaca}) {
        Taken tricks;
        tricks.record.Contract = contract;
        tricks.record.TakenCount[3] = 13; // counted tricks, no cards stored
        tricks.form.Refresh();
        for (int k = 0; k < 13; ++k) {
            EXPECT_FALSE(tricks.form.Card(3, k)->isHidden());
            EXPECT_FALSE(tricks.form.Card(3, k)->ShowCard()) << int(contract);
        }
    }
    for (uint8_t contract : {KupaAlmaz, KizAlmaz, ErkekAlmaz, RifkiAlmaz})
        EXPECT_FALSE(TPenaltyForm::CountsTricks(contract));
}

TEST(TakenCards, ShownCardKeepsItsFaceUntilHiddenOnce)
{
    Taken t;
    t.record.Contract = KupaAlmaz;
    t.Take(2, Hearts, Five);
    t.form.Refresh();
    t.record.TakenValue[2][0] = Nine;
    t.form.Refresh();
    EXPECT_EQ(t.form.Card(2, 0)->Card(), Five);

    t.record.TakenCount[2] = 0; // a new hand
    t.form.Refresh();
    EXPECT_TRUE(t.form.Card(2, 0)->isHidden());
    t.record.TakenCount[2] = 1;
    t.form.Refresh();
    EXPECT_EQ(t.form.Card(2, 0)->Card(), Nine);
    EXPECT_FALSE(t.form.Card(2, 0)->isHidden());
}

} // namespace

namespace {

TEST(TakenCards, NamesArePlainTextAndTheEndOfAGameShowsWhatTheLastHandTook)
{
    Taken t;
    std::strcpy(t.record.PlayerName[1], "<img src=x>");
    std::strcpy(t.record.PlayerName[3], "Alexandra Konstantinopoulou-9");
    // A hand of Kız Almaz left Q♦ J♦ in seat 2's row; in the last hand, El Almaz, seat 2
    // took two tricks, counted over those bytes.
    t.record.Contract = KizAlmaz;
    t.Take(2, Diamonds, Queen);
    t.Take(2, Diamonds, Jack);
    t.record.Contract = ElAlmaz;
    t.record.TakenCount[2] = 1;
    t.form.Refresh();
    EXPECT_EQ(t.form.NameLabel(1)->textFormat(), Qt::PlainText);
    EXPECT_EQ(t.form.NameLabel(1)->text(), QStringLiteral("<img src=x>"));
    // A long name is cut to the panel with an ellipsis, whole in its tip.
    const QLabel* cut = t.form.NameLabel(3);
    EXPECT_LE(cut->fontMetrics().horizontalAdvance(cut->text()), cut->width());
    EXPECT_TRUE(cut->text().endsWith(QChar(0x2026)));
    EXPECT_EQ(ShownTip(cut->toolTip()), QStringLiteral("Alexandra Konstantinopoulou-9"));
    EXPECT_EQ(t.form.minimumSize(), t.form.maximumSize());
    t.record.TakenCount[2] = 2;
    EndGame(t.record);
    t.form.Refresh();
    for (int k = 0; k < 2; ++k) {
        EXPECT_FALSE(t.form.Card(2, k)->isHidden()) << k;
        EXPECT_FALSE(t.form.Card(2, k)->ShowCard()) << k;
    }
    // A window whose first record is the end of the game does not show those bytes either.
    TPenaltyForm joined;
    joined.Bind(&t.record);
    joined.Refresh();
    EXPECT_FALSE(joined.Card(2, 1)->ShowCard());

    // A last hand that collects cards keeps showing them, the last trick's included.
    Taken kiz;
    kiz.record.Contract = KizAlmaz;
    kiz.Take(1, Spades, Queen);
    kiz.form.Refresh();
    EndGame(kiz.record);
    kiz.Take(1, Hearts, Queen);
    kiz.form.Refresh();
    EXPECT_TRUE(kiz.form.Card(1, 1)->ShowCard());
    EXPECT_EQ(kiz.form.Card(1, 1)->Suit(), Hearts);
}

} // namespace
