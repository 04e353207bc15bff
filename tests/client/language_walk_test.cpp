// A whole game as the user sees it, in English and in Turkish: every window, dialog,
// question, status line and table text, the dealer's lines and the refusals of the rules.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTest>

#include <cstring>

#include "card.h"
#include "client_test_util.h"
#include "commands.h"
#include "computergame.h"
#include "contractsdlg.h"
#include "highform.h"
#include "language.h"
#include "mainform.h"
#include "menus.h"
#include "payload.h"
#include "penaltyform.h"
#include "refusaltext.h"
#include "scoreform.h"
#include "tableview.h"

namespace {

// What the program's visible windows show: titles, labels, buttons, tips, messages, menus.
QStringList ShownTexts()
{
    QStringList texts;
    const auto shown = [&texts](QWidget* w, const auto& children) {
        for (auto* c : children)
            texts << (c->isVisibleTo(w) ? QStringList{c->text(), c->toolTip()} : QStringList());
    };
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible())
            continue;
        texts << w->windowTitle();
        shown(w, w->findChildren<QLabel*>());
        shown(w, w->findChildren<QAbstractButton*>());
        for (QPlainTextEdit* e : w->findChildren<QPlainTextEdit*>())
            texts << e->toPlainText().split(QLatin1Char('\n'));
        for (QAction* a : w->findChildren<QAction*>()) // the menus' items, with their submenus'
            texts << a->text() << a->toolTip();
    }
    return texts;
}

const char* const kNames[] = {"Ada", "Bob", "Cid", "Dan"}; // the players, found in no word

// Everything the user sees of a game, from joining to the lists at its end, with the
// questions and notices of the commands, in the language given.
QStringList PlayAndLook(TLanguage language)
{
    ClearSettings();
    InstallLanguage(language);
    QStringList seen;
    {
        TScoreForm score;
        TPenaltyForm penalty;
        TOKRightDlgContracts contracts;
        THighForm high;
        TSideWindows side;
        side.Score = &score;
        side.Penalty = &penalty;
        side.Contracts = &contracts;
        side.High = &high;
        TScriptedUser user;
        TMainForm form;
        form.SetSideWindows(side);
        form.SetPrompts(&user);
        form.SetAutoStart(false);
        form.FirstActivation();
        form.show();
        const auto deliver = [&form](TPacketType type, const QByteArray& payload) {
            form.Session().HandlePacket(type, payload);
        };
        const auto say = [&](TPacketType type, const char* t) {
            deliver(type, TPayloadWriter().Text(QString::fromUtf8(t)).Bytes());
        };
        const auto look = [&] { seen << ShownTexts() << form.StatusText(); };

        // No table yet, then the dealer's sentences while players join.
        form.Commands().Chat();
        deliver(JOIN_ACCEPTED, JoinAcceptedPayload(1, QString::fromUtf8("Oyuna katıldın (2. oyuncu olarak)")));
        look();
        say(STATUS_TEXT, "Oyuna başlamak için 2 kişi bekleniyor... (Mevcut oyuncularla başlamak için F2 tuşuna basın)");
        say(CHAT_TEXT, "Dan bağlantısı koptu, yerine bilgisayar oynuyor.");
        say(CHAT_TEXT, "Hamle süresi: kağıt için 30 sn, oyun seçmek için sınırsız.");
        look();

        // The user chooses a contract (the dialog is open), leaves it, asks for a new game,
        // plays a card the rules refuse; then the whole game, up to the lists.
        TGameInfo g = DealtRecord(5);
        for (int s = 0; s < 4; ++s)
            std::strncpy(g.PlayerName[s], kNames[s], kNameSize - 1);
        deliver(JOIN_ACCEPTED, JoinAcceptedPayload(g.Chooser, QStringLiteral("-")));
        deliver(GAME_RECORD, RecordPayload(g));
        look();
        form.Commands().ConfirmLeaving();
        user.answers = {false};
        form.Menus().NewGame->trigger();
        ChooseContract(g, ElAlmaz);
        PlayCard(g, g.Turn, g.CardSuit[g.Turn][0], g.CardValue[g.Turn][0]);
        deliver(JOIN_ACCEPTED, JoinAcceptedPayload(g.Turn, QStringLiteral("-")));
        deliver(GAME_RECORD, RecordPayload(g));
        for (int k = 0; k < g.CardCount[g.Turn]; ++k)
            if (!CanPlay(g, g.Turn, g.CardSuit[g.Turn][k], g.CardValue[g.Turn][k]))
                QTest::mouseClick(form.View().CardSlot(0, k), Qt::LeftButton);
        TRandom rnd(5);
        int records = 0;
        PlayComputerGame(g, rnd, [&](const TGameInfo& now) {
            deliver(GAME_RECORD, RecordPayload(now));
            if (++records % 97 == 0)
                look();
        });
        look();
        EXPECT_TRUE(WaitFor([&] { return high.isVisible(); })) << "the lists open after the result";
        seen << ShownTexts();
        high.close();
        form.Menus().DealerPort->trigger();
        user.line = QStringLiteral("x");
        form.Menus().DealerPort->trigger();
        QApplication::processEvents();
        seen << user.notices << user.questions << user.lineCaptions << user.dialogTitles;
    }
    InstallLanguage(TLanguage::Turkish);
    seen.removeAll(QString());
    for (const char* name : kNames)
        seen.replaceInStrings(QString::fromLatin1(name), QString());
    return seen;
}

