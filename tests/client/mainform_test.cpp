// The main window without a network: card clicks, the table it draws from a record, and the
// menu settings.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <QTreeWidget>

#include "card.h"
#include "cheer.h"
#include "computergame.h"
#include "helpform.h"
#include "highform.h"
#include "mainform_fixture.h"
#include "recordtext.h"
#include "tablenews.h"
#include "penaltyform.h"
#include "scoreform.h"
#include "regeasy.h"
#include "sounds.h"

namespace {

// A trick just led by one seat, where the next seat holds both cards it may play and cards
// it may not (it must follow the led suit).
struct TFollowSituation {
    TGameInfo g;
    int me;
    int legalSlot, illegalSlot;
};

TFollowSituation FindFollowSituation()
{
    for (uint32_t seed = 1; seed < 500; ++seed) {
        TGameInfo g = DealtRecord(seed);
        ChooseContract(g, ElAlmaz);
        const int leader = g.Turn;
        PlayCard(g, leader, g.CardSuit[leader][0], g.CardValue[leader][0]);
        const int me = g.Turn;
        int legal = -1, illegal = -1;
        for (int k = 0; k < g.CardCount[me]; ++k) {
            std::string why;
            (IsPlayable(g, me, g.CardSuit[me][k], g.CardValue[me][k], why) ? legal : illegal) = k;
        }
        if (legal >= 0 && illegal >= 0)
            return {g, me, legal, illegal};
    }
    ADD_FAILURE() << "no deal with a forced follow";
    return {};
}

} // namespace

