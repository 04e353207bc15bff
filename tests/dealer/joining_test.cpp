// Seats and connections over loopback: what each player receives when players join, when
// the dealer's user fills the table, when the table is full, and when a player leaves.
#include "dealer_test_util.h"
#include "notify.h"

namespace {

using Joining = TDealerFixture;

TEST_F(Joining, FirstSecondAndLaterJoinsSendTheirMessagesInOrder)
{
    StartDealer();
    TTestPlayer& own = Join("Ayşe");
    EXPECT_EQ(own.Lines(), QStringList({"SEAT_NAME 0 Ayşe", StatusLine(3), AcceptedLine(0)}));
    own.Received.clear();

    TTestPlayer& second = Join("Ömer");
    ASSERT_TRUE(own.WaitCount(STATUS_TEXT, 1));
    ASSERT_TRUE(second.WaitCount(SEAT_NAME, 2));
    EXPECT_EQ(own.Lines(), QStringList({"SEAT_NAME 1 Ömer", StatusLine(2)}));
    EXPECT_EQ(second.Lines(), QStringList({"SEAT_NAME 1 Ömer", AcceptedLine(1), "SEAT_NAME 0 Ayşe"}));
    own.Received.clear();
    second.Received.clear();

    TTestPlayer& third = Join("Çiğdem");
    ASSERT_TRUE(third.WaitCount(SEAT_NAME, 3));
    ASSERT_TRUE(own.WaitCount(STATUS_TEXT, 1));
    ASSERT_TRUE(second.WaitCount(SEAT_NAME, 1));
    EXPECT_EQ(own.Lines(), QStringList({"SEAT_NAME 2 Çiğdem", StatusLine(1)}));
    EXPECT_EQ(second.Lines(), QStringList({"SEAT_NAME 2 Çiğdem"}));
    EXPECT_EQ(third.Lines(),
              QStringList({"SEAT_NAME 2 Çiğdem", AcceptedLine(2), "SEAT_NAME 0 Ayşe", "SEAT_NAME 1 Ömer"}));

    TTestPlayer& fourth = Join("Ali");
    ASSERT_TRUE(fourth.WaitCount(SEAT_NAME, 4));
    ASSERT_TRUE(own.WaitCount(STATUS_TEXT, 2));
    EXPECT_EQ(own.Lines().last(), StatusLine(0));
    EXPECT_EQ(dealer->SeatCount(), 4);
    EXPECT_EQ(dealer->ComputerCount(), 0);
    EXPECT_STREQ(dealer->GameInfo().PlayerName[3], "Ali");
    // Nothing of the game is sent before a game starts.
    Settle();
    for (const auto& p : players)
        EXPECT_EQ(p->Count(GAME_RECORD), 0);
}

TEST_F(Joining, DuplicateNamesGetAnXAppendedAndEveryoneHearsTheChangedName)
{
    StartDealer();
    TTestPlayer& own = Join("Ali");
    Join("Ali");
    TTestPlayer& third = Join("Ali");
    ASSERT_TRUE(own.WaitLine("SEAT_NAME 2 AliXX"));
    EXPECT_TRUE(own.Has("SEAT_NAME 1 AliX"));
    EXPECT_EQ(third.Lines(),
              QStringList({"SEAT_NAME 2 AliXX", AcceptedLine(2), "SEAT_NAME 0 Ali", "SEAT_NAME 1 AliX"}));
    EXPECT_STREQ(dealer->GameInfo().PlayerName[1], "AliX");
    EXPECT_STREQ(dealer->GameInfo().PlayerName[2], "AliXX");
}

TEST_F(Joining, OverlongNamesAreCutToTheNameField)
{
    StartDealer();
    const QString longName(40, QLatin1Char('k'));
    Join(longName);
    TTestPlayer& second = Join(longName);
    const QString cut(29, QLatin1Char('k'));
    EXPECT_EQ(QString::fromLatin1(dealer->GameInfo().PlayerName[0]), cut);
    EXPECT_EQ(QString::fromLatin1(dealer->GameInfo().PlayerName[1]), cut.left(28) + "X");
    EXPECT_TRUE(second.Has("SEAT_NAME 1 " + cut.left(28) + "X"));
    EXPECT_EQ(dealer->GameInfo().PlayerName[1][29], '\0');
}

TEST_F(Joining, StartNowWithOneHumanFillsSeatsOneToThree)
{
    StartDealer();
    TTestPlayer& own = Join("Ayşe");
    own.Received.clear();
    SendStartNow(own.Socket);
    ASSERT_TRUE(own.WaitCount(SEAT_NAME, 3));
    Settle();
    EXPECT_EQ(own.Lines(), QStringList({"SEAT_NAME 1 Acemi1", "SEAT_NAME 2 Acemi2", "SEAT_NAME 3 Acemi3"}));
    EXPECT_EQ(dealer->SeatCount(), 4);
    EXPECT_EQ(dealer->ComputerCount(), 3);
    EXPECT_EQ(dealer->Seats()[3].Kind, SeatEntry::Computer);
    EXPECT_EQ(dealer->Seats()[3].Connection, nullptr);
}

TEST_F(Joining, StartNowWithTwoHumansNamesSeatsTwoAndThreeForBoth)
{
    StartDealer();
    TTestPlayer& own = Join("Ayşe");
    TTestPlayer& second = Join("Ömer");
    ASSERT_TRUE(own.WaitCount(STATUS_TEXT, 2));
    own.Received.clear();
    second.Received.clear();
    SendStartNow(own.Socket);
    ASSERT_TRUE(own.WaitCount(SEAT_NAME, 2));
    ASSERT_TRUE(second.WaitCount(SEAT_NAME, 2));
    Settle();
    const QStringList expected({"SEAT_NAME 2 Acemi1", "SEAT_NAME 3 Acemi2"});
    EXPECT_EQ(own.Lines(), expected);
    EXPECT_EQ(second.Lines(), expected);
    EXPECT_EQ(dealer->ComputerCount(), 2);

    // A second F2 on a full table changes nothing.
    SendStartNow(own.Socket);
    ASSERT_TRUE(own.Sync());
    EXPECT_EQ(own.Count(SEAT_NAME), 2);
    EXPECT_EQ(dealer->SeatCount(), 4);
    EXPECT_EQ(dealer->ComputerCount(), 2);
}

TEST_F(Joining, AFifthConnectionIsToldTheTableIsFullAndClosed)
{
    StartDealer();
    for (const char* name : {"A", "B", "C", "D"})
        Join(name);
    const TGameInfo before = dealer->GameInfo();
    TTestPlayer& fifth = Join("E", false);
    SendJoinRequest(fifth.Socket, "E");
    ASSERT_TRUE(WaitFor([&] { return fifth.Disconnected; }));
    EXPECT_EQ(fifth.Lines(), QStringList({"TABLE_FULL"}));
    EXPECT_EQ(dealer->SeatCount(), 4);
    EXPECT_EQ(dealer->Seats().size(), 4);
    EXPECT_TRUE(SameRecord(dealer->GameInfo(), before));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(players[std::size_t(i)]->Count(SEAT_NAME), 4) << i;
}

TEST_F(Joining, AnUnknownMessageIsReportedAndChangesNothing)
{
    std::vector<std::string> notices;
    SetNotifier([&](const std::string& text, int) { notices.push_back(text); });
    StartDealer();
    TTestPlayer& own = Join("Ayşe");
    const TGameInfo before = dealer->GameInfo();
    own.SendRaw(TPacketType(20), "xyz");
    own.SendRaw(TRICK_CLEAR);
    ASSERT_TRUE(own.Sync());
    SetNotifier({});
    EXPECT_EQ(notices, std::vector<std::string>(2, "Dealer: Bilinmeyen bir paket alındı"));
    EXPECT_TRUE(SameRecord(dealer->GameInfo(), before));
    EXPECT_EQ(dealer->SeatCount(), 1);
}

TEST_F(Joining, ChatIsRelayedUnchangedToEveryHumanSeatBeforeTheTableIsFull)
{
    StartDealer();
    TTestPlayer& own = Join("Ayşe");
    TTestPlayer& second = Join("Ömer");
    TTestPlayer& stranger = Join("x", false); // connected, never joined
    SendChatText(second.Socket, "Ömer> Selam, nasılsınız?");
    SendChatText(stranger.Socket, "x> not seated");
    ASSERT_TRUE(own.WaitLine("CHAT_TEXT Ömer> Selam, nasılsınız?"));
    ASSERT_TRUE(second.WaitLine("CHAT_TEXT Ömer> Selam, nasılsınız?"));
    ASSERT_TRUE(own.Sync());
    EXPECT_FALSE(own.Has("CHAT_TEXT x> not seated"));
    EXPECT_EQ(stranger.Received.size(), 0u);
}

TEST_F(Joining, AJoinFromASeatedConnectionIsDropped)
{
    StartDealer();
    TTestPlayer& own = Join("Ayşe");
    SendJoinRequest(own.Socket, "Again");
    own.SendRaw(JOIN_REQUEST, QByteArray::fromHex("050000004162")); // "Ab" announced as 5 bytes
    ASSERT_TRUE(own.Sync());
    EXPECT_EQ(dealer->SeatCount(), 1);
    EXPECT_EQ(own.Count(JOIN_ACCEPTED), 1);
}

TEST_F(Joining, APlayerWhoLeftReceivesNothingAndTheOthersGoOn)
{
    StartDealer();
    TTestPlayer& own = Join("Ayşe");
    TTestPlayer& leaving = Join("Ömer");
    TTestPlayer& third = Join("Çiğdem");
    leaving.Socket.Close();
    ASSERT_TRUE(WaitFor([&] { return dealer->Seats()[1].Connection == nullptr; }));
    own.Received.clear();
    third.Received.clear();

    SendStartNow(own.Socket);
    ASSERT_TRUE(own.WaitLine("SEAT_NAME 3 Acemi1"));
    ASSERT_TRUE(third.WaitLine("SEAT_NAME 3 Acemi1"));
    SendNewGame(own.Socket);
    ASSERT_TRUE(own.WaitCount(GAME_RECORD, 1));
    ASSERT_TRUE(third.WaitCount(GAME_RECORD, 1));
    EXPECT_TRUE(SameRecord(third.LastRecord(), dealer->GameInfo()));
    // The seat stays taken by its player: it is not handed to the computer.
    EXPECT_EQ(dealer->Seats()[1].Kind, SeatEntry::Human);
    EXPECT_EQ(dealer->ComputerCount(), 1);
}

} // namespace
