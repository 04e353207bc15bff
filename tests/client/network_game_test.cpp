// Main windows and a dealer over loopback TCP: a whole game played by the computer for the
// window's user, two windows at one table, chat, and saved games restored for everyone.
#include <gtest/gtest.h>

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <cstring>
#include <vector>

#include "card.h"
#include "client_test_util.h"
#include "gamefiles.h"
#include "commands.h"
#include "computerforme.h"
#include "mainform.h"
#include "menus.h"
#include "seatmodel.h"
#include "settings.h"
#include "tableview.h"
#include "penaltyform.h"
#include "privatehands.h"
#include "regeasy.h"
#include "scoreform.h"

namespace {

class NetworkGameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearSettings();
        dealerForm = MakeForm(dealerUser);
        dealerOptions.LastHandFolder = lastHand.path();
        dealerOptions.TrickResolveExtraMs = 0; // the game's pacing, shortened for the test,
        dealerOptions.MaxDataFrames = 0;       // faster than a real player could send
        dealerForm->SetDealerOptions(dealerOptions);
        dealerForm->SetGamePort(0);
        QObject::connect(&dealerForm->Session(), &TSession::sent, [this](TPacketType t) { dealerSent.types.push_back(t); });
    }

    std::unique_ptr<TMainForm> MakeForm(TScriptedUser& user)
    {
        auto form = std::make_unique<TMainForm>();
        form->SetPrompts(&user);
        form->SetAutoStart(false);
        form->FirstActivation();
        return form;
    }

    const TGameInfo& DealerRecord() const { return dealerForm->Dealer()->GameInfo(); }
    // The window shows what its seat is sent of the dealer's record g.
    static bool Sees(TMainForm& f, const TGameInfo& g)
    {
        return SameRecord(f.Session().Record(), PrivateRecord(g, f.Session().MySeat));
    }

    // The human seat that is due makes one move (the computer acting for it); returns once
    // the dealer has moved on to a human seat again and every window has its record.
    bool HumanMove(const std::vector<TMainForm*>& forms)
    {
        const TGameInfo before = DealerRecord();
        const int due = before.Phase == psChoosing ? before.Chooser : before.Turn;
        forms.at(due)->ComputerForMe().PlayOnce();
        return WaitFor([&] {
            if (SameRecord(DealerRecord(), before) || !WaitsForHuman(int(forms.size())))
                return false;
            for (TMainForm* f : forms)
                if (!Sees(*f, DealerRecord()))
                    return false;
            return true;
        });
    }

    // The dealer waits for one of the human seats (no computer seat is to act).
    bool WaitsForHuman(int humans) const
    {
        const TGameInfo& g = DealerRecord();
        if (g.Phase == psChoosing)
            return g.Chooser < humans;
        return g.Phase == psPlaying && g.Turn < humans;
    }

    QTemporaryDir lastHand;
    TDealerOptions dealerOptions;
    TScriptedUser dealerUser;
    TSentLog dealerSent;
    std::unique_ptr<TMainForm> dealerForm;
};

} // namespace