TEST_F(MainFormTest, LegalClickSendsOneCardAndIllegalClickShowsTheRefusal)
{
    const TFollowSituation s = FindFollowSituation();
    Seat(s.me);
    Record(s.g);
    TCard* legal = form->View().CardSlot(table::kBottom, s.legalSlot);
    TCard* illegal = form->View().CardSlot(table::kBottom, s.illegalSlot);
    ASSERT_TRUE(legal->isVisible());
    // Exactly the playable cards carry the hand-point cursor.
    EXPECT_EQ(legal->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(illegal->cursor().shape(), Qt::ArrowCursor);
    // The leader's card lies at the leader's place.
    const int leaderPlace = form->View().RelativePosition(s.g.Leader);
    EXPECT_TRUE(form->View().TrickCard(leaderPlace)->isVisible());
    EXPECT_EQ(form->View().TrickCard(leaderPlace)->Suit(), s.g.TrickSuit[0]);
    EXPECT_EQ(form->View().TrickCard(leaderPlace)->Card(), s.g.TrickValue[0]);
    EXPECT_EQ(form->StatusText(), QStringLiteral("%1 bir kağıt oynayacak...")
                                      .arg(QString::fromLatin1(s.g.PlayerName[s.me])));

    // The illegal card: the refusal in a box, nothing sent.
    QTest::mouseClick(illegal, Qt::LeftButton);
    ASSERT_EQ(user.notices.size(), 1);
    std::string why;
    IsPlayable(s.g, s.me, illegal->Suit(), illegal->Card(), why);
    EXPECT_EQ(user.notices[0], QString::fromStdString(why));
    EXPECT_EQ(sent.Count(CARD_PLAY), 0);

    // The legal card goes once; a second click before the next record sends nothing.
    QTest::mouseClick(legal, Qt::LeftButton);
    EXPECT_EQ(sent.Count(CARD_PLAY), 1);
    EXPECT_EQ(legal->cursor().shape(), Qt::ArrowCursor);
    QTest::mouseClick(legal, Qt::LeftButton);
    QTest::mouseClick(form->View().CardSlot(table::kBottom, 0), Qt::LeftButton);
    EXPECT_EQ(sent.Count(CARD_PLAY), 1);
    EXPECT_EQ(user.notices.size(), 1);

    // The next record allows a card again.
    Record(s.g);
    QTest::mouseClick(legal, Qt::LeftButton);
    EXPECT_EQ(sent.Count(CARD_PLAY), 2);
}

TEST_F(MainFormTest, PlayingTheFifthCardClosesTheGapAndOtherSeatsShowBacks)
{
    TGameInfo g = DealtRecord(31);
    ChooseContract(g, KozSinek);
    const int me = g.Turn;
    Seat(me);
    Record(g);
    const uint8_t sixthSuit = form->View().CardSlot(table::kBottom, 5)->Suit();
    const uint8_t sixthValue = form->View().CardSlot(table::kBottom, 5)->Card();
    const QPoint fifthPlace = form->View().CardSlot(table::kBottom, 4)->pos();

    // The sixth card moves into the fifth one's place, and a press there reaches it.
    PlayCard(g, me, g.CardSuit[me][4], g.CardValue[me][4]);
    Record(g);
    TCard* fifth = form->View().CardSlot(table::kBottom, 4);
    EXPECT_EQ(fifth->Suit(), sixthSuit);
    EXPECT_EQ(fifth->Card(), sixthValue);
    EXPECT_EQ(fifth->pos(), fifthPlace);
    EXPECT_EQ(form->centralWidget()->childAt(fifth->geometry().topLeft() + QPoint(5, 40)), fifth);
    for (int k = 0; k < 13; ++k)
        EXPECT_EQ(form->View().CardSlot(table::kBottom, k)->isVisible(), k < 12);
    // The other hands are face down, all 13 shown.
    for (int p = 1; p < 4; ++p) {
        EXPECT_FALSE(form->View().CardSlot(p, 0)->ShowCard());
        EXPECT_TRUE(form->View().CardSlot(p, 12)->isVisible());
    }
    // The chooser's name is yellow, the others white; the one to play has a frame; the
    // contract and the hand are named.
    const int chooserPlace = form->View().RelativePosition(g.HandChooser);
    const int duePlace = form->View().RelativePosition(g.Turn);
    for (int p = 0; p < 4; ++p) {
        EXPECT_EQ(form->View().NameLabel(p)->styleSheet().contains(QStringLiteral("yellow")), p == chooserPlace);
        EXPECT_EQ(form->View().NameLabel(p)->styleSheet().contains(QStringLiteral("border")), p == duePlace);
    }
    EXPECT_EQ(form->View().HandLabel()->text(), QStringLiteral("El 1 / 20"));
    EXPECT_EQ(form->View().LabelGameType()->text(), QString::fromUtf8(ContractNames[KozSinek]));

    // Long names are cut where their room ends, never over a card or off the table, and
    // shown whole in their tips.
    const QString longName = QStringLiteral("Alexandra Konstantinopoulou-9");
    for (auto& name : g.PlayerName)
        std::strncpy(name, qPrintable(longName), kNameSize - 1);
    Record(g);
    for (int p = 0; p < 4; ++p) {
        const QLabel* label = form->View().NameLabel(p);
        EXPECT_TRUE(label->text().endsWith(QChar(0x2026))) << p;
        QTextDocument tip;
        tip.setHtml(label->toolTip());
        EXPECT_TRUE(tip.toPlainText().startsWith(longName)) << p;
        EXPECT_TRUE(form->View().rect().contains(label->geometry())) << p;
        for (int q = 0; q < 4; ++q)
            for (int k = 0; k < 13; ++k)
                if (form->View().CardSlot(q, k)->isVisible()) {
                    EXPECT_FALSE(label->geometry().intersects(form->View().CardSlot(q, k)->geometry())) << p << q << k;
                }
    }
}

TEST_F(MainFormTest, AfterJoiningTheFirstRecordFillsTheScoreHeaderEvenInTheMiddleOfATrick)
{
    TScoreForm score;
    TSideWindows side;
    side.Score = &score;
    form->SetSideWindows(side);
    score.Bind(&form->Session().Record(), &form->Session().SeatByte());
    TGameInfo g = DealtRecord(31);
    ChooseContract(g, KozSinek);
    for (int n = 0; n < 2; ++n) {
        const int seat = g.Turn;
        for (int i = 0; i < g.CardCount[seat]; ++i)
            if (CanPlay(g, seat, g.CardSuit[seat][i], g.CardValue[seat][i])) {
                PlayCard(g, seat, g.CardSuit[seat][i], g.CardValue[seat][i]);
                break;
            }
    }
    ASSERT_EQ(g.TrickCount, 2);
    Seat(1);
    Record(g);
    for (int p = 0; p < 4; ++p)
        EXPECT_EQ(score.Labels[size_t(p)]->text(), RecordText(g.PlayerName[p], int(kNameSize))) << p;
}

TEST_F(MainFormTest, TrickMarkersJoiningNamesAndUnknownMessages)
{
    // While players join, a name stands where its seat sits for the user, as plain text:
    // nowhere until the user's own seat is known, then the user at the bottom.
    TPayloadWriter name;
    name.Byte(3).Text(QStringLiteral("<b>Ali</b>"));
    Deliver(SEAT_NAME, name.Bytes());
    TPayloadWriter own;
    own.Byte(1).Text(QStringLiteral("Veli"));
    Deliver(SEAT_NAME, own.Bytes());
    for (int p = 0; p < 4; ++p)
        EXPECT_FALSE(form->View().NameLabel(p)->isVisible()) << p;
    Seat(1);
    EXPECT_EQ(form->View().NameLabel(table::kBottom)->text(), QStringLiteral("Veli"));
    EXPECT_TRUE(form->View().NameLabel(table::kTop)->isVisible()); // seat 3 faces seat 1
    EXPECT_EQ(form->View().NameLabel(table::kTop)->text(), QStringLiteral("<b>Ali</b>"));
    EXPECT_EQ(form->View().NameLabel(table::kTop)->textFormat(), Qt::PlainText);
    EXPECT_FALSE(form->View().NameLabel(table::kLeft)->isVisible());
    Settle(50);
    EXPECT_TRUE(user.questions.isEmpty()); // seat 3 completes the table only at the dealer

    TGameInfo g = DealtRecord(41);
    Seat(1);
    Record(g);
    Deliver(TRICK_TAKER, QByteArray(1, '\x02')); // seat 2 sits at the right of seat 1
    const int place = form->View().RelativePosition(2);
    EXPECT_EQ(place, table::kRight);
    EXPECT_TRUE(form->View().HandMarker(place)->isVisible());
    EXPECT_EQ(form->View().HandMarker(place)->pos(), table::HandMarkerTopLeft(place));
    Deliver(TRICK_CLEAR, {});
    for (int p = 0; p < 4; ++p)
        EXPECT_FALSE(form->View().HandMarker(p)->isVisible());
    // A type the player does not handle shows the notice once the handler is over.
    Deliver(START_NOW, {});
    EXPECT_TRUE(WaitFor([&] { return !user.notices.isEmpty(); }, 2000));
    EXPECT_EQ(user.notices.value(0), QStringLiteral("Player: Bilinmeyen bir paket alındı"));
}

TEST_F(MainFormTest, FirstRunCheckMarksAndStoredSettings)
{
    // The window's design marks three items; a first run shows the defaults instead.
    EXPECT_TRUE(form->Menus().Sound->isChecked());
    EXPECT_FALSE(form->Menus().Quick->isChecked());
    EXPECT_FALSE(form->Menus().Clockwise->isChecked());
    EXPECT_FALSE(form->Menus().ComputerAlways->isChecked());
    EXPECT_TRUE(form->Menus().ComputerOnce->isEnabled());
    EXPECT_TRUE(form->Menus().Connection->menuAction()->isVisible());
    // The open-hands item says what it does, and the help explains it.
    EXPECT_EQ(form->Menus().OpenHands->text(), QStringLiteral("Dağıtıcı her oyuncuya dört eli de göndersin"));
    QFile help(QStringLiteral(":/help/help.txt"));
    ASSERT_TRUE(help.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(help.readAll()).contains(form->Menus().OpenHands->text()));

    // Toggling writes at once; the next window reads what was written.
    form->Menus().ComputerAlways->trigger();
    EXPECT_FALSE(form->Menus().ComputerOnce->isEnabled());
    EXPECT_TRUE(ReadRegBool(kRegKey, kRegComputerPlayer, false));
    form->Menus().Clockwise->trigger();
    form->Menus().Sound->trigger();
    EXPECT_FALSE(ReadRegBool(kRegKey, kRegSound, true));

    TMainForm second;
    second.SetAutoStart(false);
    second.FirstActivation();
    EXPECT_TRUE(second.Menus().ComputerAlways->isChecked());
    EXPECT_FALSE(second.Menus().ComputerOnce->isEnabled());
    EXPECT_TRUE(second.Menus().Clockwise->isChecked());
    EXPECT_FALSE(second.Menus().Sound->isChecked());
    EXPECT_FALSE(second.Sounds().Enabled());

    form->Menus().ComputerAlways->trigger();
    EXPECT_TRUE(form->Menus().ComputerOnce->isEnabled());
    EXPECT_FALSE(ReadRegBool(kRegKey, kRegComputerPlayer, true));
}

TEST_F(MainFormTest, QuickChangesTheClientTimerAndTheDealersTimers)
{
    TDealerOptions options;
    options.LastHandFolder = QDir::tempPath();
    form->SetDealerOptions(options);
    form->SetGamePort(0);
    form->StartAsDealer(QStringLiteral("Ali"));
    ASSERT_NE(form->Dealer(), nullptr);
    EXPECT_EQ(form->Dealer()->TrickResolveTimer().interval(), 2000);
    EXPECT_TRUE(form->Menus().Game->isEnabled());
    EXPECT_FALSE(form->Menus().Reconnect->isEnabled());

    form->Menus().Quick->trigger();
    EXPECT_EQ(form->Dealer()->TrickResolveTimer().interval(), 515);
    EXPECT_EQ(form->Dealer()->ComputerMoveTimer().interval(), 10);
    EXPECT_EQ(form->ComputerForMe().Timer()->interval(), 10);
    EXPECT_TRUE(ReadRegBool(kRegKey, kRegQuick, false));

    form->Menus().Quick->trigger();
    EXPECT_EQ(form->Dealer()->TrickResolveTimer().interval(), 2000);
    EXPECT_EQ(form->Dealer()->TrickWinnerTimer().interval(), 500);
    EXPECT_EQ(form->ComputerForMe().Timer()->interval(), 1000);
    EXPECT_FALSE(ReadRegBool(kRegKey, kRegQuick, true));
}

TEST_F(MainFormTest, SaveAskBeforeOverwritingAndLoadRefusesBadFiles)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("oyun.rvo"));
    TGameInfo g = DealtRecord(51);
    Seat(0);
    Record(g);
    user.saveName = path;
    form->Menus().Save->trigger();
    Answered();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    file.close();
    ASSERT_EQ(saved.size(), 440);
    EXPECT_EQ(std::memcmp(saved.constData(), &g, 440), 0);
    EXPECT_EQ(user.dialogTitles.value(0), QStringLiteral("Oyunu kaydet | *.rvo"));

    // Another record; "Hayır" to the overwrite question keeps the old file.
    Record(DealtRecord(52));
    user.answers = {false};
    form->Menus().Save->trigger();
    Answered();
    EXPECT_EQ(user.questions.value(0),
              QStringLiteral("Bu isimde zaten bir dosya var, değiştirmek istiyor musunuz?"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), saved);
    file.close();

    // A file whose bytes are not a game: "Dosya açılamıyor!" and nothing sent.
    const QString bad = dir.filePath(QStringLiteral("bozuk.rvo"));
    QFile out(bad);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(QByteArray(440, '\x7f'));
    out.close();
    user.openName = bad;
    form->Menus().Load->trigger();
    Answered();
    EXPECT_EQ(user.notices.value(0), QStringLiteral("Dosya açılamıyor!"));
    EXPECT_EQ(sent.Count(GAME_RECORD), 0);
    EXPECT_EQ(sent.Count(NEW_GAME), 0);

    // A game that cannot go on (its chooser has no contract left) is refused the same way.
    TGameInfo stuck = DealtRecord(53);
    stuck.Score.PenaltiesChosen[stuck.Chooser] = 3;
    stuck.Score.TrumpsChosen[stuck.Chooser] = 2;
    const QString stuckPath = dir.filePath(QStringLiteral("takili.rvo"));
    QFile stuckFile(stuckPath);
    ASSERT_TRUE(stuckFile.open(QIODevice::WriteOnly));
    stuckFile.write(reinterpret_cast<const char*>(&stuck), sizeof stuck);
    stuckFile.close();
    user.openName = stuckPath;
    form->Menus().Load->trigger();
    Answered();
    EXPECT_EQ(user.notices.value(1), QStringLiteral("Dosya açılamıyor!"));
    EXPECT_EQ(sent.Count(GAME_RECORD), 0);

    // A load cancelled from the menu leaves the game as it is.
    user.openName.clear();
    form->Menus().Load->trigger();
    Answered();
    EXPECT_EQ(user.notices.size(), 2);
    EXPECT_EQ(sent.Count(NEW_GAME), 0);
    EXPECT_EQ(sent.Count(GAME_RECORD), 0);

    // At the complete table "Hayır" and a cancelled dialog start a new game.
    form->Session().IsDealer = true;
    user.answers = {false};
    TPayloadWriter last;
    last.Byte(3).Text(QStringLiteral("Acemi3"));
    Deliver(SEAT_NAME, last.Bytes());
    ASSERT_TRUE(WaitFor([&] { return sent.Count(NEW_GAME) == 1; }, 3000));
    EXPECT_EQ(user.notices.value(2), QStringLiteral("Oyun yüklenmedi: yeni oyun başlıyor"));
}

