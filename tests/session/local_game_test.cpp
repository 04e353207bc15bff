// Two players on sessions at a table in process, on its manual clock: they join, the host
// fills the table and starts, both play every move due to them through the move rule, and
// a whole game runs to its end with every record, trick message and chat line arriving.
#include <gtest/gtest.h>

#include <memory>

#include "computerplayer.h"
#include "locallink.h"
#include "session_test_util.h"

using namespace session_test;

namespace {

// A session on an in-process link that answers every record with its own move, as the
// computer would choose it for the user.
struct TPlayer {
    TLocalLink Link;
    TSession Session{Link};
    TRandom Random;
    TComputerPlayer Computer;
    int Records = 0, FullTricks = 0, Takers = 0, Clears = 0, Refused = 0;
    QStringList Chat, Names;

    TPlayer(TLocalTable& table, const QString& name, uint32_t seed) : Link(table), Random(seed)
    {
        Session.UserName = name;
        QObject::connect(&Session, &TSession::recordChanged, [this] { Play(); });
        QObject::connect(&Session, &TSession::trickTaker, [this](int) { ++Takers; });
        QObject::connect(&Session, &TSession::trickClear, [this] { ++Clears; });
        QObject::connect(&Session, &TSession::chat, [this](const QString& t) { Chat << t; });
        QObject::connect(&Session, &TSession::seatName, [this](int, const QString& n) { Names << n; });
    }
    void Play()
    {
        ++Records;
        const TGameInfo& g = Session.Record();
        FullTricks += g.Phase == psTrickComplete;
        const TMove move = ComputerChoice(Computer, Session.MySeat, g, Random);
        if (move.Kind == TMove::TKind::None)
            return;
        if (CheckMove(g, Session.MySeat, move) != TRefusal::None)
            ++Refused;
        else if (move.Kind == TMove::TKind::Card)
            Session.SendCardPlay(move.Suit, move.Value);
        else
            Session.SendContractChoice(move.Contract);
    }
};

} // namespace

TEST(LocalSession, TwoPlayersAndTwoComputersPlayAWholeGame)
{
    TRandom deal(77);
    TTableOptions options;
    options.Quick = true;
    options.Random = &deal;
    options.OpenHands = true;
    TLocalTable table(options);
    TPlayer host(table, QStringLiteral("Ayşe"), 1), guest(table, QStringLiteral("Veli"), 2);

    host.Session.Open();
    ASSERT_TRUE(table.RunUntil([&] { return host.Session.Seated(); }));
    guest.Session.Open();
    ASSERT_TRUE(table.RunUntil([&] { return guest.Session.Seated(); }));
    EXPECT_EQ(host.Session.MySeat, 0);
    EXPECT_EQ(guest.Session.MySeat, 1);
    EXPECT_TRUE(host.Session.IsHost());
    EXPECT_FALSE(guest.Session.IsHost());

    // A player that goes away while the table's messages to it still wait in the queue is
    // sent nothing more, and its seat is free again.
    {
        TPlayer leaving(table, QStringLiteral("Can"), 4);
        leaving.Session.Open();
        ASSERT_TRUE(table.RunUntil([&] { return leaving.Session.Seated(); }));
        host.Session.SendChatLine(QStringLiteral("hoş geldin"));
        ASSERT_TRUE(table.RunUntil([&] { return !host.Chat.isEmpty(); }));
    }
    table.RunFor(100);
    EXPECT_EQ(guest.Chat, QStringList{QStringLiteral("Ayşe> hoş geldin")});
    host.Chat.clear();
    guest.Chat.clear();
    guest.Names.clear();

    host.Session.SendStartNow();
    ASSERT_TRUE(table.RunUntil([&] { return guest.Session.NamedSeat == kSeatCount - 1; }));
    EXPECT_EQ(guest.Names.mid(guest.Names.size() - 2), (QStringList{QStringLiteral("Acemi1"), QStringLiteral("Acemi2")}));

    // A latecomer finds the table full and is sent away.
    TPlayer late(table, QStringLiteral("Can"), 3);
    bool full = false, dropped = false;
    QObject::connect(&late.Session, &TSession::tableFull, [&] { full = true; });
    QObject::connect(&late.Session, &TSession::disconnected, [&] { dropped = true; });
    late.Session.Open();
    ASSERT_TRUE(table.RunUntil([&] { return dropped; }));
    EXPECT_TRUE(full);
    EXPECT_FALSE(late.Session.Active());

    host.Session.SendNewGame();
    guest.Session.SendChatLine(QStringLiteral("iyi oyunlar"));
    ASSERT_TRUE(table.RunUntil([&] { return host.Session.Record().Phase == psGameOver; }, 3'600'000));
    table.RunFor(1000);

    for (TPlayer* p : {&host, &guest}) {
        EXPECT_TRUE(SameRecord(p->Session.Record(), table.LastHand()));
        EXPECT_EQ(p->Refused, 0);
        EXPECT_GT(p->FullTricks, 20 * 4);
        EXPECT_EQ(p->Takers, p->FullTricks); // one taker and one clearing per full trick
        EXPECT_EQ(p->Clears, p->FullTricks);
        EXPECT_EQ(p->Chat, QStringList{QStringLiteral("Veli> iyi oyunlar")});
    }
    EXPECT_EQ(host.Records, guest.Records);
    EXPECT_EQ(ContractsPlayed(table.LastHand()), 20);
}
