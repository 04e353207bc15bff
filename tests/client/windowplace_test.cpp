// The main window's geometry: the table growing with it, its place and size (and the
// help's) kept for the next run, and the score table and the taken-cards window docked at
// its edge.
#include <gtest/gtest.h>

#include <functional>

#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include "card.h"
#include "connectform.h"
#include "helpform.h"
#include "mainform_fixture.h"
#include "penaltyform.h"
#include "regeasy.h"
#include "scoreform.h"

TEST_F(MainFormTest, SideWindowsKeepTheirSizeAndStayOnTheScreenWhateverTheMainWindowDoes)
{
    TScoreForm score;
    TPenaltyForm penalty;
    TConnectForm connectForm;
    TMainForm docked;
    docked.SetSideWindows({.Score = &score, .Connect = &connectForm, .Penalty = &penalty});
    docked.SetAutoStart(false);
    docked.FirstActivation();
    docked.show();
    score.show();
    penalty.show();
    const QRect screen = docked.screen()->availableGeometry();
    const QSize design(800 - table::WindowSize().width(), table::WindowSize().height() / 2);
    // Moved, grown to the whole screen, and back to the smallest size.
    const QSize sizes[] = {table::WindowSize(), screen.size() - QSize(40, 40), table::WindowSize()};
    for (const QSize& size : sizes) {
        docked.resize(size);
        docked.move(20, 10);
        Settle(50);
        for (QWidget* w : {static_cast<QWidget*>(&score), static_cast<QWidget*>(&penalty)}) {
            EXPECT_EQ(w->size(), design) << size.width();
            EXPECT_TRUE(screen.contains(w->frameGeometry())) << size.width();
        }
        EXPECT_FALSE(score.frameGeometry().intersects(penalty.frameGeometry())) << size.width();
    }
    // Over a window as wide as the screen they lie on a strip that the table keeps free of
    // cards; closed, they give it back.
    TTableView& view = docked.View();
    docked.setGeometry(QRect(screen.topLeft(), QSize(screen.width(), table::WindowSize().height())));
    Settle(50);
    for (int p = 0; p < 4; ++p)
        for (int slot : {0, 12}) {
            const QRect card(view.mapToGlobal(view.OnTable(table::SlotTopLeft(p, slot))), QSize(71, 96));
            EXPECT_FALSE(card.intersects(score.frameGeometry()) || card.intersects(penalty.frameGeometry())) << p;
        }
    score.close();
    penalty.close();
    const int centred = (view.width() - table::WindowSize().width()) / 2;
    EXPECT_TRUE(WaitFor([&] { return view.OnTable(QPoint(0, 0)).x() == centred; }, 3000));
    score.show();
    penalty.show();
    // The desktop keeps them above the main window: they are its tool windows. The dialogs
    // of a game and a notice (a port in use, say) asked for from one of them are the main
    // window's too, opened after them, so they are not hidden beneath them.
    connectForm.show();
    for (QWidget* w : {static_cast<QWidget*>(&score), static_cast<QWidget*>(&penalty), static_cast<QWidget*>(&connectForm)}) {
        EXPECT_EQ(w->windowType(), w == &connectForm ? Qt::Dialog : Qt::Tool);
        EXPECT_EQ(w->windowHandle()->transientParent(), docked.windowHandle());
    }
    connectForm.close();
    TUserPrompts::Notice(&penalty, QStringLiteral("Dağıtıcı başlatılamadı!"));
    QMessageBox* box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = docked.findChild<QMessageBox*>(QString(), Qt::FindDirectChildrenOnly)) && box->isVisible(); }, 3000));
    EXPECT_EQ(box->windowHandle()->transientParent(), docked.windowHandle());
    box->close();
}