TEST_F(MainFormTest, SoundsFollowTheTableOnlyWhileSesliIsChecked)
{
    // The six sounds are compiled into the program as wave files.
    for (int number : {1001, 1002, 1003, 1006, 1007, 1010}) {
        QFile wave(TSoundBox::ResourcePath(number));
        ASSERT_TRUE(wave.open(QIODevice::ReadOnly)) << number;
        const QByteArray bytes = wave.readAll();
        EXPECT_TRUE(bytes.startsWith("RIFF") && bytes.mid(8, 4) == "WAVE") << number;
        EXPECT_GT(bytes.size(), 1000) << number;
    }
    EXPECT_TRUE(TSoundBox::ResourcePath(1008).isEmpty());

    TSoundBox& sounds = form->Sounds();
    TGameInfo g = DealtRecord(61);
    ChooseContract(g, KozKaro);
    Seat(0);
    Record(g); // a hand without a completed trick: the first such record sounds 1006
    EXPECT_EQ(sounds.Requests(kSoundNewHand), 1);
    const int leader = g.Turn;
    PlayCard(g, leader, g.CardSuit[leader][0], g.CardValue[leader][0]);
    Record(g); // the second one does not, and the card laid into the trick sounds 1001
    EXPECT_EQ(sounds.Requests(kSoundNewHand), 1);
    EXPECT_EQ(sounds.Requests(kSoundCardIntoTrick), 1);
    Record(g); // the same trick again: the card is already on screen
    EXPECT_EQ(sounds.Requests(kSoundCardIntoTrick), 1);
    EXPECT_EQ(sounds.Requests(kSoundNewHand), 2);
    Deliver(TRICK_CLEAR, {});
    EXPECT_EQ(sounds.Requests(kSoundTrickCleared), 1);

    form->Menus().Sound->trigger(); // off
    Deliver(TRICK_CLEAR, {});
    const int next = g.Turn;
    PlayCard(g, next, g.CardSuit[next][0], g.CardValue[next][0]);
    Record(g);
    Record(g);
    EXPECT_EQ(sounds.Requests(kSoundTrickCleared), 1);
    EXPECT_EQ(sounds.Requests(kSoundCardIntoTrick), 1);
    EXPECT_EQ(sounds.Requests(kSoundNewHand), 2);

    // The closing sound never waits inside the caller; its end is told, silent or not.
    int played = 0;
    QObject::connect(&sounds, &TSoundBox::played, [&] { ++played; });
    for (bool on : {false, true}) {
        sounds.SetEnabled(on);
        sounds.PlayToEnd(kSoundClosing, 300);
        EXPECT_EQ(played, int(on)) << on;
        ASSERT_TRUE(WaitFor([&] { return played == int(on) + 1; }, 3000)) << on;
    }
    EXPECT_EQ(sounds.Requests(kSoundClosing), 1);
}

