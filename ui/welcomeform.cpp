#include "welcomeform.h"

#include "recordtext.h"
#include "regeasy.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

TWelcomeForm::TWelcomeForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Merhaba"));
    setFont(ArialPixels(11));
    setFixedSize(257, 142);

    Label1 = new QLabel(tr("Internet üzerinde RUVO oyununa hoşgeldiniz!"), this);
    Label1->setGeometry(8, 6, 241, 17);
    Label2 = new QLabel(tr("Kullanacağınız isminiz"), this);
    Label2->setGeometry(8, 29, 120, 17);
    EditName = new QLineEdit(this);
    EditName->setGeometry(128, 27, 121, 21);

    GroupBox1 = new QGroupBox(tr("Nasıl oynamak istersiniz?"), this);
    GroupBox1->setGeometry(8, 52, 241, 56);
    RadioButton1 = new QRadioButton(tr("Bir başka oyuna bağlanmak istiyorum"), GroupBox1);
    RadioButton1->setGeometry(8, 17, 228, 17);
    RadioButton2 = new QRadioButton(tr("Dağıtıcı olmak istiyorum"), GroupBox1);
    RadioButton2->setGeometry(8, 35, 228, 17);
    RadioButton2->setChecked(true); // the two are exclusive: exactly one is checked

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setGeometry(94, 114, 75, 23);
    Button1->setDefault(true);
    Button2 = new QPushButton(tr("Kapat"), this);
    Button2->setGeometry(174, 114, 75, 23);
    // Enter presses the focused button; elsewhere in the window it presses "OK".
    Button2->setAutoDefault(true);

    connect(Button1, &QPushButton::clicked, this, &TWelcomeForm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TWelcomeForm::Button2Click);
}

void TWelcomeForm::LoadSettings()
{
    EditName->setText(ReadRegString(kRegKey, kRegUserName, LoginName()));
    const bool dealer = ReadRegBool(kRegKey, kRegIamDealer, kDefIamDealer);
    RadioButton1->setChecked(!dealer);
    RadioButton2->setChecked(dealer);
}

QString TWelcomeForm::PlayerName() const { return EditName->text(); }
bool TWelcomeForm::DealerChosen() const { return RadioButton2->isChecked(); }

void TWelcomeForm::Button1Click()
{
    if (!EditName->text().isEmpty())
        WriteRegString(kRegKey, kRegUserName, EditName->text());
    WriteRegBool(kRegKey, kRegIamDealer, RadioButton2->isChecked());
    accept();
}

void TWelcomeForm::Button2Click()
{
    quit_ = true;
    accept();
}