TEST_F(NetworkGameTest, WholeGamePlayedByTheComputerForTheUser)
{
    // The score table and the taken-cards window follow the game as in the program.
    TScoreForm score;
    TPenaltyForm penalty;
    TSideWindows side;
    side.Score = &score;
    side.Penalty = &penalty;
    dealerForm = std::make_unique<TMainForm>();
    dealerForm->SetSideWindows(side);
    dealerForm->SetPrompts(&dealerUser);
    dealerForm->SetAutoStart(false);
    dealerForm->SetDealerOptions(dealerOptions);
    dealerForm->SetGamePort(0);
    QObject::connect(&dealerForm->Session(), &TSession::sent, [this](TPacketType t) { dealerSent.types.push_back(t); });
    dealerForm->FirstActivation();
    dealerForm->Menus().ComputerAlways->trigger();
    dealerForm->Menus().Quick->trigger();
    dealerForm->StartAsDealer(QStringLiteral("Ali"));
    ASSERT_TRUE(WaitFor([&] { return dealerForm->Session().MySeat == 0; }));
    EXPECT_EQ(dealerForm->StatusText(),
              QStringLiteral("Oyuna başlamak için 3 kişi bekleniyor... (Mevcut oyuncularla "
                             "başlamak için F2 tuşuna basın)"));
    QTest::keyRelease(dealerForm.get(), Qt::Key_F2);
    // Seat 3 completes the table: the question, answered Yes, starts a new game.
    // (The answer comes from the event loop, as a box the user closes.)
    ASSERT_TRUE(WaitFor([&] { return dealerUser.questions.size() == 1 && dealerSent.Count(NEW_GAME) > 0; }));
    EXPECT_TRUE(dealerUser.questions[0].startsWith(QStringLiteral("Kare tamamlandı!")));
    EXPECT_EQ(dealerSent.Count(NEW_GAME), 1);
    EXPECT_EQ(dealerForm->View().NameLabel(table::kRight)->text(), QStringLiteral("Acemi1"));

    ASSERT_TRUE(WaitFor([&] { return dealerForm->Session().Record().Phase == psGameOver; }, 240000))
        << "hands played: " << ContractsPlayed(dealerForm->Session().Record());
    EXPECT_TRUE(Sees(*dealerForm, DealerRecord()));
    EXPECT_EQ(dealerForm->StatusText(), QStringLiteral("Oyun bitti"));
    EXPECT_EQ(ContractsPlayed(DealerRecord()), 20);
    // The side windows were docked at the main window's right edge.
    EXPECT_EQ(score.width(), penalty.width());
    EXPECT_EQ(penalty.y(), score.frameGeometry().bottom() + 1);
    const QString messages = dealerForm->View().Messages();
    EXPECT_EQ(dealerForm->View().HandLabel()->text(), QStringLiteral("El 20 / 20"));
    dealerForm.reset(); // before the side windows it refers to
    // The user's seat chose its five contracts, and played at least one card a hand.
    EXPECT_EQ(dealerSent.Count(CONTRACT_CHOICE), 5);
    EXPECT_GE(dealerSent.Count(CARD_PLAY), 20);
    // The one notice is the result, told before the lists; every hand was summed up.
    ASSERT_EQ(dealerUser.notices.size(), 1) << dealerUser.notices.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(dealerUser.notices[0].startsWith(QStringLiteral("Oyun bitti. Kazanan"))) << dealerUser.notices[0].toStdString();
    EXPECT_EQ(messages.count(QStringLiteral(" bitti: ")), 20) << messages.toStdString();
}

