// Commands that would throw a game away ask first, every question has a way back, and the
// table's texts and buttons say what they mean.
#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "mainform_fixture.h"
#include "prompts.h"

namespace {

// The dealer's own window, seated at 0, with a game in its third hand.
class DealerWindowTest : public MainFormTest {
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        // "Oyundan Çık" closes the window; that must not end the tests' application.
        form->setAttribute(Qt::WA_QuitOnClose, false);
        form->Session().IsDealer = true;
        Seat(0);
        game = DealtRecord(9);
        ChooseContract(game, KozSinek);
        Record(game);
    }
    TGameInfo game;
};

TEST_F(DealerWindowTest, NewAndLoadAskFirstWhileAGameIsInProgressAndNoKeepsIt)
{
    user.answers = {false};
    form->Menus().NewGame->trigger();
    Answered();
    ASSERT_EQ(user.questions.size(), 1);
    EXPECT_TRUE(user.questions[0].startsWith(QStringLiteral("Oyun devam ediyor...\n\n")));
    EXPECT_EQ(sent.Count(NEW_GAME), 0);
    form->Menus().NewGame->trigger(); // Yes
    Answered();
    EXPECT_EQ(sent.Count(NEW_GAME), 1);

    user.answers = {false};
    form->Menus().Load->trigger();
    Answered();
    EXPECT_EQ(user.questions.size(), 3);
    EXPECT_TRUE(user.dialogTitles.isEmpty()); // No: no file dialog at all
    // Yes, then the file dialog cancelled: the game goes on, no new game either.
    form->Menus().Load->trigger();
    Answered();
    EXPECT_EQ(user.dialogTitles.size(), 1);
    EXPECT_EQ(sent.Count(NEW_GAME), 1);
    EXPECT_EQ(sent.Count(GAME_RECORD), 0);

    // After the game nothing is lost: no question.
    TGameInfo over = game;
    over.Phase = psGameOver;
    Record(over);
    const auto asked = user.questions.size();
    form->Menus().Load->trigger();
    Answered();
    form->Menus().NewGame->trigger();
    Answered();
    EXPECT_EQ(user.questions.size(), asked);
    EXPECT_EQ(user.dialogTitles.size(), 2);
    EXPECT_EQ(sent.Count(NEW_GAME), 2);
}

TEST_F(DealerWindowTest, LeavingTheGameHasAWayBackAndYesAndNoKeepTheirMeaning)
{
    form->Menus().Quit->trigger(); // the scripted user answers "Oyuna dön"
    Answered();
    EXPECT_EQ(user.questions.size(), 1);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(user.dialogTitles.isEmpty());

    // Save first, then out: a cancelled save dialog returns to the game.
    user.threeWay = {TPromptAnswer::No};
    form->Menus().Quit->trigger();
    Answered();
    EXPECT_EQ(user.dialogTitles.size(), 1);
    EXPECT_TRUE(form->isVisible());

    // The close box asks the same, and says that the table ends for the others too.
    form->close();
    Answered();
    ASSERT_EQ(user.questions.size(), 3);
    EXPECT_EQ(user.questions[2], user.questions[0]);
    EXPECT_TRUE(user.questions[2].contains(QStringLiteral("diğer oyuncular için de oyun biter")));
    EXPECT_TRUE(form->isVisible());
    QTemporaryDir folder;
    user.saveName = folder.filePath(QStringLiteral("yarim.rvo"));
    user.threeWay = {TPromptAnswer::No}; // saved, then out
    form->close();
    Answered();
    EXPECT_TRUE(QFile::exists(user.saveName));
    EXPECT_FALSE(form->isVisible());

    form->show();
    user.threeWay = {TPromptAnswer::Yes}; // out without saving
    form->Menus().Quit->trigger();
    Answered();
    EXPECT_EQ(user.dialogTitles.size(), 2);
    EXPECT_FALSE(form->isVisible());

    // A player who joined is asked only whether to leave the seat to the computer.
    form->show();
    form->Session().IsDealer = false;
    user.answers = {false};
    form->close();
    Answered();
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(user.questions.back().contains(QStringLiteral("yerine bilgisayar oynar")));
    form->close(); // Yes
    Answered();
    EXPECT_FALSE(form->isVisible());
}

