// Two programs at a server of many tables over loopback: one creates a table from the
// "Masalar" window, the other joins it from the list with a double click, a third watches,
// two computers fill the other seats and the game is played to its end with the turn clock
// counting.
#include <gtest/gtest.h>

#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <cstring>
#include <map>
#include <vector>
#include <memory>

#include "client_test_util.h"
#include "mainform.h"
#include "move.h"
#include "seatmodel.h"
#include "servertables.h"
#include "tableserver.h"
#include "tablesform.h"
#include "tableview.h"

namespace {

std::unique_ptr<TMainForm> Program(TScriptedUser& user, const QString& name, quint16 port)
{
    auto form = std::make_unique<TMainForm>();
    form->SetPrompts(&user);
    form->SetAutoStart(false);
    form->FirstActivation();
    form->StartAsPlayer(name, QStringLiteral("127.0.0.1:%1").arg(port));
    return form;
}

QTreeWidgetItem* Row(const TTablesForm& form, const QByteArray& code)
{
    for (int i = 0; i < form.List()->topLevelItemCount(); ++i)
        if (form.List()->topLevelItem(i)->text(5) == QString::fromLatin1(code))
            return form.List()->topLevelItem(i);
    return nullptr;
}

// The user's move, as a click makes it: the first card or contract the rules allow.
void UserMoves(TMainForm& f)
{
    const TGameInfo& g = f.Session().Record();
    const int seat = f.Session().MySeat;
    for (uint8_t c = 0; c < 10 && f.Model().ContractDue(); ++c)
        if (CheckMove(g, seat, TMove::ChooseContract(c)) == TRefusal::None)
            return f.Model().ChooseContract(c);
    for (int i = 0; i < g.CardCount[seat] && f.Model().CardDue(); ++i)
        if (f.Model().MayPlay(g.CardSuit[seat][i], g.CardValue[seat][i]))
            return f.Model().PlayCard(g.CardSuit[seat][i], g.CardValue[seat][i]);
}

} // namespace