TEST_F(NetworkGameTest, TwoWindowsShareRecordsChatAndSavedGames)
{
    dealerForm->StartAsDealer(QStringLiteral("Ali"));
    ASSERT_TRUE(WaitFor([&] { return dealerForm->Session().MySeat == 0; }));
    TScriptedUser playerUser;
    TSentLog playerSent;
    auto player = MakeForm(playerUser);
    QObject::connect(&player->Session(), &TSession::sent, [&](TPacketType t) { playerSent.types.push_back(t); });
    player->SetGamePort(dealerForm->Dealer()->Port());
    player->StartAsPlayer(QStringLiteral("Veli"), QStringLiteral("127.0.0.1"));
    ASSERT_TRUE(WaitFor([&] { return player->Session().MySeat == 1; }));
    EXPECT_EQ(player->StatusText(), QStringLiteral("Oyuna katıldın (2. oyuncu olarak)"));
    // A joining player has the hint, the computer's one move and leaving; the host's
    // commands are greyed.
    const TMenus& menus = player->Menus();
    EXPECT_TRUE(menus.Game->isEnabled());
    for (const QAction* a : {menus.Hint, menus.ComputerOnce, menus.Quit})
        EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();
    for (const QAction* a : {menus.Start, menus.NewGame, menus.Save, menus.Load, menus.WaitForPlayers})
        EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
    EXPECT_TRUE(player->Menus().Reconnect->isEnabled());
    // The joining player sits at the bottom from the start, the dealer at the left.
    EXPECT_EQ(player->View().NameLabel(table::kBottom)->text(), QStringLiteral("Veli"));
    ASSERT_TRUE(WaitFor([&] { return player->View().NameLabel(table::kLeft)->text() == QStringLiteral("Ali"); }));

    // F2 on the joining player's copy does nothing.
    QTest::keyRelease(player.get(), Qt::Key_F2);
    Settle(200);
    EXPECT_EQ(playerSent.Count(START_NOW), 0);
    EXPECT_EQ(dealerForm->Dealer()->SeatCount(), 2);

    dealerForm->Menus().Start->trigger();
    ASSERT_TRUE(WaitFor([&] { return dealerForm->Dealer()->SeatCount() == 4; }));
    ASSERT_TRUE(WaitFor([&] { return WaitsForHuman(2) &&
                                       Sees(*player, DealerRecord()) &&
                                       Sees(*dealerForm, DealerRecord()); }));
    EXPECT_TRUE(playerUser.questions.isEmpty()); // only the dealer's user is asked
    // A second F2 once the table is complete sends nothing.
    const int startNow = dealerSent.Count(START_NOW);
    dealerForm->Menus().Start->trigger();
    EXPECT_EQ(dealerSent.Count(START_NOW), startNow);

    // Each viewer sees the other at the right place: seat 1 at the dealer's right (its
    // left when play runs clockwise), seat 0 at the player's left, seat 2 on its top.
    EXPECT_EQ(dealerForm->View().NameLabel(table::kRight)->text(), QStringLiteral("Veli"));
    EXPECT_EQ(player->View().NameLabel(table::kLeft)->text(), QStringLiteral("Ali"));
    EXPECT_EQ(player->View().NameLabel(table::kTop)->text(), QStringLiteral("Acemi2"));
    EXPECT_EQ(player->View().NameLabel(table::kBottom)->text(), QStringLiteral("Veli"));
    EXPECT_TRUE(player->View().CardSlot(table::kBottom, 0)->isVisible());

    // A few moves, each made by whichever human window is due; the records stay equal.
    const std::vector<TMainForm*> humans{dealerForm.get(), player.get()};
    for (int move = 0; move < 10; ++move)
        ASSERT_TRUE(HumanMove(humans)) << "move " << move;
    // Play runs clockwise from the next record on.
    dealerForm->Menus().Clockwise->trigger();
    player->Menus().Clockwise->trigger();
    ASSERT_TRUE(HumanMove(humans));
    EXPECT_EQ(dealerForm->View().NameLabel(table::kLeft)->text(), QStringLiteral("Veli"));
    EXPECT_EQ(player->View().NameLabel(table::kRight)->text(), QStringLiteral("Ali"));
    EXPECT_EQ(player->View().NameLabel(table::kLeft)->text(), QStringLiteral("Acemi1"));

    // Chat: the line comes back to both windows, the sender's included.
    dealerUser.line = QStringLiteral("merhaba çocuklar");
    dealerForm->Commands().Chat();
    EXPECT_EQ(dealerUser.lineCaptions.value(0), QStringLiteral("Ne dinonuz?"));
    ASSERT_TRUE(WaitFor([&] { return !player->View().Messages().isEmpty(); }));
    playerUser.line.reset(); // a cancelled box sends nothing
    player->Commands().Chat();
    playerUser.line = QString(); // an empty line sends the name and "> "
    player->Commands().Chat();
    // (A short hand may have ended meanwhile: its summary line comes first.)
    const QString both = QStringLiteral("Ali> merhaba çocuklar\nVeli>");
    ASSERT_TRUE(WaitFor([&] { return dealerForm->View().Messages().endsWith(both) && player->View().Messages().endsWith(both); }))
        << dealerForm->View().Messages().toStdString() << " | " << player->View().Messages().toStdString();

    // Save, play on, load: every player has the saved state again.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kayit.rvo"));
    const TGameInfo saved = DealerRecord(); // what "Kaydet" writes: the whole game
    dealerUser.saveName = path;
    dealerForm->Menus().Save->trigger();
    EXPECT_EQ(QFileInfo(path).size(), 440);
    for (int move = 0; move < 3; ++move)
        ASSERT_TRUE(HumanMove(humans));
    ASSERT_FALSE(SameRecord(DealerRecord(), saved));
    dealerUser.openName = path;
    dealerForm->Menus().Load->trigger();
    // The hands are private, so the hand in progress is dealt again; all else is as saved.
    const auto asSaved = [&saved](TGameInfo g) {
        std::memcpy(g.CardValue, saved.CardValue, sizeof g.CardValue + sizeof g.CardSuit);
        return SameRecord(g, saved);
    };
    ASSERT_TRUE(WaitFor([&] { return asSaved(DealerRecord()) && Sees(*player, DealerRecord()) &&
                                     Sees(*dealerForm, DealerRecord()); }));
    EXPECT_TRUE(dealerUser.notices.isEmpty()) << dealerUser.notices.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(playerUser.notices.isEmpty()) << playerUser.notices.join(QLatin1Char('\n')).toStdString();
}

