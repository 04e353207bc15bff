// TConnectForm: the window in which a joining player gives the dealer's address.
//
// Every opening fills EditAddress from "DealerAddress" (default "localhost") and clears the
// confirmed mark; a window restored after being minimised keeps what the user typed. "OK" with a non-empty address sets the mark and stores the address;
// "OK" closes the window unless the address cannot be read (it then says why and stays
// open). Once it has finished read Address() and Confirmed().
#pragma once

#include <QDialog>
#include <QString>

#include <optional>

#include "packet.h"

class QLabel;
class QLineEdit;
class QPushButton;

// A dealer's address as the user writes it: "host", "host:port", "[v6]:port", "[v6]" or a
// bare IPv6 address ("::1", "fe80::2"); the port is `port` unless given. Surrounding
// spaces are ignored. None for an empty host, a port that is not 1 to 65535, or stray brackets.
struct TDealerAddress {
    QString host;
    quint16 port = kGamePort;
    bool operator==(const TDealerAddress&) const = default;
};
std::optional<TDealerAddress> ParseDealerAddress(const QString& text, quint16 port = kGamePort);

// What went wrong with a connection to the dealer at `address`, in one sentence for the
// user (the transport's own text goes to the log); `wasConnected` whether the connection
// had been made.
QString ConnectFailureText(TLinkFailure failure, const QString& address, bool wasConnected);

class TConnectForm : public QDialog {
    Q_OBJECT
public:
    explicit TConnectForm(QWidget* parent = nullptr);

    QString Address() const;                  // the text of EditAddress
    bool Confirmed() const { return confirmed_; }
    // A sentence shown above the address at the next opening (why it is asked again);
    // empty for none.
    void SetReason(const QString& text);

    QLabel* LabelReason;
    QLabel* Label2;
    QLineEdit* EditAddress;
    QPushButton* Button1;                     // "OK"

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void Button1Click();

    bool confirmed_ = false;
    bool open_ = false; // shown and not closed since: a showing is only a restore
};
