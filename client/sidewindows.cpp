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

TSideWindows::TWelcomeAnswer TSideWindows::RunWelcome() const
{
    TWelcomeAnswer answer;
    if (!Welcome)
        return answer;
    // "Kapat", Escape and the close box all leave the program.
    answer.quit = Welcome->exec() != QDialog::Accepted || Welcome->QuitMark();
    answer.name = Welcome->PlayerName().trimmed();
    answer.dealer = Welcome->DealerChosen();
    return answer;
}

QString TSideWindows::RunConnect(bool* confirmed) const
{
    if (!Connect) {
        if (confirmed)
            *confirmed = false;
        return {};
    }
    Connect->exec();
    if (confirmed)
        *confirmed = Connect->Confirmed();
    return Connect->Address();
}

void TSideWindows::OpenConnect(QObject* context,
                               std::function<void(bool confirmed, const QString& address)> then) const
{
    if (!Connect)
        return;
    TConnectForm* dialog = Connect;
    auto* once = new QObject(context); // the connection lives for this one closing
    QObject::connect(dialog, &QDialog::finished, once, [dialog, once, then = std::move(then)] {
        once->deleteLater();
        then(dialog->Confirmed(), dialog->Address());
    });
    dialog->open();
}

void TSideWindows::ShowAbout() const
{
    if (About)
        About->exec();
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

void TSideWindows::OfferFinishedGame(const TGameInfo& g) const
{
    if (High)
        High->OfferGame(g);
}
