#include "startup.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include <vector>

namespace {

std::optional<int> Answer(std::vector<const char*> args)
{
    args.insert(args.begin(), "zorbela");
    return AnswerCommandLine(int(args.size()), const_cast<char**>(args.data()));
}

TEST(Startup, HelpAndVersionAnswerAndEverythingElseGoesToQt)
{
    testing::internal::CaptureStdout();
    EXPECT_EQ(Answer({"--version"}), 0);
    EXPECT_EQ(Answer({"-platform", "offscreen", "-h"}), 0);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.rfind("Zorbela ", 0), 0u) << out;
    EXPECT_NE(out.find("Kullanım: zorbela"), std::string::npos);
    EXPECT_EQ(Answer({}), std::nullopt);
    EXPECT_EQ(Answer({"-platform", "offscreen", "--style=fusion"}), std::nullopt);
}

// The chat box and the save and load dialogs are Qt's own: with the Turkish texts their
// buttons and labels speak Turkish.
TEST(Startup, QtsOwnDialogsSpeakTurkish)
{
    ASSERT_TRUE(InstallTurkishQtTexts(*qApp)) << "qt6-translations-l10n is part of the set-up";
    QInputDialog input;
    input.show();
    QStringList buttons;
    for (QPushButton* b : input.findChildren<QPushButton*>())
        buttons << b->text().remove(QLatin1Char('&'));
    EXPECT_TRUE(buttons.contains(QStringLiteral("İptal"))) << qPrintable(buttons.join(QLatin1Char(',')));

    QFileDialog files(nullptr, QStringLiteral("Kaydet"), QString(), QStringLiteral("*.rvo"));
    files.setOption(QFileDialog::DontUseNativeDialog);
    files.setAcceptMode(QFileDialog::AcceptSave);
    QStringList labels;
    for (QLabel* l : files.findChildren<QLabel*>())
        labels << l->text().remove(QLatin1Char('&'));
    EXPECT_TRUE(labels.contains(QStringLiteral("Dosya adı:"))) << qPrintable(labels.join(QLatin1Char('|')));
    EXPECT_TRUE(labels.contains(QStringLiteral("Arama konumu:")));
    QStringList fileButtons;
    for (QPushButton* b : files.findChildren<QPushButton*>())
        fileButtons << b->text().remove(QLatin1Char('&'));
    EXPECT_TRUE(fileButtons.contains(QStringLiteral("Kaydet"))) << qPrintable(fileButtons.join(QLatin1Char('|')));
    EXPECT_TRUE(fileButtons.contains(QStringLiteral("İptal")));
}

} // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