TEST(ServerTables, TwoProgramsAndTwoComputersPlayAWholeGameAtATableMadeInMasalar)
{
    ClearSettings();
    TTableServerOptions options;
    options.Port = 0;
    options.Threads = 1;
    options.House.Table.Quick = true;
    options.House.Table.TrickResolveExtraMs = 0;
    options.MaxDataFrames = 0;
    TTableServer server(options);
    ASSERT_TRUE(server.Listening());

    // The list comes before any seat: the server's default table is all there is.
    TScriptedUser hostUser, guestUser;
    auto host = Program(hostUser, QStringLiteral("Ali"), server.Port());
    TTablesForm& hostTables = *host->ServerTables().Form();
    ASSERT_TRUE(WaitFor([&] { return hostTables.isVisible() && hostTables.List()->topLevelItemCount() == 1; }));
    EXPECT_FALSE(host->Session().Seated());
    EXPECT_EQ(hostTables.List()->topLevelItem(0)->text(0), QStringLiteral("Genel (genel)"));
    EXPECT_TRUE(host->ServerTables().TablesAction()->isEnabled());
    EXPECT_FALSE(host->ServerTables().Lock()->isEnabled());

    // A new table: its creator sits at it as its host.
    hostTables.NameEdit()->setText(QStringLiteral("Çay ocağı"));
    QTest::mouseClick(hostTables.CreateButton(), Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return host->Session().Seated(); }));
    const QByteArray code = host->Session().AtTable();
    EXPECT_TRUE(IsTableCode(code));
    EXPECT_TRUE(host->Session().IsHost());
    EXPECT_FALSE(hostTables.isVisible());
    EXPECT_TRUE(host->ServerTables().Lock()->isEnabled());

    // The second program finds it in the list, with its creator and its clock.
    auto guest = Program(guestUser, QStringLiteral("Veli"), server.Port());
    TTablesForm& guestTables = *guest->ServerTables().Form();
    // The server makes its list at most once a second: "Yenile" until the new table is in it.
    QElapsedTimer refreshed;
    refreshed.start();
    ASSERT_TRUE(WaitFor([&] {
        if (Row(guestTables, code) || !guestTables.isVisible() || refreshed.elapsed() < 300)
            return Row(guestTables, code) != nullptr;
        refreshed.restart();
        QTest::mouseClick(guestTables.RefreshButton(), Qt::LeftButton);
        return false;
    }));
    QTreeWidgetItem* row = Row(guestTables, code);
    EXPECT_EQ(row->text(0), QStringLiteral("Çay ocağı"));
    EXPECT_EQ(row->text(1), QStringLiteral("Ali (3 boş yer)"));
    EXPECT_EQ(row->text(3), QStringLiteral("30 sn / 45 sn"));
    const QRect place = guestTables.List()->visualItemRect(row);
    QTest::mouseClick(guestTables.List()->viewport(), Qt::LeftButton, {}, place.center());
    QTest::mouseDClick(guestTables.List()->viewport(), Qt::LeftButton, {}, place.center());
    ASSERT_TRUE(WaitFor([&] { return guest->Session().Seated(); }));
    EXPECT_EQ(guest->Session().MySeat, 1);
    EXPECT_EQ(guest->Session().AtTable(), code);
    EXPECT_FALSE(guest->ServerTables().Lock()->isEnabled()); // only the host acts

    // The host locks the table and shortens the clock from its menu; everyone is told.
    host->ServerTables().Lock()->trigger();
    EXPECT_TRUE(WaitFor([&] { return guest->View().Messages().contains(QStringLiteral("Masa kilitlendi")); }));
    hostUser.choice = QStringLiteral("Kağıt 15 sn, oyun seçimi 30 sn");
    host->ServerTables().TurnClock()->trigger();
    EXPECT_TRUE(WaitFor([&] {
        return guest->View().Messages().contains(QStringLiteral("Hamle süresi: kağıt için 15 sn, oyun seçmek için 30 sn."));
    }));

    // The countdown stands beside the awaited seat whenever the clock is told.
    int countdowns = 0, misplaced = 0, longest = 0;
    QObject::connect(&guest->Session(), &TSession::turnTime, [&](int seat, int ms) {
        const QLabel* shown = guest->ServerTables().CountdownLabel();
        if (ms <= 0 || seat == kNoSeat)
            return;
        ++countdowns;
        longest = std::max(longest, ms);
        const QLabel* name = guest->View().NameLabel(guest->View().RelativePosition(seat));
        if (!shown->isVisible() || shown->text() != QStringLiteral("%1 sn kaldı").arg((ms + 999) / 1000) ||
            std::abs(shown->x() - name->x()) > name->width())
            ++misplaced;
    });

    // F2: two computers; the table-complete question (Yes) deals; the users click their moves.
    host->Menus().Start->trigger();
    // A third program watches from the list.
    TScriptedUser watcherUser;
    auto watcher = Program(watcherUser, QStringLiteral("Cem"), server.Port());
    std::vector<TPacketType> watcherSent;
    QObject::connect(&watcher->Session(), &TSession::sent, [&](TPacketType t) { watcherSent.push_back(t); });
    TTablesForm& watcherTables = *watcher->ServerTables().Form();
    ASSERT_TRUE(WaitFor([&] { return watcherTables.isVisible() && Row(watcherTables, code); }));
    Row(watcherTables, code)->setSelected(true);
    QTest::mouseClick(watcherTables.WatchButton(), Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return watcher->Session().Watching(); }));
    int watcherCountdowns = 0;
    QObject::connect(&watcher->Session(), &TSession::turnTime, [&](int seat, int ms) { watcherCountdowns += seat != kNoSeat && ms > 0; });
    std::map<TMainForm*, QByteArray> asked;
    const auto over = [&] {
        return host->Session().Record().Phase == psGameOver && guest->Session().Record().Phase == psGameOver;
    };
    // Half way through, the host gives Veli's seat to the computer, which plays it to the end.
    bool given = false;
    hostUser.choice = QStringLiteral("Veli");
    ASSERT_TRUE(WaitFor(
        [&] {
            if (!given && ContractsPlayed(host->Session().Record()) >= 10 && guest->Model().Due() == TMove::TKind::None) {
                given = true;
                host->ServerTables().SeatToComputer()->trigger();
            }
            for (TMainForm* f : given ? std::vector{host.get()} : std::vector{host.get(), guest.get()}) {
                const QByteArray record(reinterpret_cast<const char*>(&f->Session().Record()), sizeof(TGameInfo));
                if (f->Model().Due() != TMove::TKind::None && asked[f] != record) {
                    asked[f] = record;
                    UserMoves(*f);
                }
            }
            return over();
        },
        120000))
        << "hands played: " << ContractsPlayed(host->Session().Record());
    EXPECT_EQ(ContractsPlayed(guest->Session().Record()), 20);
    // The watcher saw the game to its end and asked for nothing but to watch.
    ASSERT_TRUE(WaitFor([&] { return watcher->StatusText() == QStringLiteral("Oyun bitti"); }));
    EXPECT_EQ(watcherSent, (std::vector<TPacketType>{JOIN_REQUEST, WATCH_TABLE})); // the list first, then to watch
    EXPECT_FALSE(watcher->Session().Seated());
    EXPECT_EQ(std::memcmp(&host->Session().Record().Score, &guest->Session().Record().Score,
                          sizeof host->Session().Record().Score), 0);
    EXPECT_TRUE(guest->View().Messages().contains(
        QStringLiteral("Masa sahibi Veli yerine bilgisayarı oynatıyor; Veli bir şey yapınca yeniden kendisi oynar.")));
    EXPECT_GT(countdowns, 0);
    EXPECT_GT(longest, 15000); // a contract's time, as the host set it
    EXPECT_LE(longest, 30000);
    EXPECT_GT(watcherCountdowns, 0);
    // Its only notice is the end of the game (a countdown it could not read would add one).
    EXPECT_TRUE(watcherUser.notices.size() == 1 && watcherUser.notices[0].startsWith(QStringLiteral("Oyun bitti.")))
        << watcherUser.notices.join(" | ").toStdString();
    EXPECT_EQ(misplaced, 0);
    EXPECT_EQ(hostUser.questions.size(), 1);
    EXPECT_TRUE(guestUser.questions.isEmpty());

    // The list shows the game under way, with its four players.
    guest->ServerTables().TablesAction()->trigger();
    ASSERT_TRUE(WaitFor([&] { return Row(guestTables, code) && Row(guestTables, code)->text(4).startsWith(QStringLiteral("oynanıyor, kilitli")); }));
    Row(guestTables, code)->setSelected(true);
    EXPECT_FALSE(guestTables.JoinButton()->isEnabled()); // four players: nothing to join
    EXPECT_TRUE(guestTables.WatchButton()->isEnabled());

    // The host removes Veli from the table; both are told.
    host->ServerTables().RemovePlayer()->trigger();
    EXPECT_TRUE(WaitFor([&] { return guest->View().Messages().contains(QStringLiteral("Masa sahibi seni bu oyundan çıkardı.")); }));
    EXPECT_TRUE(host->View().Messages().contains(QStringLiteral("Masa sahibi Veli oyuncusunu bu oyundan çıkardı")));
    // Veli's program tries its key once, is told why it is refused, and stops trying.
    EXPECT_TRUE(WaitFor([&] { return guestUser.notices.contains(QStringLiteral("Masa sahibi seni bu oyundan çıkardı.")); }));
    EXPECT_FALSE(guestUser.notices.contains(QStringLiteral("Masada boş yer yok!")));
    EXPECT_FALSE(guest->Session().Active());
}

TEST(ServerTables, TheCountdownShowsWholeSecondsUntilTheTimeIsUp)
{
    TTurnCountdown countdown;
    countdown.Start(2, 2500, 1000);
    EXPECT_EQ(countdown.SecondsLeft(1000), 3);
    EXPECT_EQ(countdown.NextChangeMs(1000), 1500);
    EXPECT_EQ(countdown.SecondsLeft(1500), 2);
    EXPECT_EQ(countdown.SecondsLeft(3499), 1);
    EXPECT_EQ(countdown.SecondsLeft(3500), 0);
    EXPECT_EQ(countdown.NextChangeMs(3500), -1);
    countdown.Start(1, 0, 4000); // 0 ms: no clock runs
    EXPECT_FALSE(countdown.Running());
}
