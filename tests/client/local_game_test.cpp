// Main windows at a table in process on its manual clock: a whole game that the computer
// plays for the host's user, two windows sharing one table, and the host's saved games.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QTemporaryDir>

#include <cstring>
#include <map>
#include <memory>

#include "client_test_util.h"
#include "commands.h"
#include "gamefiles.h"
#include "locallink.h"
#include "mainform.h"
#include "penaltyform.h"
#include "privatehands.h"
#include "scoreform.h"
#include "tableview.h"

namespace {

class LocalTableTest : public ::testing::Test {
protected:
    void SetUp() override { ClearSettings(); }

    void MakeTable(TTableOptions options)
    {
        options.TrickResolveExtraMs = 0;
        options.GamesFolder = games.path();
        table = std::make_unique<TLocalTable>(options);
    }

    // A window whose user joins the table as `name` (the first one becomes its host).
    std::unique_ptr<TMainForm> Join(TScriptedUser& user, const QString& name, const TSideWindows& side = {})
    {
        links.push_back(std::make_unique<TLocalLink>(*table));
        auto form = std::make_unique<TMainForm>(links.back().get());
        form->SetSideWindows(side);
        form->SetPrompts(&user);
        form->SetAutoStart(false);
        form->FirstActivation();
        form->StartAsPlayer(name, QStringLiteral("127.0.0.1"));
        return form;
    }

    // Runs the table on its clock and the windows' event loop until done holds; with
    // `play`, the computer makes each move that one of them owes.
    // Usta's advice comes from a thread of its own, so the wait is bounded in real time.
    bool Run(const std::function<bool()>& done, const std::vector<TMainForm*>& play = {}, int timeoutMs = 60000)
    {
        std::map<TMainForm*, QByteArray> asked; // the record each window was last asked to move on
        const QDeadlineTimer deadline(timeoutMs);
        while (!done() && !deadline.hasExpired()) {
            table->RunUntil(done, 500);
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            for (TMainForm* f : play) {
                const QByteArray record(reinterpret_cast<const char*>(&f->Session().Record()), sizeof(TGameInfo));
                if (f->Model().Due() != TMove::TKind::None && asked[f] != record) {
                    asked[f] = record;
                    f->ComputerForMe().PlayOnce();
                }
            }
        }
        return done();
    }

    const TGameInfo& TableRecord() const { return table->Table().GameInfo(); }
    bool Sees(TMainForm& f) const
    {
        const TSession& s = f.Session();
        return SameRecord(s.Record(), s.PrivateHands() ? PrivateRecord(TableRecord(), s.MySeat) : TableRecord());
    }

    QTemporaryDir games;
    std::unique_ptr<TLocalTable> table;
    std::vector<std::unique_ptr<TLocalLink>> links; // outlive the windows
};

} // namespace

TEST_F(LocalTableTest, WholeGamePlayedByTheComputerForTheHost)
{
    TTableOptions options;
    options.OpenHands = true;
    MakeTable(options);
    // The score table and the taken-cards window follow the game as in the program.
    TScoreForm score;
    TPenaltyForm penalty;
    TSideWindows side;
    side.Score = &score;
    side.Penalty = &penalty;
    TScriptedUser user;
    TSentLog sent;
    auto host = Join(user, QStringLiteral("Ali"), side);
    QObject::connect(&host->Session(), &TSession::sent, [&](TPacketType t) { sent.types.push_back(t); });
    ASSERT_TRUE(Run([&] { return host->Session().Seated(); }));
    EXPECT_TRUE(host->Session().IsHost());
    // F2 fills the table; the table-complete question, answered Yes, deals a new game.
    host->Menus().Start->trigger();
    ASSERT_TRUE(Run([&] { return user.questions.size() == 1 && TableRecord().Phase == psChoosing; }));
    EXPECT_TRUE(user.questions[0].startsWith(QStringLiteral("Kare tamamlandı!")));
    EXPECT_EQ(sent.Count(NEW_GAME), 1);
    EXPECT_EQ(host->View().NameLabel(table::kRight)->text(), QStringLiteral("Acemi1"));

    ASSERT_TRUE(Run([&] { return host->Session().Record().Phase == psGameOver; }, {host.get()}))
        << "hands played: " << ContractsPlayed(TableRecord());
    Run([&] { return !user.notices.isEmpty(); });
    EXPECT_TRUE(Sees(*host));
    EXPECT_EQ(host->StatusText(), QStringLiteral("Oyun bitti"));
    EXPECT_EQ(ContractsPlayed(TableRecord()), 20);
    EXPECT_EQ(host->View().HandLabel()->text(), QStringLiteral("El 20 / 20"));
    // The side windows were docked at the main window's right edge.
    EXPECT_EQ(score.width(), penalty.width());
    EXPECT_EQ(penalty.y(), score.frameGeometry().bottom() + 1);
    const QString messages = host->View().Messages();
    host.reset(); // before the side windows it refers to
    // The user's seat chose its five contracts, and played at least one card a hand.
    EXPECT_EQ(sent.Count(CONTRACT_CHOICE), 5);
    EXPECT_GE(sent.Count(CARD_PLAY), 20);
    // The one notice is the result, told before the lists; every hand was summed up.
    ASSERT_EQ(user.notices.size(), 1) << user.notices.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(user.notices[0].startsWith(QStringLiteral("Oyun bitti. Kazanan"))) << user.notices[0].toStdString();
    EXPECT_EQ(messages.count(QStringLiteral(" bitti: ")), 20) << messages.toStdString();
}