TEST_F(MainFormTest, TableGrowsWithTheWindowKeepingItsProportions)
{
    EXPECT_EQ(form->size(), table::WindowSize());
    EXPECT_EQ(form->minimumSize(), table::WindowSize());
    EXPECT_DOUBLE_EQ(form->View().Zoom(), 1.0);
    TGameInfo g = DealtRecord(41);
    Seat(0);
    Record(g);
    EXPECT_EQ(form->View().CardSlot(table::kBottom, 4)->pos(), table::SlotTopLeft(table::kBottom, 4));

    // Twice as wide and twice as high: everything twice as large and twice as far apart.
    const QSize chrome = form->size() - form->centralWidget()->size();
    form->resize(table::WindowSize() * 2 - chrome);
    ASSERT_TRUE(WaitFor([&] { return form->View().Zoom() > 1.5; }, 3000));
    EXPECT_NEAR(form->View().Zoom(), 2.0, 0.01);
    const QPoint o = form->View().OnTable(QPoint(0, 0));
    for (int p = 0; p < 4; ++p) {
        EXPECT_EQ(form->View().CardSlot(p, 3)->size(), QSize(142, 192));
        EXPECT_LE((form->View().CardSlot(p, 3)->pos() - o - table::SlotTopLeft(p, 3) * 2).manhattanLength(), 2);
        EXPECT_LE((form->View().TrickCard(p)->pos() - o - table::TrickCardTopLeft(p) * 2).manhattanLength(), 2);
        EXPECT_EQ(form->View().HandMarker(p)->size(), QSize(64, 64));
    }
    EXPECT_GT(form->View().NameLabel(table::kTop)->height(), 20);
    EXPECT_GT(form->View().LabelGameType()->width(), 150);
    // Wider than that: the table stays centred, no wider in proportion.
    form->resize(form->width() + 200, form->height());
    ASSERT_TRUE(WaitFor([&] { return form->View().OnTable(QPoint(0, 0)).x() > o.x() + 50; }, 3000));
    EXPECT_NEAR(form->View().Zoom(), 2.0, 0.01);
    EXPECT_EQ(form->View().CardSlot(table::kBottom, 0)->size(), QSize(142, 192));

    // The smallest size gives the design back exactly.
    form->resize(table::WindowSize());
    ASSERT_TRUE(WaitFor([&] { return form->View().Zoom() < 1.01; }, 3000));
    EXPECT_EQ(form->View().CardSlot(table::kLeft, 7)->pos(), table::SlotTopLeft(table::kLeft, 7));
    EXPECT_EQ(form->View().TrickCard(table::kRight)->geometry(), QRect(table::TrickCardTopLeft(table::kRight), QSize(71, 96)));
}


TEST_F(MainFormTest, PlacesAndSizesAreRememberedAndAPlaceOffTheScreensIsNotTaken)
{
    // The help (as the lists) stays where the user put it, also in the next run.
    const auto helpAt = [](std::function<void(THelpForm&)> use) {
        THelpForm help;
        TMainForm main;
        main.SetSideWindows({.Help = &help});
        main.SetAutoStart(false);
        main.FirstActivation();
        help.show();
        use(help);
        return help.pos();
    };
    helpAt([](THelpForm& help) {
        help.move(130, 70);
        ASSERT_TRUE(WaitFor([&] { return ReadRegInteger(kRegKey, QStringLiteral("HelpLeft"), 0) == help.x(); }, 3000));
    });
    EXPECT_EQ(helpAt([](THelpForm&) {}),
              QPoint(ReadRegInteger(kRegKey, QStringLiteral("HelpLeft"), 0), ReadRegInteger(kRegKey, QStringLiteral("HelpTop"), 0)));

    form->move(60, 40);
    form->resize(700, 800);
    ASSERT_TRUE(WaitFor([&] { return ReadRegInteger(kRegKey, kRegMainWidth, 0) == 700; }, 3000));
    EXPECT_EQ(ReadRegInteger(kRegKey, kRegMainHeight, 0), 800);
    // The inner area is kept: a desktop's frame around it does not shift it at every start.
    EXPECT_EQ(ReadRegInteger(kRegKey, kRegMainLeft, -1), form->geometry().x());
    EXPECT_EQ(ReadRegInteger(kRegKey, kRegMainTop, -1), form->geometry().y());
    {
        TMainForm next;
        next.SetAutoStart(false);
        next.show(); // taken before the window first appears
        EXPECT_EQ(next.geometry(), form->geometry());
        EXPECT_FALSE(next.isMaximized());
    }
    // Maximised: it comes back maximised, and its size before that is kept.
    form->showMaximized();
    ASSERT_TRUE(WaitFor([&] { return ReadRegBool(kRegKey, kRegMainMaximized, false); }, 3000));
    EXPECT_EQ(ReadRegInteger(kRegKey, kRegMainWidth, 0), 700);
    {
        TMainForm next;
        next.SetAutoStart(false);
        next.show();
        EXPECT_TRUE(next.isMaximized());
        next.showNormal();
        EXPECT_EQ(next.size(), QSize(700, 800));
    }
    form->showNormal();
    ASSERT_TRUE(WaitFor([&] { return !ReadRegBool(kRegKey, kRegMainMaximized, true); }, 3000));
    // Stored while another screen was plugged in: the windows come up where they were designed.
    WriteRegInteger(kRegKey, QStringLiteral("HelpLeft"), 9000);
    EXPECT_NE(helpAt([](THelpForm&) {}).x(), 9000);
    WriteRegInteger(kRegKey, kRegMainLeft, 5000);
    WriteRegInteger(kRegKey, kRegMainHeight, 100); // too small: the design is the least
    TMainForm lost;
    lost.SetAutoStart(false);
    lost.FirstActivation();
    EXPECT_EQ(lost.pos(), QPoint(0, 0));
    EXPECT_EQ(lost.size(), QSize(700, table::WindowSize().height()));
}
