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

TEST_F(StartDialogs, AddressesWithAndWithoutAPortAndIPv6)
{
    using A = TDealerAddress;
    const struct { const char* text; std::optional<A> read; } cases[] = {
        {"oyun.example.org", A{"oyun.example.org", 33471}},
        {" 192.168.1.7:33472 ", A{"192.168.1.7", 33472}},
        {"[::1]:40000", A{"::1", 40000}},
        {"[fe80::2]", A{"fe80::2", 33471}},
        {"fe80::2", A{"fe80::2", 33471}},
        {"localhost:65535", A{"localhost", 65535}},
        {"", std::nullopt},          {"host:", std::nullopt},      {"host:0", std::nullopt},
        {"host:65536", std::nullopt}, {"host:+80", std::nullopt},   {"host:8x", std::nullopt},
        {"[::1", std::nullopt},       {"[::1]80", std::nullopt},    {"[]:80", std::nullopt},
        {":80", std::nullopt},        {"a b:80", std::nullopt},     {"[::1]:", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseDealerAddress(QString::fromLatin1(c.text)), c.read) << c.text;

    EXPECT_EQ(ConnectFailureText(TLinkFailure::NoSuchHost, "oyun.example", false),
              QStringLiteral("oyun.example adında bir bilgisayar bulunamadı."));
    EXPECT_EQ(ConnectFailureText(TLinkFailure::Refused, "[::1]:33472", true),
              QStringLiteral("[::1]:33472 adresindeki dağıtıcıyla bağlantı koptu."));

    // "OK" with an address that cannot be read says so and keeps the window open.
    TConnectForm form;
    form.show();
    form.EditAddress->setText("sunucu:99999");
    form.Button1->click();
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(form.Confirmed());
    EXPECT_FALSE(form.EditAddress->toolTip().isEmpty());
    form.EditAddress->setText("sunucu:33472");
    form.Button1->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(form.Confirmed());
    EXPECT_EQ(ReadRegString(kRegKey, kRegDealerAddress, ""), "sunucu:33472");
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