TEST(GameLanguage, AWholeGameInEnglishShowsNoTurkishAndInTurkishNoEnglish)
{
    // The same in both: the program's name, "OK", the levels' and languages' own names.
    const QRegularExpression same(QStringLiteral("^(Zorbela( - RUVO Network)?|OK|=> OK|RUVO|Acemi|Usta|Türkçe|English|"
                                                 "[-+−:,.()/ 0-9]*)$"));
    const QRegularExpression turkish(
        QStringLiteral("[çğıöşüÇĞİÖŞÜ]|\\b(ve|bir|için|oyun|oyuna|masa|yeni|evet|hayır|bitti|el|yaz|puan|koz|ceza)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpression english(
        QStringLiteral("\\b(the|and|to|of|you|is|game|hand|play|new|yes|no|table|dealer|winner)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    const QStringList inEnglish = PlayAndLook(TLanguage::English);
    const QStringList inTurkish = PlayAndLook(TLanguage::Turkish);
    for (const QString& text : inEnglish)
        EXPECT_FALSE(!same.match(text).hasMatch() && text.contains(turkish)) << "Turkish in English: " << qPrintable(text);
    for (const QString& text : inTurkish)
        EXPECT_FALSE(text.contains(english)) << "English in Turkish: " << qPrintable(text);
    // The walk saw what it means to see.
    const QString allEnglish = inEnglish.join(QLatin1Char('\n')), allTurkish = inTurkish.join(QLatin1Char('\n'));
    for (const char* part : {"Joined the game as player 2", "Waiting for 2 more players", "No Tricks", "Hand 20 / 20",
                             "will choose a contract", "Score Table", "Why are you playing", "Best totals",
                             "The game is in progress"})
        EXPECT_TRUE(allEnglish.contains(QString::fromUtf8(part))) << part;
    for (const char* part : {"Oyuna katıldın", "bir oyun şekli seçecek", "El 20 / 20", "varken niye", "Oyun devam"})
        EXPECT_TRUE(allTurkish.contains(QString::fromUtf8(part))) << part;
}

// In Turkish the window says what the rules say, word for word.
TEST(GameLanguage, RefusalsInTurkishAreTheRulesOwnSentences)
{
    TGameInfo g = DealtRecord(3);
    g.LeadSuit = Hearts;
    g.Contract = KozKaro;
    const TMove spade = TMove::PlayCard(Spades, Ace);
    InstallLanguage(TLanguage::Turkish);
    for (int r = int(TRefusal::HeartsNotOpened); r <= int(TRefusal::Overtake); ++r)
        EXPECT_EQ(RefusalSentence(TRefusal(r), g, spade), QString::fromStdString(RefusalText(TRefusal(r), g, spade)));
    InstallLanguage(TLanguage::English);
    EXPECT_EQ(RefusalSentence(TRefusal::DiscardTrump, g, spade), QStringLiteral("Trumps are diamonds and you hold diamonds!"));
    InstallLanguage(TLanguage::Turkish);
}

} // namespace
