#include "contractsdlg.h"
#include "selectpanel.h"
#include "ui_test_util.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cstring>

namespace {

const QColor kBlue(10, 222, 245);
const QColor kPink(255, 179, 217);

TGameInfo FreshGame()
{
    TGameInfo g;
    std::memset(&g, 0, sizeof g);
    TRandom rnd(11);
    NewGame(g, rnd);
    return g;
}

struct Dialog {
    TGameInfo record = FreshGame();
    uint8_t seat = 0;
    TOKRightDlgContracts dlg;
    int changes = 0;
    Dialog()
    {
        dlg.Bind(&record, &seat);
    }
    void Show()
    {
        dlg.show();
        QApplication::processEvents();
        // Count the selection changes the dialog sees.
        QObject::connect(dlg.SelectPanel, &TSelectPanel::changed, [this] { ++changes; });
    }
    auto* Item(int i) { return static_cast<TSelectItem*>(dlg.SelectPanel->GetPanel(i)); }
    QStringList Captions()
    {
        QStringList out;
        for (int i = 0; i < dlg.SelectPanel->Count(); ++i)
            out << Item(i)->text();
        return out;
    }
};

TEST(ContractDialog, StartOfGameOffersAllTenInContractOrder)
{
    Dialog d;
    d.Show();
    EXPECT_EQ(d.dlg.windowTitle(), QStringLiteral("Bir oyun şekli seç"));
    EXPECT_EQ(d.Captions(), QStringList({"- El Almaz", "- Kupa Almaz", QStringLiteral("- Kız Almaz"),
                                         "- Erkek Almaz", "- Soniki Almaz", QStringLiteral("- Rıfkı Almaz"),
                                         "+ Koz Sinek", "+ Koz Karo", "+ Koz Kupa", QStringLiteral("+ Koz Maça")}));
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(d.dlg.ContractOfItem[size_t(i)], i);
    EXPECT_EQ(d.dlg.SelectPanel->height(), 220);
    EXPECT_EQ(d.dlg.height(), 220 + 2 * d.dlg.ComboBoxContracts->height());
    EXPECT_EQ(d.dlg.SelectPanel->ItemIndex(), 0);
    EXPECT_TRUE(d.Item(0)->Lowered());
    EXPECT_EQ(d.Item(0)->Colour(), kPink);
    EXPECT_EQ(d.dlg.OKBtn->y(), d.dlg.SelectPanel->y());
    EXPECT_TRUE(d.dlg.SelectPanel->hasFocus());
}

TEST(ContractDialog, OffersOnlyWhatTheSeatMayStillChoose)
{
    Dialog d;
    d.record.Score.TrumpsChosen[0] = 2;
    MarkChosen(d.record.Score, KizAlmaz);
    MarkChosen(d.record.Score, KizAlmaz);
    MarkChosen(d.record.Score, RifkiAlmaz);
    d.Show();
    EXPECT_EQ(d.Captions(), QStringList({"- El Almaz", "- Kupa Almaz", "- Erkek Almaz", "- Soniki Almaz",
                                         QStringLiteral("- Rıfkı Almaz")}));
    EXPECT_EQ(d.dlg.ContractOfItem[2], ErkekAlmaz);
    EXPECT_EQ(d.dlg.SelectPanel->height(), 5 * 22);

    // Restored after being minimised, it keeps the offer and the user's selection.
    d.dlg.SelectPanel->SetItemIndex(3);
    d.seat = 1;
    d.record.Score.PenaltiesChosen[1] = 3;
    d.dlg.showMinimized();
    d.dlg.hide();
    d.dlg.showNormal();
    EXPECT_EQ(d.dlg.SelectPanel->Count(), 5);
    EXPECT_EQ(d.dlg.SelectPanel->ItemIndex(), 3);

    // Another opening rebuilds the items: a seat with three penalty contracts sees trumps.
    d.dlg.reject();
    d.Show();
    EXPECT_EQ(d.Captions(), QStringList({"+ Koz Sinek", "+ Koz Karo", "+ Koz Kupa", QStringLiteral("+ Koz Maça")}));
    EXPECT_EQ(d.dlg.SelectPanel->ItemIndex(), 0);
    EXPECT_EQ(d.dlg.Result(), KozSinek);
}

TEST(ContractDialog, ClickingTheThirdItemSelectsItAndMovesTheButton)
{
    Dialog d;
    d.Show();
    QTest::mouseClick(d.Item(2), Qt::LeftButton);
    EXPECT_EQ(d.changes, 1);
    EXPECT_EQ(d.dlg.SelectPanel->ItemIndex(), 2);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(d.Item(i)->Lowered(), i == 2) << i;
        EXPECT_EQ(d.Item(i)->Colour(), i == 2 ? kPink : kBlue) << i;
    }
    EXPECT_EQ(d.dlg.OKBtn->y(), d.dlg.SelectPanel->y() + 2 * 22);
    QTest::mouseClick(d.Item(2), Qt::RightButton); // any button; same item: no change
    EXPECT_EQ(d.changes, 1);

