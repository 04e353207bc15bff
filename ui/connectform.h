// TConnectForm: the window in which a joining player gives the dealer's address.
//
// Every opening fills EditAddress from "DealerAddress" (default "localhost") and clears the
// confirmed mark; a window restored after being minimised keeps what the user typed. "OK" with a non-empty address sets the mark and stores the address;
// "OK" always closes the window. After exec() read Address() and Confirmed().
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TConnectForm : public QDialog {
    Q_OBJECT
public:
    explicit TConnectForm(QWidget* parent = nullptr);

    QString Address() const;                  // the text of EditAddress
    bool Confirmed() const { return confirmed_; }

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
