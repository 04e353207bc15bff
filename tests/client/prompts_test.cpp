// The program's line of notices: nothing is shown inside the caller, one box at a time, not
// modal, the next after the open one is closed, repeats of a waiting text dropped.
#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
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

// The real windows: every question returns at once with its window open, and the answer
// follows when the user closes it.
TEST(Prompts, QuestionsReturnAtOnceAndAnswerWhenTheirWindowCloses)
{
    TUserPrompts prompts;
    QList<std::pair<TPromptAnswer, QString>> answers;
    const auto listen = [&](TPromptReply* reply) {
        QObject::connect(reply, &TPromptReply::finished,
                         [&](TPromptAnswer a, const QString& text) { answers.append({a, text}); });
    };
    listen(prompts.AskOrBack(nullptr, QStringLiteral("Oyun devam ediyor...")));
    ASSERT_EQ(OpenBoxes().size(), 1);
    EXPECT_TRUE(answers.isEmpty());
    OpenBoxes()[0]->button(QMessageBox::No)->click();
    ASSERT_EQ(answers.size(), 1);
    EXPECT_EQ(answers[0].first, TPromptAnswer::No);

    listen(prompts.AskLine(nullptr, QStringLiteral("Ne dinonuz?")));
    auto* line = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(line, nullptr);
    line->setTextValue(QStringLiteral("selam"));
    line->accept();
    listen(prompts.SaveFileName(nullptr, QStringLiteral("Oyunu kaydet"), QStringLiteral("*.rvo"), QStringLiteral("rvo")));
    ASSERT_NE(qobject_cast<QFileDialog*>(QApplication::activeModalWidget()), nullptr);
    QApplication::activeModalWidget()->close();
    ASSERT_EQ(answers.size(), 3);
    EXPECT_EQ(answers[1], std::make_pair(TPromptAnswer::Yes, QStringLiteral("selam")));
    EXPECT_EQ(answers[2].first, TPromptAnswer::Back) << "a cancelled file dialog";
    // Each window goes once it is closed.
    EXPECT_TRUE(WaitFor([] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<QDialog*>(w))
                return false;
        return true;
    }));
}
