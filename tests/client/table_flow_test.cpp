// The table flow around what players met in whole games: leaving in the last hand or after
// the end, a contract dialog overtaken by a loaded game, a table drawn again after a rejoin
// or a load in the middle of a trick, and a connection that fails.
#include <QLineEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTimer>

#include "card.h"
#include "computergame.h"
#include "connectform.h"
#include "contractsdlg.h"
#include "mainform_fixture.h"
#include "notify.h"
#include "selectpanel.h"
#include "tablelayout.h"

namespace {

// The computer plays every seat from g on until stop holds.
TGameInfo PlayUntil(TGameInfo g, const std::function<bool(const TGameInfo&)>& stop)
{
    TComputerPlayer player;
    TRandom rnd(9);
    while (!stop(g))
        if (!ComputerGameStep(player, g, rnd)) {
            ADD_FAILURE() << "the game stalled in phase " << int(g.Phase);
            break;
        }
    return g;
}

// Runs action every time the dialog is found open (once per opening).
class TDialogWatch {
public:
    TDialogWatch(QWidget& dialog, std::function<void(int opening)> action)
    {
        QObject::connect(&timer_, &QTimer::timeout, [this, &dialog, action] {
            if (!dialog.isVisible())
                return;
            ++openings;
            action(openings);
        });
        timer_.start(20);
    }
    int openings = 0;

private:
    QTimer timer_;
};

} // namespace

