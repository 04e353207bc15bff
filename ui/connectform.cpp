#include "connectform.h"

#include "recordtext.h"
#include "regeasy.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolTip>

QString ConnectFailureText(TLinkFailure failure, const QString& address, bool wasConnected)
{
    if (wasConnected)
        return TConnectForm::tr("%1 adresindeki dağıtıcıyla bağlantı koptu.").arg(address);
    switch (failure) {
    case TLinkFailure::NoSuchHost:
        return TConnectForm::tr("%1 adında bir bilgisayar bulunamadı.").arg(address);
    case TLinkFailure::Refused:
        return TConnectForm::tr("%1 adresinde dağıtıcı bulunamadı.").arg(address);
    case TLinkFailure::ClosedByPeer:
        return TConnectForm::tr("%1 adresindeki dağıtıcı bağlantıyı kapattı.").arg(address);
    case TLinkFailure::Unreachable:
        break;
    }
    return TConnectForm::tr("%1 adresine ulaşılamadı.").arg(address);
}

std::optional<TDealerAddress> ParseDealerAddress(const QString& text, quint16 defaultPort)
{
    const QString t = text.trimmed();
    TDealerAddress address;
    address.port = defaultPort;
    QString port;
    if (t.startsWith(QLatin1Char('['))) {
        const qsizetype close = t.indexOf(QLatin1Char(']'));
        if (close < 0)
            return std::nullopt;
        address.host = t.mid(1, close - 1);
        const QString rest = t.mid(close + 1);
        if (!rest.isEmpty()) {
            if (!rest.startsWith(QLatin1Char(':')))
                return std::nullopt;
            port = rest.mid(1);
            if (port.isEmpty())
                return std::nullopt;
        }
    } else if (t.count(QLatin1Char(':')) == 1) {
        address.host = t.section(QLatin1Char(':'), 0, 0);
        port = t.section(QLatin1Char(':'), 1);
        if (port.isEmpty())
            return std::nullopt;
    } else {
        address.host = t; // a name, an IPv4 address or a bare IPv6 address
    }
    if (address.host.isEmpty() || address.host.contains(QLatin1Char('[')) ||
        address.host.contains(QLatin1Char(']')) || address.host.contains(QLatin1Char(' ')))
        return std::nullopt;
    if (!port.isEmpty()) {
        bool ok = false;
        const uint number = port.toUInt(&ok, 10);
        if (!ok || number < 1 || number > 65535 || port.startsWith(QLatin1Char('+')))
            return std::nullopt;
        address.port = quint16(number);
    }
    return address;
}

TConnectForm::TConnectForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Oyunun olduğu bilgisayar adresini giriniz"));
    setFont(ArialPixels(11));
    setFixedSize(267, 39);

    LabelReason = new QLabel(this);
    LabelReason->setTextFormat(Qt::PlainText); // it names an address the user typed
    LabelReason->setWordWrap(true);
    LabelReason->hide();
    Label2 = new QLabel(tr("Adres"), this);
    Label2->setGeometry(8, 11, 34, 17);
    EditAddress = new QLineEdit(this);
    EditAddress->setGeometry(44, 9, 138, 21);
    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setGeometry(188, 8, 71, 23);
    Button1->setDefault(true);
    EditAddress->setPlaceholderText(tr("sunucu ya da sunucu:port"));
    connect(Button1, &QPushButton::clicked, this, &TConnectForm::Button1Click);
}

void TConnectForm::SetReason(const QString& text)
{
    // The reason takes a strip above the designed window, which keeps its controls' places.
    const int strip = text.isEmpty() ? 0 : 40;
    LabelReason->setText(text);
    LabelReason->setVisible(!text.isEmpty());
    LabelReason->setGeometry(8, 4, 251, strip - 4);
    for (QWidget* w : {static_cast<QWidget*>(Label2), static_cast<QWidget*>(EditAddress),
                       static_cast<QWidget*>(Button1)})
        w->move(w->x(), (w == Label2 ? 11 : w == EditAddress ? 9 : 8) + strip);
    setFixedSize(267, 39 + strip);
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
    if (!EditAddress->text().trimmed().isEmpty() && !ParseDealerAddress(EditAddress->text())) {
        // Said where the user looks; the window stays open for a corrected address.
        EditAddress->setToolTip(tr("Adres anlaşılamadı. Örnek: 192.168.1.5, sunucu:33472 ya da [::1]:33472"));
        QToolTip::showText(EditAddress->mapToGlobal(QPoint(0, EditAddress->height())), EditAddress->toolTip(),
                           EditAddress);
        EditAddress->setFocus();
        return;
    }
    EditAddress->setToolTip(QString());
    if (!EditAddress->text().isEmpty()) {
        confirmed_ = true;
        WriteRegString(kRegKey, kRegDealerAddress, EditAddress->text());
    }
    accept();
}
