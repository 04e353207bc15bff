// Zorbela: start-up. The CRC table, then the windows in their fixed order (the main window
// first, the options window last), then the message loop until the main window closes.
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFormLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QVBoxLayout>

#include <memory>

#include "aboutbox.h"
#include "application.h"
#include "connectform.h"
#include "crc.h"
#include "helpform.h"
#include "highform.h"
#include "language.h"
#include "mainform.h"
#include "notify.h"
#include "prompts.h"
#include "welcomeform.h"

#include "contractsdlg.h"
#include "penaltyform.h"
#include "scoreform.h"
#include "startup.h"

namespace {

// The options window: five rule check boxes and three name fields. It is created with the
// others but nothing shows it and nothing reads it.
class TFormOptions : public QDialog {
public:
    TFormOptions()
    {
        setWindowTitle(QCoreApplication::translate("TFormOptions", "Seçenekler"));
        auto* layout = new QVBoxLayout(this);
        for (int i = 1; i <= 5; ++i)
            layout->addWidget(new QCheckBox(QCoreApplication::translate("TFormOptions", "Kural %1").arg(i), this));
        auto* names = new QFormLayout;
        for (int i = 1; i <= 3; ++i)
            names->addRow(QCoreApplication::translate("TFormOptions", "Oyuncu %1").arg(i), new QLineEdit(this));
        layout->addLayout(names);
    }
};

// Faults found by the rules, the computer player and the transport: beeps a second apart,
// then a box, in the program's line of notices. Returns at once, on any thread.
void ShowNotice(const std::string& text, int beeps)
{
    TUserPrompts::Notice(nullptr, QString::fromStdString(text).replace(QLatin1Char('\r'), QLatin1Char('\n')), beeps);
}

} // namespace

int main(int argc, char** argv)
{
    if (const std::optional<int> answered = AnswerCommandLine(argc, argv, StartLanguage()))
        return *answered;
    (void)Crc32(); // the CRC table exists before any window
    TApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Fendral"));
    QApplication::setApplicationName(QStringLiteral("Zorbela"));
    InstallLanguage(StartLanguage()); // before any window: they are made in that language
    SetProgramIcon();
    SetNotifier(ShowNotice);

    auto mainForm = std::make_unique<TMainForm>();
    TAboutBox aboutBox;
    TSideWindows side;
    side.About = &aboutBox;
    THelpForm helpForm;
    side.Help = &helpForm;
    TScoreForm scoreForm;
    side.Score = &scoreForm;
    TOKRightDlgContracts contracts;
    side.Contracts = &contracts;
    TConnectForm connectForm;
    side.Connect = &connectForm;
    TPenaltyForm penaltyForm;
    side.Penalty = &penaltyForm;
    TWelcomeForm welcomeForm;
    side.Welcome = &welcomeForm;
    THighForm highForm;
    side.High = &highForm;
    TFormOptions formOptions;

    // Only the main window ends the program when it closes.
    for (QWidget* w : {side.ScoreWindow(), side.PenaltyWindow(), static_cast<QWidget*>(side.About),
                       static_cast<QWidget*>(side.Help), static_cast<QWidget*>(side.High),
                       static_cast<QWidget*>(side.Connect), static_cast<QWidget*>(side.Welcome),
                       static_cast<QWidget*>(side.Contracts), static_cast<QWidget*>(&formOptions)})
        if (w)
            w->setAttribute(Qt::WA_QuitOnClose, false);
    mainForm->SetSideWindows(side);
    mainForm->show();
    const int rc = app.exec();
    // An exception that reached the loop ended it: its text is shown now, outside any handler.
    if (!app.FaultText().isEmpty())
        QMessageBox::critical(mainForm.get(), QStringLiteral("Zorbela - RUVO Network"), app.FaultText());
    // The closing sound plays to its end while the windows still exist; nothing from the
    // network reaches the window meanwhile.
    mainForm->Session().blockSignals(true);
    QObject::connect(&mainForm->Sounds(), &TSoundBox::played, &app, &QCoreApplication::quit);
    mainForm->Sounds().PlayToEnd(kSoundClosing, 2500);
    app.exec();
    mainForm.reset();
    SetNotifier(nullptr);
    return rc;
}
