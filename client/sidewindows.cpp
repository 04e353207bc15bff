#include "sidewindows.h"

#include <QLineEdit>
#include <QRadioButton>

#include "aboutbox.h"
#include "connectform.h"
#include "contractsdlg.h"
#include "helpform.h"
#include "highform.h"
#include "penaltyform.h"
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

void TSideWindows::Dock(const QRect& f) const
{
    const int width = std::max(100, 800 - f.width());
    const int height = f.height() / 2;
    // Their size is fixed: the user does not resize them.
    if (Score) {
        Score->setFixedSize(width, height);
        Score->move(f.left() + f.width(), f.top());
    }
    if (Penalty) {
        Penalty->setFixedSize(width, height);
        Penalty->move(f.left() + f.width(), Score ? Score->frameGeometry().bottom() + 1 : f.top() + height);
    }
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
    if (g.TrickCount == 0 || g.Phase == psGameOver)
        RefreshScore();
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