// The real question box: three buttons, and Escape is the way back.
TEST(Prompts, EscapeInTheLeavingQuestionGoesBackToTheGame)
{
    const auto box = TUserPrompts::BackBox(nullptr, QStringLiteral("Oyun devam ediyor..."));
    QStringList captions;
    for (QAbstractButton* b : box->buttons())
        captions << b->text();
    captions.sort();
    EXPECT_EQ(captions, (QStringList{QStringLiteral("Evet"), QStringLiteral("Hayır"), QStringLiteral("Oyuna dön")}));
    box->show();
    QTest::keyClick(box.get(), Qt::Key_Escape);
    EXPECT_FALSE(box->isVisible());
    EXPECT_EQ(TUserPrompts::AnswerOf(*box), TPromptAnswer::Back);
    box->show();
    box->button(QMessageBox::No)->click();
    EXPECT_EQ(TUserPrompts::AnswerOf(*box), TPromptAnswer::No);
    box->show();
    box->button(QMessageBox::Yes)->click();
    EXPECT_EQ(TUserPrompts::AnswerOf(*box), TPromptAnswer::Yes);
}

TEST_F(MainFormTest, ComputerSwitchedOnDuringTheUsersTurnPlaysAtOnce)
{
    TGameInfo g = DealtRecord(9);
    ChooseContract(g, KozSinek);
    Seat(g.Turn);
    form->Menus().Quick->trigger();
    Record(g);
    Settle(50);
    EXPECT_EQ(sent.Count(CARD_PLAY), 0);
    form->Menus().ComputerAlways->trigger();
    EXPECT_TRUE(WaitFor([&] { return sent.Count(CARD_PLAY) == 1; }, 2000));
    // Switched off while the computer waits: it does not play.
    form->Menus().ComputerAlways->trigger();
    Record(g);
    form->Menus().ComputerAlways->trigger();
    form->Menus().ComputerAlways->trigger();
    Settle(100);
    EXPECT_EQ(sent.Count(CARD_PLAY), 1);
}

TEST_F(MainFormTest, WaitingTextShownWholeUntilTheTableIsFullAndTheChatButtonIsABalloon)
{
    form->Session().IsDealer = true;
    Seat(0);
    const QString waiting = QStringLiteral(
        "Oyuna başlamak için 3 kişi bekleniyor... (Mevcut oyuncularla başlamak için F2 tuşuna basın)");
    TPayloadWriter status;
    status.Text(waiting);
    Deliver(STATUS_TEXT, status.Bytes());
    EXPECT_EQ(form->StatusText(), waiting);
    auto* label = form->findChild<QLabel*>(QStringLiteral("StatusBar"));
    ASSERT_NE(label, nullptr);
    Settle(50);
    // At the smallest window the text takes two lines, every word of it in sight.
    EXPECT_EQ(QString(label->text()).replace(QLatin1Char('\n'), QLatin1Char(' ')), waiting);
    EXPECT_EQ(label->text().count(QLatin1Char('\n')), 1);
    EXPECT_LE(label->fontMetrics().boundingRect(QRect(0, 0, 10000, 1000), 0, label->text()).width(), label->width());
    EXPECT_GE(label->height(), 2 * label->fontMetrics().height());
    form->resize(1200, form->height()); // wide enough for one line
    Settle(50);
    EXPECT_EQ(label->text(), waiting);

    for (int seat = 1; seat <= 3; ++seat) {
        TPayloadWriter name;
        name.Byte(uint8_t(seat)).Text(QStringLiteral("Acemi%1").arg(seat));
        Deliver(SEAT_NAME, name.Bytes());
    }
    EXPECT_EQ(form->StatusText(), QStringLiteral("Masa tamamlandı."));
    Deliver(STATUS_TEXT, status.Bytes()); // a late count changes nothing now
    EXPECT_EQ(form->StatusText(), QStringLiteral("Masa tamamlandı."));

    auto* chat = form->findChild<QPushButton*>(QStringLiteral("BitBtn1"));
    ASSERT_NE(chat, nullptr);
    EXPECT_TRUE(chat->text().isEmpty());
    EXPECT_FALSE(chat->icon().isNull());
    EXPECT_EQ(chat->toolTip(), QStringLiteral("Yaz"));
    EXPECT_FALSE(chat->icon().pixmap(QSize(24, 18), 2.0).toImage().isNull());
}

} // namespace