TEST_F(LocalTableTest, TwoWindowsShareTheTableAndTheHostSavesAndLoadsItsGames)
{
    MakeTable({});
    TScriptedUser aliUser, veliUser;
    TSentLog veliSent;
    auto ali = Join(aliUser, QStringLiteral("Ali"));
    ASSERT_TRUE(Run([&] { return ali->Session().Seated(); }));
    auto veli = Join(veliUser, QStringLiteral("Veli"));
    QObject::connect(&veli->Session(), &TSession::sent, [&](TPacketType t) { veliSent.types.push_back(t); });
    ASSERT_TRUE(Run([&] { return veli->Session().MySeat == 1 && veli->View().NameLabel(table::kLeft)->text() == "Ali"; }));
    EXPECT_EQ(veli->StatusText(), QStringLiteral("Oyuna katıldın (2. oyuncu olarak)"));
    EXPECT_TRUE(ali->Session().PrivateHands());
    // A joining player has the hint, the computer's one move and leaving; the host's
    // commands are greyed. The joining player sits at the bottom, the host at the left.
    const TMenus& menus = veli->Menus();
    for (const QAction* a : {menus.Hint, menus.ComputerOnce, menus.Quit, menus.Reconnect})
        EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();
    for (const QAction* a : {menus.Start, menus.NewGame, menus.Save, menus.Load, menus.WaitForPlayers})
        EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
    EXPECT_EQ(veli->View().NameLabel(table::kBottom)->text(), QStringLiteral("Veli"));
    // F2 on the joining player's copy does nothing; the host's fills the table.
    veli->Menus().Start->trigger();
    Run([] { return false; }, {}, 50);
    EXPECT_EQ(veliSent.Count(START_NOW), 0);
    ali->Menus().Start->trigger();
    const std::vector<TMainForm*> both{ali.get(), veli.get()};
    ASSERT_TRUE(Run([&] { return TableRecord().Phase == psChoosing && Sees(*ali) && Sees(*veli); }));
    EXPECT_TRUE(veliUser.questions.isEmpty()); // only the host is asked
    // Each sees the other at the right place: seat 1 at the host's right, seat 0 at the
    // player's left, seat 2 on its top; clockwise from the next record on, the other way.
    EXPECT_EQ(ali->View().NameLabel(table::kRight)->text(), QStringLiteral("Veli"));
    EXPECT_EQ(veli->View().NameLabel(table::kTop)->text(), QStringLiteral("Acemi2"));
    ali->Menus().Clockwise->trigger();
    veli->Menus().Clockwise->trigger();
    ASSERT_TRUE(Run([&] { return ContractsPlayed(TableRecord()) == 1 && Sees(*ali) && Sees(*veli); }, both));
    EXPECT_EQ(ali->View().NameLabel(table::kLeft)->text(), QStringLiteral("Veli"));
    EXPECT_EQ(veli->View().NameLabel(table::kRight)->text(), QStringLiteral("Ali"));

    // Chat: the line comes back to both windows, the sender's included; a cancelled box
    // sends nothing, an empty line the name and "> ".
    aliUser.line = QStringLiteral("merhaba çocuklar");
    ali->Commands().Chat();
    veliUser.line.reset();
    veli->Commands().Chat();
    veliUser.line = QString();
    veli->Commands().Chat();
    const QString chat = QStringLiteral("Ali> merhaba çocuklar\nVeli>");
    // (A hand that ended meanwhile puts its summary line first.)
    ASSERT_TRUE(Run([&] { return ali->View().Messages().endsWith(chat) && veli->View().Messages().endsWith(chat); }))
        << ali->View().Messages().toStdString() << " | " << veli->View().Messages().toStdString();

    // "Kaydet" names the game; the table keeps the whole record, not the host's view.
    const TGameInfo saved = TableRecord();
    aliUser.line = QStringLiteral("Akşam oyunu");
    ali->Menus().Save->trigger();
    ASSERT_TRUE(Run([&] { return aliUser.notices.contains(QStringLiteral("Oyun kaydedildi: Akşam oyunu")); }));
    TGameInfo onDisk{};
    ASSERT_TRUE(ReadGameFile(games.filePath(QStringLiteral("Akşam oyunu.rvo")), onDisk));
    EXPECT_TRUE(SameRecord(onDisk, saved));
    // Play moves on; "Yükle" lists the table's games and brings the chosen one back to all.
    ASSERT_TRUE(Run([&] { return TableRecord().Phase == psPlaying && TableRecord().CardCount[0] < 13; }, both));
    aliUser.choice = QStringLiteral("Akşam oyunu");
    ali->Menus().Load->trigger();
    // The hands are private, so the hand in progress is dealt again; all else is as saved.
    const auto asSaved = [&saved](TGameInfo g) {
        std::memcpy(g.CardValue, saved.CardValue, sizeof g.CardValue + sizeof g.CardSuit);
        return SameRecord(g, saved);
    };
    ASSERT_TRUE(Run([&] { return asSaved(TableRecord()) && Sees(*ali) && Sees(*veli); }));
    EXPECT_EQ(aliUser.choices, QStringList{QStringLiteral("Akşam oyunu")});
    EXPECT_FALSE(aliUser.notices.contains(QStringLiteral("Dosya açılamıyor!")));
    EXPECT_TRUE(veliUser.notices.isEmpty()) << veliUser.notices.join(QLatin1Char('\n')).toStdString();
}
