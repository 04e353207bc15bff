// Zorbela: start-up. The CRC table, then the windows in their fixed order (the main window
// first, the options window last), then the message loop until the main window closes.
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFormLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QThread>
#include <QVBoxLayout>

#include "aboutbox.h"
#include "connectform.h"
#include "crc.h"
#include "mainform.h"
#include "notify.h"
#include "welcomeform.h"

#if __has_include("scoreform.h")
#include "scoreform.h"
#endif
#if __has_include("penaltyform.h")
#include "penaltyform.h"
#endif
#if __has_include("contractdialog.h")
#include "contractdialog.h"
#endif

namespace {

// The options window: five rule check boxes and three name fields. It is created with the
// others but nothing shows it and nothing reads it.
class TFormOptions : public QDialog {
public:
    TFormOptions()
    {
        setWindowTitle(QStringLiteral("Seçenekler"));
        auto* layout = new QVBoxLayout(this);
        for (int i = 1; i <= 5; ++i)
            layout->addWidget(new QCheckBox(QStringLiteral("Kural %1").arg(i), this));
        auto* names = new QFormLayout;
        for (int i = 1; i <= 3; ++i)
            names->addRow(QStringLiteral("Oyuncu %1").arg(i), new QLineEdit(this));
        layout->addLayout(names);
    }
};

// Faults found by the rules and the computer player: beeps a second apart, then a box.
void ShowNotice(const std::string& text, int beeps)
{
    for (int i = 0; i < beeps; ++i) {
        QApplication::beep();
        QThread::msleep(1000);
    }
    QMessageBox::warning(QApplication::activeWindow(), QStringLiteral("Zorbela"),
                         QString::fromStdString(text).replace(QLatin1Char('\r'), QLatin1Char('\n')));
}

} // namespace

int main(int argc, char** argv)
{
    (void)Crc32(); // the CRC table exists before any window
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Fendral"));
    QApplication::setApplicationName(QStringLiteral("Zorbela"));
    SetNotifier(ShowNotice);

    TMainForm mainForm;
    TAboutBox aboutBox;
    TSideWindows side;
    side.About = &aboutBox;
    side.Help = nullptr; // F1 shows a short help box
#if __has_include("scoreform.h")
    TScoreForm scoreForm;
    side.Score = &scoreForm;
#endif
#if __has_include("contractdialog.h")
    TOKRightDlgContracts contracts;
    side.Contracts = &contracts;
#endif
    TConnectForm connectForm;
    side.Connect = &connectForm;
#if __has_include("penaltyform.h")
    TPenaltyForm penaltyForm;
    side.Penalty = &penaltyForm;
#endif
    TWelcomeForm welcomeForm;
    side.Welcome = &welcomeForm;
    TFormOptions formOptions;

    // Only the main window ends the program when it closes.
    for (QWidget* w : {side.ScoreWindow(), side.PenaltyWindow(), static_cast<QWidget*>(side.About),
                       static_cast<QWidget*>(side.Connect), static_cast<QWidget*>(side.Welcome),
                       static_cast<QWidget*>(&formOptions)})
        if (w)
            w->setAttribute(Qt::WA_QuitOnClose, false);
    mainForm.SetSideWindows(side);
    mainForm.show();
    const int rc = app.exec();
    SetNotifier(nullptr);
    return rc;
}
