// The program's line of notices: nothing is shown inside the caller, one box at a time, not
// modal, the next after the open one is closed, repeats of a waiting text dropped.
#include <QApplication>
#include <QMessageBox>
#include <QThread>

#include <gtest/gtest.h>

#include <thread>

#include "client_test_util.h"
#include "prompts.h"

namespace {

QList<QMessageBox*> OpenBoxes()
{
    QList<QMessageBox*> boxes;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible())
            boxes.append(box);
    return boxes;
}

} // namespace

TEST(Notices, OneBoxAtATimeShownFromTheEventLoopNeverInsideTheCaller)
{
    ASSERT_EQ(TUserPrompts::PendingNotices(), 0);
    TUserPrompts::Notice(nullptr, QStringLiteral("birinci"));
    TUserPrompts::Notice(nullptr, QStringLiteral("ikinci"));
    TUserPrompts::Notice(nullptr, QStringLiteral("birinci")); // waiting already: dropped
    std::thread([] { TUserPrompts::Notice(nullptr, QStringLiteral("üçüncü")); }).join();
    EXPECT_TRUE(OpenBoxes().isEmpty()) << "nothing is shown inside the caller";

    QStringList shown;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(WaitFor([] { return OpenBoxes().size() == 1; })) << i;
        Settle(30);
        const QList<QMessageBox*> boxes = OpenBoxes();
        ASSERT_EQ(boxes.size(), 1) << "one box at a time";
        EXPECT_FALSE(boxes[0]->isModal());
        shown.append(boxes[0]->text());
        boxes[0]->accept();
    }
    EXPECT_EQ(shown, (QStringList{"birinci", "ikinci", "üçüncü"}));
    ASSERT_TRUE(WaitFor([] { return TUserPrompts::PendingNotices() == 0; }));
    Settle(30);
    EXPECT_TRUE(OpenBoxes().isEmpty());
}

TEST(Notices, BeepsComeFirstAndTheQueueIsBounded)
{
    TUserPrompts::Notice(nullptr, QStringLiteral("bip"), 2);
    Settle(100);
    EXPECT_TRUE(OpenBoxes().isEmpty()) << "the box follows the second beep, a second later";
    ASSERT_TRUE(WaitFor([] { return OpenBoxes().size() == 1; }, 5000));
    EXPECT_EQ(OpenBoxes()[0]->text(), QStringLiteral("bip"));

    for (int i = 0; i < 3 * TUserPrompts::kMaxWaitingNotices; ++i)
        TUserPrompts::Notice(nullptr, QStringLiteral("taşma %1").arg(i));
    Settle(50);
    EXPECT_EQ(TUserPrompts::PendingNotices(), 1 + TUserPrompts::kMaxWaitingNotices);
    while (!OpenBoxes().isEmpty()) {
        OpenBoxes()[0]->accept();
        WaitFor([] { return !OpenBoxes().isEmpty() || TUserPrompts::PendingNotices() == 0; });
    }
    EXPECT_EQ(TUserPrompts::PendingNotices(), 0);
}
