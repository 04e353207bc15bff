// The program's language: chosen from the settings or the system's locale; in English no
// translated window shows a Turkish text, in Turkish none shows an English one, and Qt's own
// dialogs speak the same language.
#include "aboutbox.h"
#include "connectform.h"
#include "contractsdlg.h"
#include "helpform.h"
#include "highform.h"
#include "language.h"
#include "penaltyform.h"
#include "scoreform.h"
#include "stringgrid.h"
#include "ui_test_util.h"
#include "welcomeform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

// Every text a window shows: its title, its labels, buttons, group boxes and list items.
QStringList ShownTexts(QWidget& window)
{
    QStringList texts{window.windowTitle()};
    for (QLabel* l : window.findChildren<QLabel*>())
        texts << l->text().remove(QLatin1Char('&'));
    for (QAbstractButton* b : window.findChildren<QAbstractButton*>())
        texts << b->text().remove(QLatin1Char('&'));
    for (QGroupBox* g : window.findChildren<QGroupBox*>())
        texts << g->title();
    for (QComboBox* c : window.findChildren<QComboBox*>())
        for (int i = 0; i < c->count(); ++i)
            texts << c->itemText(i);
    texts.removeAll(QString());
    return texts;
}

// The translated windows, made in the language installed, each with all its texts: the
// contract dialog at the start of a game, so it lists all ten contracts.
std::vector<QStringList> TranslatedWindowTexts()
{
    std::vector<QStringList> all;
    TWelcomeForm welcome;
    all.push_back(ShownTexts(welcome));
    TAboutBox about;
    all.push_back(ShownTexts(about));
    THighForm high;
    all.push_back(ShownTexts(high));
    TPenaltyForm penalty;
    all.push_back(ShownTexts(penalty));
    THelpForm help;
    // The help's text, with the one Turkish name it gives in English.
    all.push_back(QStringList{help.windowTitle(), THelpForm::HelpText().remove(QStringLiteral("Türkçe"))});
    TConnectForm connect;
    QStringList connectTexts = ShownTexts(connect);
    for (const TLinkFailure failure : {TLinkFailure::NoSuchHost, TLinkFailure::Refused,
                                          TLinkFailure::ClosedByPeer, TLinkFailure::Unreachable})
        connectTexts << ConnectFailureText(failure, QStringLiteral("192.0.2.1"), false);
    connectTexts << ConnectFailureText(TLinkFailure::Refused, QStringLiteral("192.0.2.1"), true);
    all.push_back(connectTexts);

    TGameInfo record = SampleRecord();
    uint8_t seat = 0;
    TScoreForm score;
    score.Bind(&record, &seat);
    score.Refresh();
    QStringList scoreTexts = ShownTexts(score);
    for (int r = 0; r < score.ScoreGrid->RowCount(); ++r)
        scoreTexts << score.ScoreGrid->Cell(0, r);
    for (int c = 0; c < 5; ++c)
        for (int r = 0; r < 10; ++r)
            scoreTexts << ScoreCellTip(record, seat, c, r);
    scoreTexts.removeAll(QString());
    all.push_back(scoreTexts);

    std::memset(&record, 0, sizeof record);
    TRandom random(3);
    NewGame(record, random);
    TOKRightDlgContracts contracts;
    contracts.Bind(&record, &seat);
    contracts.show();
    QApplication::processEvents();
    all.push_back(ShownTexts(contracts));
    return all;
}

const QRegularExpression kTurkishLetters(QStringLiteral("[çğıöşüâÇĞİÖŞÜ]"));
// Words of the English translation that Turkish never writes.
const QRegularExpression kEnglishWords(
    QStringLiteral("\\b(the|and|to|of|you|your|want|best|worst|no|choose|hello|close|about|version|player|help)\\b"),
    QRegularExpression::CaseInsensitiveOption);
// The text without the players' names of the sample record.
QString WithoutNames(QString text)
{
    for (const char* name : {"Ayşe", "Bora", "Cem", "Derya"})
        text.remove(QString::fromUtf8(name));
    return text;
}

// The same in both: names, the program's name, the button "OK", figures and the contracts'
// markers.
bool SameInBoth(const QString& text)
{
    static const QRegularExpression kNeutral(QStringLiteral("^(Zorbela|OK|=> OK\\s*|[-+ 0-9.]*)$"));
    return kNeutral.match(WithoutNames(text)).hasMatch();
}

