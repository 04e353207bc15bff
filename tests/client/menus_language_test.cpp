// The menus speak the program's language, and "Dil" keeps the user's choice for the next start.
#include "language.h"
#include "menus.h"
#include "prompts.h"
#include "settings.h"
#include "client_test_util.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

// Every caption and tip of the menu bar, submenus included, in menu order.
QStringList Captions(const QList<QAction*>& actions)
{
    QStringList out;
    for (QAction* a : actions) {
        if (a->isSeparator())
            continue;
        out << a->text() << a->toolTip();
        if (a->menu())
            out << Captions(a->menu()->actions());
    }
    return out;
}

QStringList MenuCaptions(TLanguage language)
{
    InstallLanguage(language);
    QMenuBar bar;
    TSettings settings;
    TMenus menus(&bar, settings);
    return Captions(bar.actions());
}

TEST(MenusLanguage, EveryCaptionIsInTheLanguageAndTheChoiceWaitsForTheNextStart)
{
    ClearSettings();
    const QStringList turkish = MenuCaptions(TLanguage::Turkish);
    const QStringList english = MenuCaptions(TLanguage::English);
    ASSERT_EQ(turkish.size(), english.size());
    const QRegularExpression turkishLetters(QStringLiteral("[çğıöşüÇĞİÖŞÜ]"));
    // The same in both: the levels' and the languages' own names.
    const QStringList names = {"Acemi", "Usta", "Türkçe", "English"};
    for (qsizetype i = 0; i < turkish.size(); ++i) {
        if (names.contains(turkish[i])) {
            EXPECT_EQ(english[i], turkish[i]);
            continue;
        }
        EXPECT_FALSE(english[i].contains(turkishLetters)) << qPrintable(english[i]);
        if (!turkish[i].isEmpty()) {
            EXPECT_NE(english[i], turkish[i]) << "untranslated: " << qPrintable(turkish[i]);
        }
    }
    EXPECT_TRUE(turkish.contains(QStringLiteral("Ayarlar")));
    EXPECT_TRUE(english.contains(QStringLiteral("Settings")));

    // In Turkish, choosing English keeps it for the next start and says so; the menus stay.
    InstallLanguage(TLanguage::Turkish);
    QMenuBar bar;
    TSettings settings;
    TMenus menus(&bar, settings);
    EXPECT_TRUE(menus.Turkish->isChecked());
    const int notices = TUserPrompts::PendingNotices();
    menus.English->trigger();
    QApplication::processEvents(); // notices are handed over through the event loop
    EXPECT_EQ(StartLanguage(), TLanguage::English);
    EXPECT_EQ(TUserPrompts::PendingNotices(), notices + 1);
    EXPECT_EQ(CurrentLanguage(), TLanguage::Turkish);
    menus.Turkish->trigger(); // back to the language in use: nothing to say
    QApplication::processEvents();
    EXPECT_EQ(StartLanguage(), TLanguage::Turkish);
    EXPECT_EQ(TUserPrompts::PendingNotices(), notices + 1);
    ClearSettings();
}

} // namespace
