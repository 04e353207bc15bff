#include "sidewindows.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>

#include "aboutbox.h"
#include "connectform.h"
#include "stringgrid.h"
#include "welcomeform.h"

#if __has_include("scoreform.h")
#include "scoreform.h"
#define ZORBELA_HAVE_SCORE 1
#endif
#if __has_include("penaltyform.h")
#include "penaltyform.h"
#define ZORBELA_HAVE_PENALTY 1
#endif
#if __has_include("contractdialog.h")
#include "contractdialog.h"
#define ZORBELA_HAVE_CONTRACTS 1
#endif

QWidget* TSideWindows::ScoreWindow() const
{
#ifdef ZORBELA_HAVE_SCORE
    return Score;
#else
    return nullptr;
#endif
}

QWidget* TSideWindows::PenaltyWindow() const
{
#ifdef ZORBELA_HAVE_PENALTY
    return Penalty;
#else
    return nullptr;
#endif
}

void TSideWindows::Bind(TGameInfo& g, uint8_t& seat) const
{
#ifdef ZORBELA_HAVE_SCORE
    if (Score)
        Score->Bind(&g, &seat);
#endif
#ifdef ZORBELA_HAVE_PENALTY
    if (Penalty)
        Penalty->Bind(&g);
#endif
#ifdef ZORBELA_HAVE_CONTRACTS
    if (Contracts)
        Contracts->Bind(&g, &seat);
#endif
    (void)g;
    (void)seat;
}

void TSideWindows::RefreshScore() const
{
#ifdef ZORBELA_HAVE_SCORE
    if (Score)
        Score->Refresh();
#endif
}

void TSideWindows::RepaintScoreGrid() const
{
#ifdef ZORBELA_HAVE_SCORE
    if (Score)
        Score->ScoreGrid->update();
#endif
}

void TSideWindows::RefreshPenalty(const TGameInfo& g) const
{
#ifdef ZORBELA_HAVE_PENALTY
    if (Penalty)
        Penalty->Refresh();
#endif
    (void)g;
}

bool TSideWindows::ContractDialogVisible() const
{
#ifdef ZORBELA_HAVE_CONTRACTS
    return Contracts && Contracts->isVisible();
#else
    return false;
#endif
}

uint8_t TSideWindows::RunContractDialog(QPoint screenCentre) const
{
#ifdef ZORBELA_HAVE_CONTRACTS
    if (!Contracts)
        return kNone;
    Contracts->adjustSize();
    Contracts->move(screenCentre - QPoint(Contracts->width() / 2, Contracts->height() / 2));
    Contracts->exec();
    return Contracts->ChosenContract();
#else
    (void)screenCentre;
    return kNone;
#endif
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
    Welcome->exec();
    answer.quit = Welcome->QuitMark();
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

void TSideWindows::ShowHelp(QWidget* parent) const
{
    if (Help) {
        Help->show();
        Help->raise();
        return;
    }
    QMessageBox::information(
        parent, QStringLiteral("Yardım"),
        QStringLiteral("RUVO: dört kişilik, 52 kağıtla oynanan bir koz ve ceza oyunu.\n\n"
                       "Dağıtıcı: \"Dağıtıcı olmak istiyorum\" seçilir, diğer oyuncular bu "
                       "bilgisayarın adresine bağlanır; F2 boş yerleri bilgisayar "
                       "oyuncularıyla doldurur.\n"
                       "Sırası gelen oyuncu el işaretli kağıtlardan birine tıklar.\n"
                       "Her oyuncu oyun boyunca üç ceza ve iki koz oyunu seçer; 20 el "
                       "oynanır.\n\nF1: yardım   F2: başla"));
}

void TSideWindows::ShowHigh() const
{
    if (High) {
        High->showNormal();
        High->raise();
    }
}
