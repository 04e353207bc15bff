#include "connectform.h"
#include "regeasy.h"
#include "ui_test_util.h"
#include "welcomeform.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class StartDialogs : public ::testing::Test {
protected:
    void SetUp() override { ClearSettings(); }
    void TearDown() override { ClearSettings(); }
    static QSettings Store() { return QSettings(QStringLiteral("Fendral"), QStringLiteral("Zorbela")); }
};

TEST_F(StartDialogs, WelcomeStartsWithLoginNameAndDealerChoice)
{
    TWelcomeForm w;
    EXPECT_EQ(w.windowTitle(), "Merhaba");
    w.LoadSettings();
    EXPECT_EQ(w.PlayerName(), LoginName());
    EXPECT_TRUE(w.DealerChosen());
    EXPECT_FALSE(w.RadioButton1->isChecked());
    w.RadioButton1->click();
    EXPECT_FALSE(w.DealerChosen());
    EXPECT_FALSE(w.QuitMark());

    WriteRegBool(kRegKey, kRegIamDealer, false);
    WriteRegString(kRegKey, kRegUserName, QStringLiteral("Gül"));
    w.LoadSettings();
    EXPECT_EQ(w.PlayerName(), QStringLiteral("Gül"));
    EXPECT_TRUE(w.RadioButton1->isChecked());
}

TEST_F(StartDialogs, WelcomeOkStoresChoiceButNeverAnEmptyName)
{
    WriteRegString(kRegKey, kRegUserName, "Kaan");
    TWelcomeForm w;
    w.EditName->setText("");
    w.RadioButton1->click();
    w.Button1->click();
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(ReadRegString(kRegKey, kRegUserName, "?"), "Kaan");
    EXPECT_FALSE(ReadRegBool(kRegKey, kRegIamDealer, true));

    w.EditName->setText(QStringLiteral("İpek"));
    w.RadioButton2->click();
    w.Button1->click();
    EXPECT_EQ(ReadRegString(kRegKey, kRegUserName, "?"), QStringLiteral("İpek"));
    EXPECT_TRUE(ReadRegBool(kRegKey, kRegIamDealer, false));
    EXPECT_FALSE(w.QuitMark());
}

TEST_F(StartDialogs, WelcomeKapatSetsTheQuitMarkAndWritesNothing)
{
    TWelcomeForm w;
    w.EditName->setText("Ali");
    w.Button2->click();
    EXPECT_TRUE(w.QuitMark());
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_TRUE(Store().allKeys().isEmpty());
}

TEST_F(StartDialogs, ConnectionWindowConfirmsOnlyANonEmptyAddress)
{
    TConnectForm c;
    c.show();
    EXPECT_EQ(c.Address(), "localhost");
    EXPECT_FALSE(c.Confirmed());
    c.EditAddress->setText("");
    c.Button1->click();
    EXPECT_FALSE(c.Confirmed());
    EXPECT_FALSE(Store().contains(kRegDealerAddress));

    c.show();
    EXPECT_EQ(c.Address(), "localhost");
    c.EditAddress->setText("oyun.example.org");
    c.Button1->click();
    EXPECT_TRUE(c.Confirmed());
    EXPECT_EQ(ReadRegString(kRegKey, kRegDealerAddress, ""), "oyun.example.org");

    c.show(); // every opening reads the address again and clears the mark
    EXPECT_EQ(c.Address(), "oyun.example.org");
    EXPECT_FALSE(c.Confirmed());
    // Minimised and restored, it keeps what the user typed.
    c.EditAddress->setText("192.168.1.7");
    c.showMinimized();
    c.hide();
    c.showNormal();
    EXPECT_EQ(c.Address(), "192.168.1.7");
    c.reject();
    c.show();
    EXPECT_EQ(c.Address(), "oyun.example.org");
    c.hide();
}

TEST_F(StartDialogs, EnterPressesTheFocusedButton)
{
    TWelcomeForm w;
    w.show();
    w.activateWindow();
    w.Button2->setFocus();
    QTest::keyClick(w.Button2, Qt::Key_Return);
    EXPECT_TRUE(w.QuitMark());
    EXPECT_FALSE(w.isVisible());

    // In the name field Enter presses "OK".
    TWelcomeForm again;
    again.show();
    again.EditName->setFocus();
    QTest::keyClick(again.EditName, Qt::Key_Return);
    EXPECT_FALSE(again.QuitMark());
    EXPECT_EQ(again.result(), QDialog::Accepted);
    EXPECT_FALSE(again.isVisible());
}

} // namespace
