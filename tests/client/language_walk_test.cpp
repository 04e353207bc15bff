// A whole game as the user sees it, in English and in Turkish: every window, dialog,
// question, status line and table text, the dealer's lines and the refusals of the rules.
// In English none may still show a Turkish text, in Turkish none an English one.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTest>

#include <cstring>

#include "aboutbox.h"
#include "card.h"
#include "client_test_util.h"
#include "commands.h"
#include "computergame.h"
#include "connectform.h"
#include "contractsdlg.h"
#include "helpform.h"
#include "highform.h"
#include "language.h"
#include "mainform.h"
#include "menus.h"
#include "payload.h"
#include "refusaltext.h"
#include "penaltyform.h"
#include "scoreform.h"
#include "tableview.h"
#include "welcomeform.h"

namespace {

// What every window of the program shows now: titles, labels, buttons, tips, the messages
// and the menus.
QStringList ShownTexts()
{
    QStringList texts;
    const auto actions = [&texts](const QList<QAction*>& list, auto&& self) -> void {
        for (QAction* a : list) {
            texts << a->text() << a->toolTip();
            if (a->menu())
                self(a->menu()->actions(), self);
        }
    };
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible())
            continue;
        texts << w->windowTitle();
        for (QLabel* l : w->findChildren<QLabel*>())
            if (l->isVisibleTo(w))
                texts << l->text() << l->toolTip();
        for (QAbstractButton* b : w->findChildren<QAbstractButton*>())
            if (b->isVisibleTo(w))
                texts << b->text() << b->toolTip();
        for (QPlainTextEdit* e : w->findChildren<QPlainTextEdit*>())
            texts << e->toPlainText().split(QLatin1Char('\n'));
        for (QMenuBar* bar : w->findChildren<QMenuBar*>())
            actions(bar->actions(), actions);
    }
    return texts;
}

// A record of a game between four players with plain names.
void Name(TGameInfo& g)
{
    const char* names[] = {"Ada", "Bob", "Cid", "Dan"};
    for (int s = 0; s < 4; ++s)
        std::strncpy(g.PlayerName[s], names[s], kNameSize - 1);
}

// The user's seat holds a card the rules refuse: a trick led in a suit the seat has.
TGameInfo FollowSituation(int& me, int& refusedSlot)
{
    for (uint32_t seed = 1;; ++seed) {
        TGameInfo g = DealtRecord(seed);
        Name(g);
        ChooseContract(g, ElAlmaz);
        PlayCard(g, g.Turn, g.CardSuit[g.Turn][0], g.CardValue[g.Turn][0]);
        me = g.Turn;
        for (int k = 0; k < g.CardCount[me]; ++k)
            if (!CanPlay(g, me, g.CardSuit[me][k], g.CardValue[me][k])) {
                refusedSlot = k;
                return g;
            }
    }
}

// Everything the user sees of a game at the program's own dealer, from joining to the
// lists at its end, with the questions and notices of the commands on the way.
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
        const auto text = [](const char* t) { return TPayloadWriter().Text(QString::fromUtf8(t)).Bytes(); };
        const auto look = [&] { seen << ShownTexts() << form.StatusText(); };

        // Before the game: no table yet, then the dealer's lines while players join.
        form.Commands().Chat();
        deliver(JOIN_ACCEPTED, JoinAcceptedPayload(1, QString::fromUtf8("Oyuna katıldın (2. oyuncu olarak)")));
        look();
        deliver(STATUS_TEXT, text("Oyuna başlamak için 2 kişi bekleniyor... (Mevcut oyuncularla başlamak için F2 "
                                  "tuşuna basın)"));
        deliver(CHAT_TEXT, text("Dan bağlantısı koptu, yerine bilgisayar oynuyor."));
        deliver(CHAT_TEXT, text("Hamle süresi: kağıt için 30 sn, oyun seçmek için sınırsız."));
        look();

        // A refused card, the user's own choice of contract, then the whole game.
        int me = 0, refused = 0;
        const TGameInfo follow = FollowSituation(me, refused);
        deliver(JOIN_ACCEPTED, JoinAcceptedPayload(uint8_t(me), QStringLiteral("-")));
        deliver(GAME_RECORD, RecordPayload(follow));
        QTest::mouseClick(form.View().CardSlot(0, refused), Qt::LeftButton);
        look();
        TGameInfo g = DealtRecord(5);
        Name(g);
        deliver(JOIN_ACCEPTED, JoinAcceptedPayload(g.Chooser, QStringLiteral("-")));
        deliver(GAME_RECORD, RecordPayload(g));
        look(); // the contract dialog is open
        high.ShowModalHook = [&] { seen << ShownTexts(); };
        TRandom rnd(5);
        int records = 0;
        PlayComputerGame(g, rnd, [&](const TGameInfo& now) {
            deliver(GAME_RECORD, RecordPayload(now));
            if (++records % 97 == 0)
                look();
        });
        look();

        // The commands' questions and notices.
        form.Commands().ConfirmLeaving();
        form.Commands().Chat();
        form.Menus().NewGame->trigger();
        form.Menus().DealerPort->trigger();
        user.line = QStringLiteral("x");
        form.Menus().DealerPort->trigger();
        QApplication::processEvents();
        seen << user.notices << user.questions << user.lineCaptions << user.dialogTitles;
    }
    InstallLanguage(TLanguage::Turkish);
    seen.removeAll(QString());
    for (const char* name : {"Ada", "Bob", "Cid", "Dan"})
        seen.replaceInStrings(QString::fromLatin1(name), QString());
    return seen;
}

