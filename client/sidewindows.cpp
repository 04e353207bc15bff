#include "sidewindows.h"

#include <QLineEdit>
#include <QRadioButton>

#include "aboutbox.h"
#include "connectform.h"
#include "contractsdlg.h"
#include "helpform.h"
#include "highform.h"
#include "penaltyform.h"
#include "prompts.h"
#include "scoreform.h"
#include "stringgrid.h"
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

QList<QWidget*> TSideWindows::Adopted() const
{
    QList<QWidget*> all;
    for (QWidget* w : {ScoreWindow(), PenaltyWindow(), static_cast<QWidget*>(Contracts), static_cast<QWidget*>(Connect),
                       static_cast<QWidget*>(High), static_cast<QWidget*>(About)})
        if (w)
            all << w;
    return all;
}

void TSideWindows::Adopt(QWidget* mainWindow) const
{
    for (QWidget* w : Adopted())
        if (w->parentWidget() != mainWindow) {
            const bool tool = w == ScoreWindow() || w == PenaltyWindow();
            w->setParent(mainWindow, tool ? (w->windowFlags() & ~Qt::WindowType_Mask) | Qt::Tool : w->windowFlags());
        }
}

void TSideWindows::Release(QWidget* mainWindow) const
{
    for (QWidget* w : Adopted())
        if (w->parentWidget() == mainWindow) {
            const bool tool = w == ScoreWindow() || w == PenaltyWindow();
            w->setParent(nullptr, tool ? (w->windowFlags() & ~Qt::WindowType_Mask) | Qt::Window : w->windowFlags());
        }
}

void TSideWindows::Forget(const QObject* window)
{
    const auto forget = [window](auto*& member) {
        if (static_cast<const QObject*>(member) == window)
            member = nullptr;
    };
    forget(Score);
    forget(Penalty);
    forget(Contracts);
    forget(Connect);
    forget(High);
    forget(About);
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