TEST(Language, ChosenFromTheSettingsOrElseTheSystemsLocale)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QLocale turkish(QLocale::Turkish, QLocale::Turkey);
    EXPECT_EQ(ChooseLanguage(QString(), english), TLanguage::English);
    EXPECT_EQ(ChooseLanguage(QString(), QLocale(QLocale::German)), TLanguage::English);
    EXPECT_EQ(ChooseLanguage(QString(), turkish), TLanguage::Turkish);
    EXPECT_EQ(ChooseLanguage(QString(), QLocale::c()), TLanguage::Turkish);
    EXPECT_EQ(ChooseLanguage(QStringLiteral("tr"), english), TLanguage::Turkish);
    EXPECT_EQ(ChooseLanguage(QStringLiteral("en"), turkish), TLanguage::English);
    EXPECT_EQ(ChooseLanguage(QStringLiteral("xx"), turkish), TLanguage::Turkish);

    ClearSettings();
    StoreLanguage(TLanguage::English);
    EXPECT_EQ(StartLanguage(), TLanguage::English);
    StoreLanguage(TLanguage::Turkish);
    EXPECT_EQ(StartLanguage(), TLanguage::Turkish);
    ClearSettings();
}

TEST(Language, NoWindowMixesTheLanguages)
{
    ASSERT_TRUE(InstallLanguage(TLanguage::Turkish));
    const std::vector<QStringList> turkish = TranslatedWindowTexts();
    ASSERT_TRUE(InstallLanguage(TLanguage::English)) << "the English translation is built in";
    const std::vector<QStringList> english = TranslatedWindowTexts();
    InstallLanguage(TLanguage::Turkish);

    ASSERT_EQ(turkish.size(), english.size());
    for (std::size_t w = 0; w < turkish.size(); ++w) {
        ASSERT_EQ(turkish[w].size(), english[w].size()) << qPrintable(turkish[w].join(QLatin1Char('|')));
        for (qsizetype i = 0; i < turkish[w].size(); ++i) {
            const QString& tr = turkish[w][i];
            const QString& en = english[w][i];
            EXPECT_FALSE(WithoutNames(en).contains(kTurkishLetters)) << qPrintable(en);
            EXPECT_FALSE(tr.contains(kEnglishWords)) << qPrintable(tr);
            if (!SameInBoth(tr)) {
                EXPECT_NE(tr, en) << "untranslated: " << qPrintable(tr);
            }
        }
    }
    EXPECT_TRUE(turkish[0].contains(QStringLiteral("Dağıtıcı olmak istiyorum")));
    EXPECT_TRUE(english[4][1].startsWith(QStringLiteral("!#! What is Zorbela?")));
    EXPECT_TRUE(english[0].contains(QStringLiteral("I want to be the dealer")));
    EXPECT_TRUE(english.back().contains(QStringLiteral("- No King of Hearts")))
        << qPrintable(english.back().join(QLatin1Char('|')));
}

// The chat box and the save and load dialogs are Qt's own: they follow the language.
TEST(Language, QtsOwnDialogsFollowTheLanguage)
{
    const auto texts = [] {
        QFileDialog files(nullptr, QStringLiteral("Zorbela"), QString(), QStringLiteral("*.rvo"));
        files.setOption(QFileDialog::DontUseNativeDialog);
        files.setAcceptMode(QFileDialog::AcceptSave);
        QInputDialog input;
        input.show();
        return ShownTexts(files) + ShownTexts(input);
    };
    ASSERT_TRUE(InstallLanguage(TLanguage::Turkish)) << "qt6-translations-l10n is part of the set-up";
    const QStringList turkish = texts();
    EXPECT_TRUE(turkish.contains(QStringLiteral("Dosya adı:"))) << qPrintable(turkish.join(QLatin1Char('|')));
    EXPECT_TRUE(turkish.contains(QStringLiteral("Arama konumu:")));
    EXPECT_TRUE(turkish.contains(QStringLiteral("İptal")));
    ASSERT_TRUE(InstallLanguage(TLanguage::English));
    const QStringList english = texts();
    EXPECT_TRUE(english.contains(QStringLiteral("File name:"))) << qPrintable(english.join(QLatin1Char('|')));
    EXPECT_TRUE(english.contains(QStringLiteral("Cancel")));
    EXPECT_FALSE(english.join(QLatin1Char('|')).contains(kTurkishLetters));
    InstallLanguage(TLanguage::Turkish);
}

} // namespace