// Texts the same in both languages: the program's name, "OK", the levels' and the
// languages' own names, figures and signs.
const QRegularExpression kSame(QStringLiteral("^(Zorbela( - RUVO Network)?|OK|=> OK|RUVO|Acemi|Usta|Türkçe|English|"
                                              "[-+−:,.()/ 0-9]*)$"));
const QRegularExpression kTurkish(
    QStringLiteral("[çğıöşüÇĞİÖŞÜ]|\\b(ve|bir|için|oyun|oyuna|masa|masada|yeni|evet|hayır|tamam|iptal|bitti|el|"
                   "bekleniyor|yaz|puan|seç|koz|ceza|bilgisayar|kaydet|yükle)\\b"),
    QRegularExpression::CaseInsensitiveOption);
const QRegularExpression kEnglish(
    QStringLiteral("\\b(the|and|to|of|you|your|is|game|hand|play|player|new|save|load|yes|no|table|dealer|"
                   "chooses|winner|connected)\\b"),
    QRegularExpression::CaseInsensitiveOption);

TEST(GameLanguage, AWholeGameInEnglishShowsNoTurkishAndInTurkishNoEnglish)
{
    const QStringList english = PlayAndLook(TLanguage::English);
    const QStringList turkish = PlayAndLook(TLanguage::Turkish);
    for (const QString& text : english)
        if (!kSame.match(text).hasMatch()) {
            EXPECT_FALSE(text.contains(kTurkish)) << "Turkish in English: " << qPrintable(text);
        }
    for (const QString& text : turkish)
        EXPECT_FALSE(text.contains(kEnglish)) << "English in Turkish: " << qPrintable(text);
    // The walk saw the parts it means to see, in both languages.
    const auto saw = [](const QStringList& texts, const char* part) {
        return texts.join(QLatin1Char('\n')).contains(QString::fromUtf8(part));
    };
    for (const char* part : {"Joined the game as player 2", "Waiting for 2 more players", "No Tricks",
                             "Hand 20 / 20", "will choose a contract", "Score Table", "Why are you playing"})
        EXPECT_TRUE(saw(english, part)) << part;
    for (const char* part : {"Oyuna katıldın", "bir oyun şekli seçecek", "El 20 / 20", "Puan Tablosu",
                             "varken niye"})
        EXPECT_TRUE(saw(turkish, part)) << part;
}

} // namespace

namespace {

// In Turkish the window says what the rules say, word for word; in English each sentence
// has its own words.
TEST(GameLanguage, RefusalsInTurkishAreTheRulesOwnSentences)
{
    TGameInfo g = DealtRecord(3);
    g.LeadSuit = Hearts;
    g.Contract = KozKaro;
    const TMove spade = TMove::PlayCard(Spades, Ace);
    QStringList english;
    for (int r = int(TRefusal::HeartsNotOpened); r <= int(TRefusal::Overtake); ++r) {
        InstallLanguage(TLanguage::Turkish);
        EXPECT_EQ(RefusalSentence(TRefusal(r), g, spade), QString::fromStdString(RefusalText(TRefusal(r), g, spade)));
        InstallLanguage(TLanguage::English);
        english << RefusalSentence(TRefusal(r), g, spade);
    }
    InstallLanguage(TLanguage::Turkish);
    english.removeDuplicates();
    EXPECT_EQ(english.size(), int(TRefusal::Overtake) - int(TRefusal::HeartsNotOpened) + 1);
    EXPECT_TRUE(english.contains(QStringLiteral("Why are you playing spades while you hold hearts?")));
    EXPECT_TRUE(english.contains(QStringLiteral("Trumps are diamonds and you hold diamonds!")));
}

} // namespace
