#include "sidewindows.h"

#include <QLineEdit>
#include <QScreen>
#include <QRadioButton>

#include "aboutbox.h"
#include "connectform.h"
#include "contractsdlg.h"
#include "helpform.h"
#include "highform.h"
#include "penaltyform.h"
#include "prompts.h"
#include "scoreform.h"
#include "sideplace.h"
#include "stringgrid.h"
#include "tablelayout.h"
#include "welcomeform.h"

QWidget* TSideWindows::ScoreWindow() const { return Score; }

QWidget* TSideWindows::PenaltyWindow() const { return Penalty; }

void TSideWindows::ShowNormal(QWidget* w)
{
    if (!w)
        return;
    w->showNormal();
    w->raise();
}

void TSideWindows::Adopt(QWidget* mainWindow) const
{
    for (QWidget* w : {ScoreWindow(), PenaltyWindow()})
        if (w && w->parentWidget() != mainWindow)
            w->setParent(mainWindow, (w->windowFlags() & ~Qt::WindowType_Mask) | Qt::Tool);
}

void TSideWindows::Release(QWidget* mainWindow) const
{
    for (QWidget* w : {ScoreWindow(), PenaltyWindow()})
        if (w && w->parentWidget() == mainWindow)
            w->setParent(nullptr, (w->windowFlags() & ~Qt::WindowType_Mask) | Qt::Window);
}

void TSideWindows::Dock(QWidget* mainWindow, const QRect& inside, const QRect& keepClear) const
{
    QWidget* score = ScoreWindow();
    QWidget* penalty = PenaltyWindow();
    if (!score && !penalty)
        return;
    // They keep the size they have beside the smallest main window, whatever its size now;
    // the user does not resize them.
    const QSize design(800 - table::WindowSize().width(), table::WindowSize().height() / 2);
    const QRect frame = mainWindow->frameGeometry();
    // Until the desktop has framed a side window (it does so a moment after showing it),
    // the main window's frame stands in for its frame.
    const QPoint clientOffset = mainWindow->geometry().topLeft() - frame.topLeft();
    const QSize decoration = frame.size() - mainWindow->size();
    const auto framed = [](QWidget* w) { return w->isVisible() && w->frameGeometry() != w->geometry(); };
    const auto frameSize = [&](QWidget* w) {
        return w ? (framed(w) ? w->frameGeometry().size() : design + decoration) : QSize(0, 0);
    };
    const QScreen* screen = mainWindow->screen();
    const QRect available = screen ? screen->availableGeometry() : frame;
    const TSidePlaces places =
        ::PlaceSideWindows(available, frame, inside, keepClear, frameSize(score), frameSize(penalty));
    const auto put = [&](QWidget* w, QPoint frameTopLeft) {
        if (!w)
            return;
        w->setFixedSize(design);
        const QPoint offset = framed(w) ? w->geometry().topLeft() - w->frameGeometry().topLeft() : clientOffset;
        w->setGeometry(QRect(frameTopLeft + offset, design));
    };
    put(score, places.score);
    put(penalty, places.penalty);
}

void TSideWindows::Bind(const TGameInfo& g, const uint8_t& seat) const
{
    if (Score)
        Score->Bind(&g, &seat);
    if (Penalty)
        Penalty->Bind(&g);
    if (Contracts)
        Contracts->Bind(&g, &seat);
}

void TSideWindows::RefreshScore() const
{
    if (Score)
        Score->Refresh();
}

void TSideWindows::RepaintScoreGrid() const
{
    if (Score)
        Score->ScoreGrid->update();
}

void TSideWindows::RefreshPenalty() const
{
    if (Penalty)
        Penalty->Refresh();
}

void TSideWindows::Show(const TGameInfo& g) const
{
    if (g.TrickCount == 0 || g.Phase == psGameOver || !scoreDrawn_)
        RefreshScore();
    scoreDrawn_ = true;
    if (g.TricksPlayed == 0)
        RepaintScoreGrid();
    RefreshPenalty();
}

void TSideWindows::FillWelcome(const QString& name, bool dealer) const
{
    if (!Welcome)
        return;
    Welcome->EditName->setText(name);
    Welcome->RadioButton1->setChecked(!dealer);
    Welcome->RadioButton2->setChecked(dealer);
}

QDialog* TSideWindows::OpenWelcome() const
{
    if (Welcome)
        Welcome->open();
    return Welcome;
}

TSideWindows::TWelcomeAnswer TSideWindows::WelcomeAnswer(int result) const
{
    TWelcomeAnswer answer;
    if (!Welcome)
        return answer;
    // "Kapat", Escape and the close box all leave the program.
    answer.quit = result != QDialog::Accepted || Welcome->QuitMark();
    answer.name = Welcome->PlayerName().trimmed();
    answer.dealer = Welcome->DealerChosen();
    return answer;
}

TPromptReply* TSideWindows::OpenConnect() const
{
    if (!Connect)
        return TPromptReply::Given(TPromptAnswer::Back);
    TConnectForm* dialog = Connect;
    auto* reply = new TPromptReply(dialog); // for this one closing
    QObject::connect(dialog, &QDialog::finished, reply, [dialog, reply] {
        reply->Finish(dialog->Confirmed() ? TPromptAnswer::Yes : TPromptAnswer::Back, dialog->Address());
    });
    dialog->open();
    return reply;
}

void TSideWindows::ShowAbout() const
{
    if (About)
        About->open();
}

void TSideWindows::ShowHelp() const
{
    if (Help)
        Help->ShowHelp();
}

void TSideWindows::ShowHigh() const
{
    if (High)
        High->ShowLists();
}

QDialog* TSideWindows::OfferFinishedGame(const TGameInfo& g) const
{
    if (!High)
        return nullptr;
    const bool open = High->isVisible(); // only brought to the front
    return High->OfferGame(g) != 0 && !open ? High : nullptr;
}