TEST_F(NetworkGameTest, DealerOnATakenPortDoesNotJoinTheOtherTable)
{
    QTcpServer other;
    ASSERT_TRUE(other.listen(QHostAddress::Any, 0));
    dealerForm->SetGamePort(other.serverPort());
    dealerForm->StartAsDealer(QStringLiteral("Ali"));
    Settle(300);
    EXPECT_FALSE(dealerForm->Dealer()->Listening());
    EXPECT_FALSE(other.hasPendingConnections());
    EXPECT_EQ(dealerSent.Count(JOIN_REQUEST), 0);
    EXPECT_TRUE(dealerForm->StatusText().startsWith(
        QStringLiteral("Dağıtıcı başlatılamadı! %1 numaralı port kullanımda").arg(other.serverPort())));

    // Another port chosen in "Ayarlar" (a bad answer changes nothing): the next start deals
    // there, and a player joins with "host:port".
    dealerForm->SetGamePort(kGamePort);
    dealerUser.line = QStringLiteral("70000");
    dealerForm->Menus().DealerPort->trigger();
    EXPECT_EQ(ReadRegInteger(kRegKey, kRegDealerPort, 0), 0);
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 free = probe.serverPort();
    probe.close();
    dealerUser.line = QString::number(free);
    dealerForm->Menus().DealerPort->trigger();
    dealerForm->StartAsDealer(QStringLiteral("Ali"));
    ASSERT_TRUE(dealerForm->Dealer()->Listening());
    EXPECT_EQ(dealerForm->Dealer()->Port(), free);
    ASSERT_TRUE(WaitFor([&] { return dealerForm->Session().MySeat == 0; }));
    TScriptedUser playerUser;
    auto player = MakeForm(playerUser);
    player->StartAsPlayer(QStringLiteral("Veli"), QStringLiteral("127.0.0.1:%1").arg(free));
    ASSERT_TRUE(WaitFor([&] { return player->Session().MySeat == 1; }));
}

