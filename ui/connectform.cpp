#include "connectform.h"

#include "recordtext.h"
#include "regeasy.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TConnectForm::TConnectForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Oyunun olduğu bilgisayar adresini giriniz"));
    setFont(ArialPixels(11));
    setFixedSize(267, 39);

    Label2 = new QLabel(QStringLiteral("Adres"), this);
    Label2->setGeometry(8, 11, 34, 17);
    EditAddress = new QLineEdit(this);
    EditAddress->setGeometry(44, 9, 138, 21);
    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setGeometry(188, 8, 71, 23);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &TConnectForm::Button1Click);
}

QString TConnectForm::Address() const { return EditAddress->text(); }

void TConnectForm::showEvent(QShowEvent* event)
{
    if (!open_) {
        open_ = true;
        EditAddress->setText(ReadRegString(kRegKey, kRegDealerAddress, QString::fromLatin1(kDefDealerAddress)));
        confirmed_ = false;
    }
    QDialog::showEvent(event);
}

void TConnectForm::done(int result)
{
    open_ = false;
    QDialog::done(result);
}

void TConnectForm::Button1Click()
{
    if (!EditAddress->text().isEmpty()) {
        confirmed_ = true;
        WriteRegString(kRegKey, kRegDealerAddress, EditAddress->text());
    }
    accept();
}