    QTest::mouseClick(d.dlg.OKBtn, Qt::LeftButton);
    EXPECT_EQ(d.dlg.result(), QDialog::Accepted);
    EXPECT_EQ(d.dlg.Result(), KizAlmaz);
}

TEST(ContractDialog, EscapeOrClosingGivesTheHighlightedOffer)
{
    Dialog d;
    d.record.Score.PenaltiesChosen[0] = 3;
    d.Show();
    QTest::mouseClick(d.Item(3), Qt::LeftButton);
    QTest::keyClick(d.dlg.SelectPanel, Qt::Key_Escape);
    EXPECT_FALSE(d.dlg.isVisible());
    EXPECT_EQ(d.dlg.Result(), KozMaca);
    d.Show();
    QTest::keyClick(d.dlg.SelectPanel, Qt::Key_Down);
    d.dlg.close();
    EXPECT_EQ(d.dlg.Result(), KozKaro);
}

TEST(ContractDialog, ArrowKeysMoveTheSelectionWithinTheItems)
{
    Dialog d;
    d.Show();
    QTest::keyClick(d.dlg.SelectPanel, Qt::Key_Up);
    EXPECT_EQ(d.dlg.SelectPanel->ItemIndex(), 0);
    EXPECT_EQ(d.changes, 0);
    QTest::keyClick(d.dlg.SelectPanel, Qt::Key_Down);
    QTest::keyClick(d.dlg.SelectPanel, Qt::Key_Down);
    EXPECT_EQ(d.dlg.SelectPanel->ItemIndex(), 2);
    EXPECT_EQ(d.dlg.SelectPanel->Tag, -1);
    EXPECT_EQ(d.dlg.OKBtn->y(), d.dlg.SelectPanel->y() + 2 * 22);
    for (int i = 0; i < 10; ++i)
        QTest::keyClick(d.dlg.SelectPanel, Qt::Key_Down);
    EXPECT_EQ(d.dlg.SelectPanel->ItemIndex(), 9);
    // The button handed the focus by an arrow key gives it back.
    d.dlg.OKBtn->setFocus();
    EXPECT_TRUE(d.dlg.SelectPanel->hasFocus());
    EXPECT_EQ(d.dlg.SelectPanel->Tag, 0);
}

TEST(ContractDialog, SetItemIndexOutsideOrCurrentDoesNothing)
{
    Dialog d;
    d.Show();
    for (int i : {-1, 10, 11, 0}) {
        d.dlg.SelectPanel->SetItemIndex(i);
        EXPECT_EQ(d.dlg.SelectPanel->ItemIndex(), 0) << i;
    }
    EXPECT_EQ(d.changes, 0);
    EXPECT_EQ(d.dlg.SelectPanel->GetPanel(10), d.dlg.SelectPanel);
    EXPECT_EQ(d.dlg.SelectPanel->GetPanel(-1), d.dlg.SelectPanel);
    d.dlg.SelectPanel->SetItemIndex(5);
    EXPECT_EQ(d.changes, 1);
    EXPECT_EQ(d.dlg.OKBtn->y(), d.dlg.SelectPanel->y() + 5 * 22);
}

TEST(SelectPanel, BuildsNumberedItemsAndClearsThem)
{
    TSelectPanel panel(nullptr, 3);
    EXPECT_EQ(panel.Count(), 3);
    EXPECT_EQ(panel.ItemIndex(), 0);
    EXPECT_EQ(panel.height(), 66);
    EXPECT_EQ(static_cast<QLabel*>(panel.GetPanel(2))->text(), "Panel3");
    EXPECT_EQ(panel.GetPanel(2)->geometry(), QRect(0, 44, 125, 22));
    int keys = 0;
    QObject::connect(&panel, &TSelectPanel::keyReleased, [&](int) { ++keys; });
    EXPECT_EQ(panel.AddPanel(), 4);
    QTest::keyRelease(panel.GetPanel(3), Qt::Key_A);
    QTest::keyRelease(&panel, Qt::Key_B);
    EXPECT_EQ(keys, 2);
    panel.Clear();
    EXPECT_EQ(panel.Count(), 0);
    EXPECT_EQ(panel.ItemIndex(), -1);
    EXPECT_EQ(panel.height(), 88);
}

TEST(ContractDialog, UnseatedUserIsOfferedNothing)
{
    Dialog d;
    d.seat = 255;
    d.Show();
    EXPECT_EQ(d.dlg.SelectPanel->Count(), 0);
    EXPECT_EQ(d.dlg.Result(), kNone);
}

} // namespace