TEST_F(NetworkGameTest, DroppedPlayerGoesBackToItsSeatByItselfUnlessStopped)
{
    dealerForm->Menus().Quick->trigger();
    dealerForm->StartAsDealer(QStringLiteral("Ali"));
    ASSERT_TRUE(WaitFor([&] { return dealerForm->Session().MySeat == 0; }));
    TScriptedUser playerUser;
    auto player = MakeForm(playerUser);
    player->SetGamePort(dealerForm->Dealer()->Port());
    player->StartAsPlayer(QStringLiteral("Veli"), QStringLiteral("127.0.0.1"));
    ASSERT_TRUE(WaitFor([&] { return player->Session().MySeat == 1; }));
    dealerForm->Menus().Start->trigger();
    ASSERT_TRUE(WaitFor([&] { return WaitsForHuman(2) &&
                                       Sees(*player, DealerRecord()); }));

    // The connection breaks under the program: the status line counts down to the next
    // attempt, and the program takes its seat back by itself, with the game as it stands.
    const auto breakConnection = [&] { player->Link().Socket().Socket()->abort(); };
    const auto reconnecting = [&] { return player->Menus().StopReconnecting->isEnabled(); };
    breakConnection();
    ASSERT_TRUE(WaitFor(reconnecting));
    EXPECT_EQ(player->StatusText(), QStringLiteral("Bağlantı koptu, yeniden bağlanılıyor (1 sn)..."));
    ASSERT_TRUE(WaitFor([&] { return player->Session().MySeat == 1 && Sees(*player, DealerRecord()); }));
    EXPECT_FALSE(player->Menus().StopReconnecting->isEnabled());
    EXPECT_TRUE(playerUser.questions.isEmpty());
    ASSERT_TRUE(WaitFor([&] { return dealerForm->View().Messages().contains(QStringLiteral("Veli oyuna geri döndü.")); }));
    EXPECT_TRUE(dealerForm->View().Messages().contains(QStringLiteral("Veli bağlantısı koptu, yerine bilgisayar oynuyor.")));
    // Once the record is in, the names stand in their places again.
    EXPECT_TRUE(WaitFor([&] {
        return player->View().NameLabel(table::kBottom)->text() == QStringLiteral("Veli") &&
               player->View().NameLabel(table::kLeft)->text() == QStringLiteral("Ali");
    }));

    // Connecting anew from the menu in the middle of the game asks first (Yes here).
    player->Menus().Reconnect->trigger();
    ASSERT_TRUE(WaitFor([&] { return player->Session().MySeat == 1; }));
    ASSERT_EQ(playerUser.questions.size(), 1);
    EXPECT_TRUE(playerUser.questions[0].contains(QStringLiteral("yerine bilgisayar oynar")));

    // Broken again, the user stops the attempts before the first one.
    breakConnection();
    ASSERT_TRUE(WaitFor(reconnecting));
    player->Menus().StopReconnecting->trigger();
    EXPECT_EQ(player->StatusText(), QStringLiteral("Yeniden bağlanma durduruldu."));
    Settle(1500);
    EXPECT_FALSE(player->Session().Active());
    EXPECT_EQ(player->Session().MySeat, kNoSeat);
    EXPECT_TRUE(playerUser.notices.isEmpty()) << playerUser.notices.join(QLatin1Char('\n')).toStdString();
}

TEST_F(NetworkGameTest, WaitingForNewPlayersKeepsTheDealersSeatAndStartsAgain)
{
    dealerForm->Menus().Quick->trigger();
    dealerForm->StartAsDealer(QStringLiteral("Ali"));
    ASSERT_TRUE(WaitFor([&] { return dealerForm->Session().MySeat == 0; }));
    TScriptedUser veliUser, ayseUser;
    auto veli = MakeForm(veliUser);
    veli->SetGamePort(dealerForm->Dealer()->Port());
    veli->StartAsPlayer(QStringLiteral("Veli"), QStringLiteral("127.0.0.1"));
    ASSERT_TRUE(WaitFor([&] { return veli->Session().MySeat == 1; }));
    dealerForm->Menus().Start->trigger();
    ASSERT_TRUE(WaitFor([&] { return dealerUser.questions.size() == 1 && DealerRecord().Phase != psWaiting; }));

    veliUser.answers = {false}; // Veli does not join again once his connection is closed
    dealerForm->Menus().WaitForPlayers->trigger();
    ASSERT_TRUE(WaitFor([&] { return dealerForm->StatusText().contains(QStringLiteral("3 kişi bekleniyor")); }))
        << dealerForm->StatusText().toStdString();
    EXPECT_EQ(dealerForm->Session().MySeat, 0);
    ASSERT_TRUE(WaitFor([&] { return !veli->Session().Active(); }));
    EXPECT_EQ(dealerUser.questions.size(), 1); // the freed seats complete nothing

    // The next player takes seat 1, and F2 completes a new table with its question.
    auto ayse = MakeForm(ayseUser);
    ayse->SetGamePort(dealerForm->Dealer()->Port());
    ayse->StartAsPlayer(QStringLiteral("Ayşe"), QStringLiteral("127.0.0.1"));
    ASSERT_TRUE(WaitFor([&] { return ayse->Session().MySeat == 1; }));
    dealerForm->Menus().Start->trigger();
    ASSERT_TRUE(WaitFor([&] { return dealerUser.questions.size() == 2; }));
    // A new game is dealt and reaches the dealer's window.
    ASSERT_TRUE(WaitFor([&] { return dealerForm->Session().Record().CardCount[0] > 0; }));
    EXPECT_EQ(dealerForm->View().NameLabel(table::kBottom)->text(), QStringLiteral("Ali"));
}

