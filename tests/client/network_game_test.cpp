// Main windows and the program's own dealer over loopback TCP: its port, its saved games
// restored for everyone, a dropped player's way back, and waiting for new players.
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
#include "tcplink.h"
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

TEST_F(NetworkGameTest, TheOwnDealersWholeGameIsSavedToAFileAndLoadedForEveryone)
{
    dealerForm->StartAsDealer(QStringLiteral("Ali"));
    ASSERT_TRUE(WaitFor([&] { return dealerForm->Session().MySeat == 0; }));
    TScriptedUser playerUser;
    auto player = MakeForm(playerUser);
    player->SetGamePort(dealerForm->Dealer()->Port());
    player->StartAsPlayer(QStringLiteral("Veli"), QStringLiteral("127.0.0.1"));
    ASSERT_TRUE(WaitFor([&] { return player->Session().MySeat == 1; }));
    dealerForm->Menus().Start->trigger();
    const std::vector<TMainForm*> humans{dealerForm.get(), player.get()};
    ASSERT_TRUE(WaitFor([&] { return WaitsForHuman(2) && Sees(*player, DealerRecord()) &&
                                       Sees(*dealerForm, DealerRecord()); }));

    // Save, play on, load: every player has the saved state again.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kayit.rvo"));
    const TGameInfo saved = DealerRecord(); // what "Kaydet" writes: the whole game
    dealerUser.saveName = path;
    dealerForm->Menus().Save->trigger();
    Answered();
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
    Answered();
    EXPECT_EQ(ReadRegInteger(kRegKey, kRegDealerPort, 0), 0);
    const quint16 free = ListenablePort();
    ASSERT_NE(free, 0);
    dealerUser.line = QString::number(free);
    dealerForm->Menus().DealerPort->trigger();
    Answered();
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
    const auto breakConnection = [&] { dynamic_cast<TTcpLink&>(player->Link()).Socket().Socket()->abort(); };
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
    Answered();
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