TEST_F(MainFormTest, HelpKeyShowsHelpAndChatBoxSendsNothingOnCancel)
{
    THelpForm help;
    TSideWindows side;
    side.Help = &help;
    form->SetSideWindows(side);
    QTest::keyRelease(form.get(), Qt::Key_F1);
    ASSERT_TRUE(help.isVisible());
    EXPECT_EQ(help.findChild<QTreeWidget*>(QStringLiteral("TreeViewTopics"))->topLevelItemCount(), 6);
    help.hide();
    form->Menus().HelpTopics->trigger();
    Answered();
    EXPECT_TRUE(help.isVisible());
    user.line.reset();
    form->Commands().Chat(); // at no table: it says so and asks nothing
    Answered();
    EXPECT_EQ(user.notices.value(0), QStringLiteral("Henüz bir masada değilsin: yazdığını okuyacak kimse yok."));
    EXPECT_TRUE(user.lineCaptions.isEmpty());
    Seat(0);
    form->Commands().Chat();
    Answered();
    EXPECT_EQ(user.lineCaptions.value(0), QStringLiteral("Ne dinonuz?"));
    EXPECT_EQ(sent.Count(CHAT_TEXT), 0);
    user.line = QString();
    form->Commands().Chat();
    Answered();
    EXPECT_EQ(sent.Count(CHAT_TEXT), 1);
}

