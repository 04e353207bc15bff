// TWelcomeForm: the window "Merhaba" of the start flow. The user gives a name and chooses
// between being the dealer and joining another game.
//
// Use: LoadSettings() (or fill EditName and the radio buttons yourself), open(); once it has
// finished read QuitMark(), PlayerName() and DealerChosen(). "OK" stores a non-empty name as "UserName"
// and the choice as "IamDealer"; "Kapat" stores nothing and sets the quit mark. Closing
// by the window's close box stores nothing and leaves the quit mark unset.
#pragma once

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TWelcomeForm : public QDialog {
    Q_OBJECT
public:
    explicit TWelcomeForm(QWidget* parent = nullptr);

    // Fills the name from "UserName" (default: the login name) and the choice from
    // "IamDealer" (default: dealer).
    void LoadSettings();
    // True once "Kapat" was pressed.
    bool QuitMark() const { return quit_; }
    QString PlayerName() const;      // the text of EditName
    bool DealerChosen() const;       // RadioButton2 checked

    QLabel* Label1;
    QLabel* Label2;
    QLineEdit* EditName;
    QGroupBox* GroupBox1;
    QRadioButton* RadioButton1;      // "Bir başka oyuna bağlanmak istiyorum"
    QRadioButton* RadioButton2;      // "Dağıtıcı olmak istiyorum"
    QPushButton* Button1;            // "OK"
    QPushButton* Button2;            // "Kapat"

private:
    void Button1Click();
    void Button2Click();

    bool quit_ = false;
};
