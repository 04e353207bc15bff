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

bool TSideWindows::ContractDialogVisible() const
{
    return Contracts && Contracts->isVisible();
}

uint8_t TSideWindows::RunContractDialog(const std::function<QPoint(QSize)>& place) const
{
    if (!Contracts)
        return kNone;
    Contracts->FormShow(); // the offer decides the dialog's height
    Contracts->adjustSize();
    // The place is the inner area's: the desktop's title bar goes above it.
    Contracts->setGeometry(QRect(place(Contracts->size()), Contracts->size()));
    Contracts->exec();
    return Contracts->Result();
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
