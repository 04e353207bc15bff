// Seats and connections: what each player receives when players join, when
// the dealer's user fills the table, when the table is full and when a player leaves.
#include "dealer_test_util.h"
#include "notify.h"

namespace {

using Joining = TTableFixture;
using JoiningOverTcp = TDealerFixture;

TEST_F(JoiningOverTcp, FirstSecondAndLaterJoinsSendTheirMessagesInOrder)
{
    StartDealer();
    TTestPlayer& own = Join("Ayşe");
    EXPECT_EQ(own.Lines(), QStringList({"SEAT_NAME 0 Ayşe", StatusLine(3), AcceptedLine(0)}));
    own.Received.clear();

    TTestPlayer& second = Join("Ömer");
    ASSERT_TRUE(own.WaitCount(STATUS_TEXT, 1) && second.WaitCount(SEAT_NAME, 2));
    EXPECT_EQ(own.Lines(), QStringList({"SEAT_NAME 1 Ömer", StatusLine(2)}));
    EXPECT_EQ(second.Lines(), QStringList({"SEAT_NAME 1 Ömer", AcceptedLine(1), "SEAT_NAME 0 Ayşe"}));
    own.Received.clear();
    second.Received.clear();

    TTestPlayer& third = Join("Çiğdem");
    ASSERT_TRUE(third.WaitCount(SEAT_NAME, 3) && own.WaitCount(STATUS_TEXT, 1) && second.WaitCount(SEAT_NAME, 1));
    EXPECT_EQ(own.Lines(), QStringList({"SEAT_NAME 2 Çiğdem", StatusLine(1)}));
    EXPECT_EQ(second.Lines(), QStringList({"SEAT_NAME 2 Çiğdem"}));
    EXPECT_EQ(third.Lines(),
              QStringList({"SEAT_NAME 2 Çiğdem", AcceptedLine(2), "SEAT_NAME 0 Ayşe", "SEAT_NAME 1 Ömer"}));

    Join("Ali");
    ASSERT_TRUE(own.WaitCount(STATUS_TEXT, 2));
    EXPECT_EQ(own.Lines().last(), StatusLine(0));
    EXPECT_EQ(dealer->SeatCount(), 4);
    EXPECT_STREQ(dealer->GameInfo().PlayerName[3], "Ali");
    Settle(); // nothing of the game before a game starts
    EXPECT_EQ(own.Count(GAME_RECORD), 0);
}

TEST_F(Joining, RepeatedAndOverlongNamesAreMadeUniqueWithinTheNameField)
{
    StartDealer();
    TTestPlayer& own = Join("Ali");
    Join("Ali");
    TTestPlayer& third = Join("Ali");
    ASSERT_TRUE(own.WaitLine("SEAT_NAME 2 AliXX"));
    EXPECT_TRUE(own.Has("SEAT_NAME 1 AliX"));
    EXPECT_EQ(third.Lines(), QStringList({"SEAT_NAME 2 AliXX", AcceptedLine(2), "SEAT_NAME 0 Ali", "SEAT_NAME 1 AliX"}));

    const QString cut(29, QLatin1Char('k'));
    StartDealer(); // names are cut to 29 bytes, then made unique without growing past them
    Join(cut + "kkkkk");
    TTestPlayer& twin = Join(cut);
    EXPECT_EQ(QString::fromLatin1(dealer->GameInfo().PlayerName[0]), cut);
    EXPECT_EQ(QString::fromLatin1(dealer->GameInfo().PlayerName[1]), cut.left(28) + "X");
    EXPECT_TRUE(twin.Has("SEAT_NAME 1 " + cut.left(28) + "X"));

    // No player looks like a free seat or a computer seat.
    StartDealer();
    for (const char* name : {"", "Acemi1", "Usta3"})
        Join(name);
    P(0).StartNow();
    ASSERT_TRUE(P(2).WaitLine("SEAT_NAME 3 Acemi1"));
    EXPECT_EQ(P(2).Lines().mid(0, 4), QStringList({"SEAT_NAME 2 Usta3X", AcceptedLine(2), "SEAT_NAME 0 X", "SEAT_NAME 1 Acemi1X"}));
}

TEST_F(Joining, StartNowFillsTheFreeSeatsWithComputersOnce)
{
    StartDealer();
    TTestPlayer& alone = Join("Ayşe");
    alone.Received.clear();
    alone.StartNow();
    ASSERT_TRUE(alone.Sync());
    EXPECT_EQ(alone.Lines(), QStringList({"SEAT_NAME 1 Acemi1", "SEAT_NAME 2 Acemi2", "SEAT_NAME 3 Acemi3",
                                          "CHAT_TEXT Ayşe> sync"}));
    EXPECT_EQ(dealer->ComputerCount(), 3);

    StartDealer();
    TTestPlayer& own = Join("Ayşe");
    TTestPlayer& second = Join("Ömer");
    ASSERT_TRUE(own.WaitCount(STATUS_TEXT, 2));
    own.Received.clear();
    second.Received.clear();
    own.StartNow();
    own.StartNow(); // the table is full: nothing more
    ASSERT_TRUE(own.Sync() && second.WaitChat("sync"));
    const QStringList expected({"SEAT_NAME 2 Acemi1", "SEAT_NAME 3 Acemi2", "CHAT_TEXT Ayşe> sync"});
    EXPECT_EQ(own.Lines(), expected);
    EXPECT_EQ(second.Lines(), expected);
    EXPECT_EQ(dealer->SeatCount(), 4);
    EXPECT_EQ(dealer->ComputerCount(), 2);
    EXPECT_EQ(dealer->Seats()[3].Kind, SeatEntry::Computer);
}

TEST_F(Joining, AFifthConnectionIsToldTheTableIsFullAndClosed)
{
    StartDealer();
    for (const char* name : {"A", "B", "C", "D"})
        Join(name);
    const TGameInfo before = dealer->GameInfo();
    TTestPlayer& fifth = Join("E", false);
    fifth.JoinAs("E");
    ASSERT_TRUE(WaitFor([&] { return fifth.Disconnected; }));
    EXPECT_EQ(fifth.Lines(), QStringList({"TABLE_FULL"}));
    EXPECT_EQ(dealer->Seats().size(), 4);
    EXPECT_TRUE(SameRecord(dealer->GameInfo(), before));
    EXPECT_EQ(P(0).Count(SEAT_NAME), 4);
}

TEST_F(Joining, UnknownTypesAreReportedAndStrayMessagesDropped)
{
    StartDealer();
    TTestPlayer& own = Join("Ayşe");
    TLocalPlayer& stranger = Join("x", false); // connected, never joined
    const TGameInfo before = dealer->GameInfo();
    own.SendRaw(TPacketType(20), "xyz");
    own.SendRaw(TRICK_CLEAR);
    own.JoinAs("Again");                          // holds a seat already
    own.SendRaw(JOIN_REQUEST, QByteArray::fromHex("050000004162")); // 5 bytes announced, 2 sent
    stranger.Chat("x> not seated");
    ASSERT_TRUE(local->Open(stranger.Id));
    own.Chat("Ayşe> Selam, nasılsınız?");
    ASSERT_TRUE(own.WaitLine("CHAT_TEXT Ayşe> Selam, nasılsınız?"));
    Settle(150);
    EXPECT_EQ(local->Notices(), QStringList(2, "Dealer: Bilinmeyen bir paket alındı"));
    EXPECT_TRUE(SameRecord(dealer->GameInfo(), before));
    EXPECT_EQ(dealer->SeatCount(), 1);
    EXPECT_EQ(own.Lines().size(), 4); // its own three joining messages and the chat
    EXPECT_TRUE(stranger.Received.empty());

    // Every line carries its sender's seat name: nobody speaks as another player.
    TTestPlayer& twin = Join("Ayşe");
    twin.Chat("Ayşe> ben Ayşe'yim");
    twin.Chat("Oyun bitti, Ayşe kazandı");
    ASSERT_TRUE(own.WaitLine("CHAT_TEXT AyşeX> Oyun bitti, Ayşe kazandı"));
    EXPECT_TRUE(own.Has("CHAT_TEXT AyşeX> ben Ayşe'yim"));
}

TEST_F(JoiningOverTcp, UnknownMessagesOfSeatsAreShownOnceAndAStrangersOnlyLogged)
{
    // The program's notifier returns at once, so messages that arrive together are each
    // handed over and none is held back; a connection without a seat cannot open boxes on
    // the dealer's screen.
    std::vector<std::string> notices;
    struct TReset {
        ~TReset() { SetNotifier({}); }
    } reset;
    SetNotifier([&](const std::string& text, int) { notices.push_back(text); });
    StartDealer();
    TTestPlayer& own = Join("Ayşe");
    TTestPlayer& stranger = Join("x", false);
    own.SendRaw(TPacketType(20));
    stranger.SendRaw(TPacketType(21));
    own.SendRaw(TPacketType(22));
    ASSERT_TRUE(own.Sync());
    ASSERT_TRUE(WaitFor([&] { return notices.size() >= 2; }));
    Settle(100);
    EXPECT_EQ(notices, std::vector<std::string>(2, "Dealer: Bilinmeyen bir paket alındı"));
    EXPECT_EQ(EventCount("unknown message type"), 3);
}

TEST_F(Joining, APlayerWhoLeavesBeforeTheGameFreesTheSeatForTheNextJoiner)
{
    StartDealer();
    TTestPlayer& own = Join("Ayşe");
    TTestPlayer& leaving = Join("Ömer");
    TTestPlayer& third = Join("Çiğdem");
    own.Received.clear();
    third.Received.clear();
    leaving.Close();
    ASSERT_TRUE(own.WaitCount(STATUS_TEXT, 1) && third.WaitCount(SEAT_NAME, 1));
    EXPECT_EQ(own.Lines(), QStringList({"SEAT_NAME 1 ", StatusLine(2)}));
    EXPECT_EQ(third.Lines(), QStringList({"SEAT_NAME 1 "}));
    EXPECT_EQ(dealer->SeatCount(), 2);
    EXPECT_EQ(dealer->GameInfo().PlayerName[1][0], '\0');
    leaving.Received.clear();

    // The freed seat and its name go to the next player; the table then completes.
    TTestPlayer& back = Join("Ömer");
    EXPECT_EQ(back.Lines(), QStringList({"SEAT_NAME 1 Ömer", AcceptedLine(1), "SEAT_NAME 0 Ayşe", "SEAT_NAME 2 Çiğdem"}));
    ASSERT_TRUE(own.WaitLine(StatusLine(1)));
    own.StartNow();
    ASSERT_TRUE(third.WaitLine("SEAT_NAME 3 Acemi1"));
    own.NewGame();
    for (TTestPlayer* p : {&own, &back, &third})
        ASSERT_TRUE(p->WaitCount(GAME_RECORD, 1));
    EXPECT_TRUE(SameRecord(back.LastRecord(), dealer->GameInfo()));
    EXPECT_TRUE(leaving.Received.empty());

    // Seat 0 freed: the next player takes it, and with it the commands of the dealer's user.
    StartDealer();
    Join("Ayşe");
    TTestPlayer& second = Join("Ömer");
    P(0).Close();
    ASSERT_TRUE(second.WaitLine("SEAT_NAME 0 "));
    TTestPlayer& next = Join("Zeynep");
    EXPECT_EQ(next.Lines(), QStringList({"SEAT_NAME 0 Zeynep", StatusLine(2), AcceptedLine(0), "SEAT_NAME 1 Ömer"}));
    next.StartNow();
    ASSERT_TRUE(second.WaitLine("SEAT_NAME 3 Acemi2"));
    EXPECT_EQ(dealer->ComputerCount(), 2);
}

} // namespace