TEST_F(MainFormTest, GameOverOffersTheListsThenFliesBalloonsUntilAClick)
{
    THighForm high;
    TSideWindows side;
    side.High = &high;
    form->SetSideWindows(side);
    int listsShown = 0;
    QObject::connect(&high, &QDialog::finished, [&] { ++listsShown; });
    for (int n = 0; n < 4; ++n) {
        WriteRegInteger(kRegKey, QStringLiteral("TopListsCount%1").arg(n), 0);
        WriteRegBinary(kRegKey, QStringLiteral("TopListsScores%1").arg(n), QByteArray(240, '\0').constData(), 240);
    }
    TGameInfo g = DealtRecord(7);
    TRandom rnd(7);
    ASSERT_TRUE(PlayComputerGame(g, rnd));
    ASSERT_EQ(g.Phase, psGameOver);

    const auto widgetsBefore = form->findChildren<QWidget*>().size();
    Record(g);
    // The result, then the lists; the balloons wait until the lists window is closed.
    ASSERT_TRUE(WaitFor([&] { return high.isVisible(); }, 3000));
    EXPECT_TRUE(user.notices.contains(GameResultText(g))) << "the result came first";
    Settle(50);
    EXPECT_EQ(form->View().Cheer(), nullptr);
    high.close();
    ASSERT_TRUE(WaitFor([&] { return form->View().Cheer() != nullptr; }, 3000));
    EXPECT_EQ(listsShown, 1);
    EXPECT_EQ(form->View().Cheer()->BalloonCount(), 4);
    // A bump is heard even with "Sesli" off.
    form->Menus().Sound->trigger();
    ASSERT_FALSE(form->Menus().Sound->isChecked());
    emit form->View().Cheer()->collided();
    EXPECT_EQ(form->Sounds().Requests(kSoundBalloonCollision), 1);
    // A press anywhere on the table ends it and leaves no balloon behind.
    QTest::mousePress(form->centralWidget(), Qt::LeftButton, {}, QPoint(200, 200));
    EXPECT_EQ(form->View().Cheer(), nullptr);
    EXPECT_EQ(form->findChildren<QWidget*>().size(), widgetsBefore); // no balloon or canvas left

    // The same end shown again flies again but does not enter the lists twice; the next
    // game's first record ends it.
    Record(g);
    ASSERT_TRUE(WaitFor([&] { return form->View().Cheer() != nullptr; }, 3000));
    EXPECT_EQ(listsShown, 1);
    TGameInfo next = DealtRecord(8);
    Record(next);
    EXPECT_EQ(form->View().Cheer(), nullptr);
    // Another finished game is offered even when a record comes while the lists window is
    // open; that record keeps the balloons away.
    TGameInfo other = DealtRecord(9);
    ASSERT_TRUE(PlayComputerGame(other, rnd));
    Record(other);
    ASSERT_TRUE(WaitFor([&] { return high.isVisible(); }, 3000));
    Record(next);
    high.close();
    Settle(200);
    EXPECT_EQ(listsShown, 2);
    EXPECT_EQ(form->View().Cheer(), nullptr);
}