TEST_F(NetworkGameTest, TheHostOfAHeadlessDealerStartsSavesAndLoadsFromTheWindow)
{
    // A dealer without a window, as zorbela-dealer runs one, keeping its games in a folder.
    QTemporaryDir games;
    TDealerOptions options = dealerOptions;
    options.Port = 0;
    options.Quick = true;
    options.GamesFolder = games.path();
    TDealerThread dealer(options);
    ASSERT_TRUE(dealer.Listening());

    TScriptedUser hostUser;
    auto host = MakeForm(hostUser);
    host->Menus().Quick->trigger();
    host->SetGamePort(dealer.Port());
    host->StartAsPlayer(QStringLiteral("Ali"), QStringLiteral("127.0.0.1"));
    ASSERT_TRUE(WaitFor([&] { return host->Session().MySeat == 0; }));
    EXPECT_TRUE(host->Session().IsHost());
    EXPECT_TRUE(host->Session().PrivateHands());
    EXPECT_TRUE(host->Menus().Game->isEnabled());

    // F2 fills the table, the table-complete question deals a game.
    host->Menus().Start->trigger();
    ASSERT_TRUE(WaitFor([&] { return hostUser.questions.size() == 1 && host->Session().Record().CardCount[0] > 0; }));
    ASSERT_TRUE(WaitFor([&] { return Sees(*host, dealer.GameInfo()); }));

    // "Kaydet" names the game; the dealer keeps the whole record, not the host's view.
    const TGameInfo saved = dealer.GameInfo();
    hostUser.line = QStringLiteral("Akşam oyunu");
    host->Menus().Save->trigger();
    ASSERT_TRUE(WaitFor([&] { return hostUser.notices.contains(QStringLiteral("Oyun kaydedildi: Akşam oyunu")); }));
    TGameInfo onDisk{};
    ASSERT_TRUE(ReadGameFile(games.filePath(QStringLiteral("Akşam oyunu.rvo")), onDisk));
    EXPECT_TRUE(SameRecord(onDisk, saved));

    // The game moves on; "Yükle" lists the dealer's games and brings the chosen one back.
    for (int move = 0; move < 3; ++move) {
        const TGameInfo before = dealer.GameInfo();
        // The host acts on its own copy, once that copy has arrived.
        if ((before.Phase == psChoosing && before.Chooser == 0) || (before.Phase == psPlaying && before.Turn == 0)) {
            ASSERT_TRUE(WaitFor([&] { return Sees(*host, before); }));
            host->ComputerForMe().PlayOnce();
        }
        ASSERT_TRUE(WaitFor([&] { return !SameRecord(dealer.GameInfo(), before); }));
    }
    TGameInfo loaded{};
    int loads = 0;
    QObject::connect(&dealer.Table(), &TTable::Event, &dealer.Table(), [&](const QString& line) {
        if (line.startsWith(QStringLiteral("game loaded")))
            ++loads, loaded = dealer.GameInfo();
    });
    hostUser.choice = QStringLiteral("Akşam oyunu");
    host->Menus().Load->trigger();
    ASSERT_TRUE(WaitFor([&] { return loads == 1; }));
    EXPECT_EQ(hostUser.choices, QStringList{QStringLiteral("Akşam oyunu")});
    EXPECT_TRUE(SameRecord(loaded, saved));
    EXPECT_FALSE(hostUser.notices.contains(QStringLiteral("Dosya açılamıyor!")));
}