TEST_F(MainFormTest, OyundanCikAsksOnlyWhileAGameIsInProgress)
{
    form->Session().IsDealer = true;
    // Before any game the window closes without a question.
    form->Menus().Quit->trigger();
    Answered();
    EXPECT_TRUE(user.questions.isEmpty());
    EXPECT_FALSE(form->isVisible());

    // During the whole 20th hand (its contract is chosen, so 20 contracts count) it asks.
    form->show();
    Seat(0);
    const TGameInfo last = PlayUntil(DealtRecord(21), [](const TGameInfo& g) {
        return ContractsPlayed(g) == 20 && g.Phase == psPlaying && g.TrickCount == 1;
    });
    Record(last);
    user.threeWay = {TPromptAnswer::Yes};
    form->Menus().Quit->trigger();
    Answered();
    ASSERT_EQ(user.questions.size(), 1);
    EXPECT_TRUE(user.questions[0].startsWith(QStringLiteral("Oyun devam ediyor...")));
    EXPECT_FALSE(form->isVisible());

    // Once the game is over it closes at once again.
    form->show();
    Record(PlayUntil(last, [](const TGameInfo& g) { return g.Phase == psGameOver; }));
    form->Menus().Quit->trigger();
    Answered();
    EXPECT_EQ(user.questions.size(), 1);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(MainFormTest, ContractDialogOvertakenByALoadedGameShowsTheNewOfferAtOnce)
{
    TOKRightDlgContracts dialog;
    dialog.Bind(&form->Session().Record(), &form->Session().SeatByte());
    TSideWindows side;
    side.Contracts = &dialog;
    form->SetSideWindows(side);

    const TGameInfo dealt = DealtRecord(23);
    const int me = dealt.Chooser;
    TGameInfo loaded = dealt; // the same deal, but this seat has had its penalty contracts
    loaded.Score.PenaltiesChosen[me] = 3;
    loaded.Score.UsedOnce = 0x07;
    QList<int> offered;
    TDialogWatch watch(dialog, [&](int opening) {
        offered.append(dialog.SelectPanel->Count());
        if (opening == 1) {
            // The dealer's user loads a game while the dialog is open: the old offer is
            // withdrawn and the new one shown before the user answers.
            Record(loaded);
            offered.append(dialog.SelectPanel->Count());
        }
        dialog.OKBtn->click();
    });
    Seat(me);
    Record(dealt);
    ASSERT_TRUE(WaitFor([&] { return sent.Count(CONTRACT_CHOICE) == 1; }, 5000));
    // Nothing was sent for the old offer; the choice from the new one (trumps only) was.
    EXPECT_EQ(offered, QList<int>({10, 4}));
    EXPECT_EQ(dialog.Result(), KozSinek);
    Settle(100);
    EXPECT_EQ(watch.openings, 1);
    EXPECT_EQ(sent.Count(CONTRACT_CHOICE), 1);
}

TEST_F(MainFormTest, ARecordThatDoesNotFollowIsDrawnAloneTrickAndMarkers)
{
    Seat(0);
    const TGameInfo before = PlayUntil(DealtRecord(31), [](const TGameInfo& g) { return g.TrickCount == 2; });
    Record(before);
    // Joined again, or a game loaded, in the middle of another trick.
    const TGameInfo after = PlayUntil(DealtRecord(32), [](const TGameInfo& g) { return g.TrickCount == 3; });
    Record(after);
    int replaced = 0;
    for (int i = 0; i < 4; ++i) {
        const TCard* card = form->View().TrickCard(table::TrickPosition(after, i, 0, false));
        ASSERT_EQ(card->isVisible(), i < 3) << i;
        if (i >= 3)
            continue;
        EXPECT_EQ(card->Suit(), after.TrickSuit[i]) << i;
        EXPECT_EQ(card->Card(), after.TrickValue[i]) << i;
        for (int k = 0; k < 2; ++k)
            replaced += table::TrickPosition(before, k, 0, false) == table::TrickPosition(after, i, 0, false) &&
                        (before.TrickSuit[k] != after.TrickSuit[i] || before.TrickValue[k] != after.TrickValue[i]);
    }
    ASSERT_GT(replaced, 0); // the old trick had another card where the new one has a card

    // The taker's marker stays while the same full trick is shown (a record sent again),
    // and goes with a record whose trick is another.
    const TGameInfo full = PlayUntil(after, [](const TGameInfo& g) { return g.TrickCount == 4; });
    Record(full);
    TPayloadWriter taker;
    taker.Byte(WhoBiggest(full));
    Deliver(TRICK_TAKER, taker.Bytes());
    const int place = form->View().RelativePosition(WhoBiggest(full));
    ASSERT_TRUE(form->View().HandMarker(place)->isVisible());
    Record(full);
    EXPECT_TRUE(form->View().HandMarker(place)->isVisible());
    Record(before);
    for (int p = 0; p < 4; ++p)
        EXPECT_FALSE(form->View().HandMarker(p)->isVisible()) << p;
}

TEST_F(MainFormTest, AFailedConnectionSaysSoAndOffersTheConnectionWindowAgain)
{
    QTcpServer probe; // a port on which nobody listens
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 port = probe.serverPort();
    probe.close();
    TConnectForm connect;
    TSideWindows side;
    side.Connect = &connect;
    form->SetSideWindows(side);
    form->SetGamePort(port);
    // The first offer is taken ("OK" with the address), the second one closed. Each says
    // why it is there, and nothing in English is shown.
    QStringList reasons;
    std::vector<std::string> shown;
    SetNotifier([&shown](const std::string& text, int) { shown.push_back(text); });
    TDialogWatch watch(connect, [&](int opening) {
        reasons << (connect.LabelReason->isVisible() ? connect.LabelReason->text() : QString());
        if (opening == 1) {
            connect.EditAddress->setText(QStringLiteral("127.0.0.1"));
            connect.Button1->click();
        } else {
            connect.reject();
        }
    });
    form->StartAsPlayer(QStringLiteral("Veli"), QStringLiteral("127.0.0.1"));
    ASSERT_TRUE(WaitFor([&] { return watch.openings == 2 && !connect.isVisible(); }, 8000));
    const QString sentence = QStringLiteral("127.0.0.1:%1 adresinde dağıtıcı bulunamadı.").arg(port);
    EXPECT_EQ(form->StatusText(), sentence);
    EXPECT_EQ(reasons, QStringList({sentence, sentence}));
    SetNotifier(nullptr);
    EXPECT_TRUE(shown.empty()) << shown.front();
    Settle(300);
    EXPECT_EQ(watch.openings, 2);
    EXPECT_FALSE(connect.LabelReason->isVisible());
    EXPECT_FALSE(form->Session().Active());
    EXPECT_EQ(sent.Count(JOIN_REQUEST), 0);
}
