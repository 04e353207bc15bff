#include "aboutbox.h"

#include "recordtext.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

QString TAboutBox::ProgramName() { return QStringLiteral("Zorbela"); }
QString TAboutBox::Version() { return QStringLiteral("1.0"); }

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Program hakkında"));
    setFont(ArialPixels(11));
    setFixedSize(298, 178);

    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setGeometry(8, 8, 282, 128);

    ProductName = new QLabel(ProgramName(), panel);
    ProductName->setFont(ArialPixels(24, true));
    ProductName->setGeometry(12, 10, 258, 32);
    VersionLabel = new QLabel(tr("Sürüm %1").arg(Version()), panel);
    VersionLabel->setGeometry(12, 46, 258, 16);
    Comments = new QLabel(tr("Internet üzerinde dört kişilik RUVO kâğıt oyunu.\n"
                             "Boş yerlerde bilgisayar oynar."),
                          panel);
    Comments->setGeometry(12, 66, 258, 32);
    Contact = new QLabel(tr("Fendral Yazılım · zorbela@fendral.example"), panel);
    Contact->setGeometry(12, 102, 258, 16);

    OKButton = new QPushButton(tr("Tamam"), this);
    OKButton->setGeometry(111, 146, 75, 24);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}
