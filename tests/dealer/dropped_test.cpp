// Players whose connection closes once the table is full: the computer plays their seat
// until a player of that name takes it back; and connections that never join.
#include <map>

#include "dealer_test_util.h"
#include "notify.h"

namespace {

QString DroppedLine(const QString& name) { return "CHAT_TEXT " + name + " bağlantısı koptu, yerine bilgisayar oynuyor."; }
QString BackLine(const QString& name) { return "CHAT_TEXT " + name + " oyuna geri döndü."; }

// A player "Sessiz" that joins and then reads nothing, so it acknowledges nothing.
void JoinSilently(QTcpSocket& silent, quint16 port)
{
    silent.connectToHost(QStringLiteral("127.0.0.1"), port);
    ASSERT_TRUE(silent.waitForConnected(3000));
    const QByteArray join = TPayloadWriter().Text(QStringLiteral("Sessiz")).Bytes();
    silent.write(BuildFrame(JOIN_REQUEST, FrameStamp(), join.constData(), int32_t(join.size())));
}

struct Dropped : TTableFixture {
    std::map<int, TTestPlayer*> seated; // the human seats' players, as the test drives them
    TRandom mine{7};

    // Lets the human seats act on the dealer's record, one action at a time, until the game
    // awaits `seat`; the computer acts for its seats meanwhile.
    void PlayUntil(int seat)
    {
        for (int actions = 0; actions < 200; ++actions) {
            ASSERT_TRUE(WaitFor([&] { return AwaitedSeat(dealer->GameInfo()) != kNoSeat; }));
            const TGameInfo before = dealer->GameInfo();
            const int awaited = AwaitedSeat(before);
            if (awaited == seat)
                return;
            if (seated.count(awaited)) {
                ASSERT_TRUE(seated[awaited]->SendOwnMove(awaited, before, mine));
            }
            ASSERT_TRUE(WaitFor([&] { return !SameRecord(dealer->GameInfo(), before); }));
        }
        FAIL() << "seat " << seat << " never awaited";
    }
};

using DroppedOverTcp = TDealerFixture;

TEST_F(Dropped, TheComputerPlaysTheDealersOwnSeatToTheEndOfTheGame)
{
    StartDealer(true, 5);
    TTestPlayer& own = Join("Ayşe");
    TTestPlayer& second = Join("Ömer");
    TRandom ours(11), theirs(12);
    bool over = false, gone = false;
    // Both play their own moves; the dealer's user leaves when its card is due, after the
    // computer's tick for that record has passed, so only the drop itself can go on.
    own.OnReceived = [&](const TReceived& r) {
        if (r.Type != GAME_RECORD || gone)
            return;
        const TGameInfo seen = own.LastRecord();
        if (own.Count(GAME_RECORD) > 30 && AwaitedSeat(seen) == 0 && seen.Phase == psPlaying) {
            gone = true;
            return;
        }
        own.SendOwnMove(0, seen, ours);
    };
    second.OnReceived = [&](const TReceived& r) {
        if (r.Type != GAME_RECORD)
            return;
        const TGameInfo seen = r.Record();
        over = seen.Phase == psGameOver;
        second.SendOwnMove(1, seen, theirs);
    };
    own.StartNow();
    ASSERT_TRUE(second.WaitLine("SEAT_NAME 3 Acemi2"));
    own.NewGame();
    ASSERT_TRUE(WaitFor([&] { return gone; }));
    Settle(150); // past the computer's tick for that record
    own.Close();
    ASSERT_TRUE(second.WaitLine(DroppedLine("Ayşe")));
    const int seen = own.Count(GAME_RECORD);
    // The game goes on to its end, never standing still for long.
    while (!over) {
        const TGameInfo last = dealer->GameInfo();
        ASSERT_TRUE(WaitFor([&] { return over || !SameRecord(dealer->GameInfo(), last); }, 5000));
    }
    Settle(100);

    const TGameInfo end = second.LastRecord();
    EXPECT_TRUE(SameRecord(end, dealer->GameInfo()));
    EXPECT_EQ(ContractsPlayed(end), 20);
    EXPECT_EQ(end.Score.TrumpsChosen[0] + end.Score.PenaltiesChosen[0], 5);
    EXPECT_STREQ(end.PlayerName[0], "Ay\xfe" "e"); // code page 1254
    EXPECT_EQ(own.Count(GAME_RECORD), seen); // nothing more after the drop
    EXPECT_GE(EventAt({"seat 0 (computer) played"}), 0);
    // The commands of the dealer's user are not anyone else's.
    const TGameInfo before = dealer->GameInfo();
    second.NewGame();
    ASSERT_TRUE(second.Sync());
    EXPECT_TRUE(SameRecord(dealer->GameInfo(), before));
}

TEST_F(Dropped, APlayerTakesItsSeatBackByNameAndPlaysItAgain)
{
    StartDealer(true, 5);
    for (const char* name : {"Ayşe", "Ömer", "Çiğdem", "Ali"})
        seated[int(seated.size())] = &Join(name);
    P(0).NewGame();
    PlayUntil(3);
    const TGameInfo due = dealer->GameInfo();
    P(3).Close();
    for (int s = 0; s < 3; ++s)
        ASSERT_TRUE(P(s).WaitLine(DroppedLine("Ali")));
    seated.erase(3);
    // The computer acts for the seat at once, and again at its next turn.
    ASSERT_TRUE(WaitFor([&] { return !SameRecord(dealer->GameInfo(), due); }));
    EXPECT_NE(AwaitedSeat(dealer->GameInfo()), 3);
    PlayUntil(3);
    ASSERT_TRUE(WaitFor([&] { return AwaitedSeat(dealer->GameInfo()) != 3; }));

    PlayUntil(0);
    const TGameInfo now = dealer->GameInfo();
    TTestPlayer& back = Join("Ali", false);
    back.JoinAs("Ali");
    ASSERT_TRUE(back.WaitCount(GAME_RECORD, 1));
    EXPECT_EQ(back.Lines(), QStringList({"SEAT_NAME 0 Ayşe", "SEAT_NAME 1 Ömer", "SEAT_NAME 2 Çiğdem", "SEAT_NAME 3 Ali",
                                         AcceptedLine(3), "GAME_RECORD"}));
    EXPECT_TRUE(SameRecord(back.LastRecord(), now));
    for (int s = 0; s < 3; ++s)
        ASSERT_TRUE(P(s).WaitLine(BackLine("Ali")));

    // Its seat waits for it again, and its own move is taken.
    seated[3] = &back;
    PlayUntil(3);
    const TGameInfo waiting = dealer->GameInfo();
    Settle(200);
    EXPECT_TRUE(SameRecord(dealer->GameInfo(), waiting));
    const int records = back.Count(GAME_RECORD);
    ASSERT_TRUE(back.SendOwnMove(3, waiting, mine));
    ASSERT_TRUE(back.WaitCount(GAME_RECORD, records + 1));
    EXPECT_NE(AwaitedSeat(back.LastRecord()), 3);
    EXPECT_EQ(dealer->SeatCount(), 4);
    EXPECT_NE(dealer->Seats()[3].Connection, kNoConnection);
}

TEST_F(Dropped, UniqueNamesTakeSeatsBackAndStrangersFindTheTableFull)
{
    StartDealer();
    for (const char* name : {"Ali", "Ali", "Ali", "Ömer"})
        Join(name); // Ali, AliX, AliXX, Ömer
    P(0).NewGame();
    ASSERT_TRUE(P(3).WaitCount(GAME_RECORD, 1));
    P(1).Close();
    P(2).Close();
    ASSERT_TRUE(P(3).WaitLine(DroppedLine("AliXX")));

    TTestPlayer& stranger = Join("Veli", false);
    stranger.JoinAs("Veli");
    ASSERT_TRUE(WaitFor([&] { return stranger.Disconnected; }));
    EXPECT_EQ(stranger.Lines(), QStringList({"TABLE_FULL"}));

    // The unique name given; then the name asked for, which fits the first dropped seat.
    TTestPlayer& third = Join("AliXX", false);
    third.JoinAs("AliXX");
    ASSERT_TRUE(third.WaitLine(AcceptedLine(2)));
    TTestPlayer& second = Join("Ali", false);
    second.JoinAs("Ali");
    ASSERT_TRUE(second.WaitLine(AcceptedLine(1)));
    EXPECT_TRUE(P(3).WaitLine(BackLine("AliX")));

    // Nobody is missing now: a newcomer under another name is refused.
    TTestPlayer& late = Join("Zeki", false);
    late.JoinAs("Zeki");
    ASSERT_TRUE(WaitFor([&] { return late.Disconnected; }));
    EXPECT_EQ(late.Lines(), QStringList({"TABLE_FULL"}));
    for (int s = 0; s < 4; ++s)
        EXPECT_NE(dealer->Seats()[s].Connection, kNoConnection) << s;
}


TEST_F(Dropped, ANameFromTheSameAddressReplacesAConnectionThatNoLongerAnswers)
{
    // A player whose network went away joins again before the dealer has noticed: the
    // seat's old connection, asked for a sign of life, stays silent; when the time to
    // answer is over it is closed and the newcomer gets the seat and the game.
    probeMs = 300;
    StartDealer();
    Join("Ayşe");
    TLocalPlayer& lost = Join("Sessiz");
    lost.SetSilent();
    P(0).StartNow();
    ASSERT_TRUE(P(0).WaitLine("SEAT_NAME 3 Acemi2"));
    P(0).NewGame();
    ASSERT_TRUE(P(0).WaitCount(GAME_RECORD, 1));
    TLocalPlayer& again = Join("Sessiz", false);
    const qint64 asked = Now();
    again.JoinAs("Sessiz");
    ASSERT_TRUE(again.WaitCount(GAME_RECORD, 1));
    EXPECT_EQ(Now() - asked, 300);
    EXPECT_EQ(again.Lines(), QStringList({"SEAT_NAME 0 Ayşe", "SEAT_NAME 1 Sessiz", "SEAT_NAME 2 Acemi1",
                                          "SEAT_NAME 3 Acemi2", AcceptedLine(1), "GAME_RECORD"}));
    ASSERT_TRUE(WaitFor([&] { return lost.Disconnected; }));
    EXPECT_EQ(dealer->Seats()[1].Connection, again.Id);
    // The seat never looked dropped: nobody is told anything.
    ASSERT_TRUE(P(0).Sync());
    EXPECT_FALSE(P(0).Has(DroppedLine("Sessiz")));
    EXPECT_FALSE(P(0).Has(BackLine("Sessiz")));
}

TEST_F(DroppedOverTcp, ASeatWhoseConnectionAnswersIsNeverTakenOver)
{
    // A second copy of the program on the dealer's machine, under the same default name,
    // finds the table full; the dealer's own window goes on receiving the game.
    std::vector<std::string> notices;
    SetNotifier([&](const std::string& text, int) { notices.push_back(text); });
    struct TReset {
        ~TReset() { SetNotifier({}); }
    } reset;
    probeMs = 2000;
    StartDealer();
    TTestPlayer& own = Join("Oyuncu");
    TTestPlayer& second = Join("Ömer");
    own.StartNow();
    own.NewGame();
    ASSERT_TRUE(own.WaitCount(GAME_RECORD, 1));
    for (const char* name : {"Oyuncu", "Ömer"}) {
        TTestPlayer& copy = Join(name, false);
        copy.JoinAs(name);
        ASSERT_TRUE(WaitFor([&] { return copy.Disconnected; }));
        EXPECT_EQ(copy.Lines(), QStringList({"TABLE_FULL"})) << name;
    }
    EXPECT_FALSE(own.Disconnected || second.Disconnected);
    EXPECT_NE(dealer->Seats()[0].Connection, kNoConnection);
    EXPECT_TRUE(WaitFor([&] { return dealer->DealerSocket().ActiveConnections() == 2; }));
    own.NewGame();
    EXPECT_TRUE(own.WaitCount(GAME_RECORD, 2));
    EXPECT_TRUE(second.WaitCount(GAME_RECORD, 2));
    EXPECT_TRUE(notices.empty());
}

TEST_F(DroppedOverTcp, ChatSkipsABackedUpLinkAndAFloodingPlayerIsClosed)
{
    StartDealer();
    Join("Ayşe");
    Join("Ömer");
    QTcpSocket silent; // a third player whose program reads nothing
    JoinSilently(silent, dealer->Port());
    ASSERT_TRUE(WaitFor([&] { return dealer->SeatCount() == 3; }));
    const auto skipped = [&] {
        return std::count_if(events.begin(), events.end(), [](const auto& e) { return e.second.startsWith("chat not sent"); });
    };

    // Eight lines as long as a line can be: the silent link is held back by its bytes long
    // before its frames would count.
    const QString longLine(kMaxTextLength - 8, QLatin1Char('u'));
    for (int i = 0; i < 8; ++i)
        P(0).Chat(longLine);
    ASSERT_TRUE(WaitFor([&] { return P(1).ChatCount(longLine) == 8; }));
    EXPECT_GE(skipped(), 8 - int(kChatBacklogBytes / kMaxTextLength));

    // A burst of eighty lines: a link that backs up (the silent one at once, the others
    // while the dealer is busy relaying) misses lines, and nobody loses the connection.
    for (int i = 0; i < 40; ++i) {
        P(0).Chat(QStringLiteral("merhaba"));
        P(1).Chat(QStringLiteral("merhaba"));
    }
    const auto relayed = [&] {
        return std::count_if(events.begin(), events.end(), [](const auto& e) { return e.second.endsWith("> merhaba"); });
    };
    ASSERT_TRUE(WaitFor([&] { return relayed() == 80; }));
    ASSERT_TRUE(WaitFor([&] { return P(1).ChatCount(QStringLiteral("merhaba")) > 0; }));
    Settle(300);
    EXPECT_EQ(silent.state(), QAbstractSocket::ConnectedState);
    EXPECT_FALSE(P(0).Disconnected || P(1).Disconnected);
    EXPECT_EQ(dealer->SeatCount(), 3);

    // Past a hundred frames within ten seconds a player's connection goes.
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 40; ++i)
            P(1).Card(1, Spades, Ace);
        WaitFor([&] { return P(1).Disconnected; }, 300);
    }
    ASSERT_TRUE(WaitFor([&] { return P(1).Disconnected; }));
    EXPECT_TRUE(P(0).WaitLine("SEAT_NAME 1 "));
    EXPECT_FALSE(P(0).Disconnected);
}

TEST_F(DroppedOverTcp, ASeatThatStopsAcknowledgingIsGivenToTheComputer)
{
    ackTimeoutMs = 2000;
    StartDealer(true);
    TTestPlayer& own = Join("Ayşe");
    QTcpSocket silent;
    JoinSilently(silent, dealer->Port());
    ASSERT_TRUE(WaitFor([&] { return dealer->SeatCount() == 2; }));
    own.StartNow();
    own.NewGame();
    ASSERT_TRUE(own.WaitLine(DroppedLine("Sessiz")));
    EXPECT_EQ(dealer->Seats()[1].Connection, kNoConnection);
    EXPECT_EQ(dealer->DealerSocket().ActiveConnections(), 1);
}

TEST_F(Dropped, AConnectionThatNeverJoinsIsClosed)
{
    joinTimeoutMs = 300;
    StartDealer();
    TTestPlayer& idle = Join("x", false);
    TLocalPlayer& own = Join("Ayşe");
    const qint64 from = Now();
    ASSERT_TRUE(WaitFor([&] { return idle.Disconnected; }, 5000));
    EXPECT_EQ(Now() - from, 300);
    Settle(500);
    EXPECT_FALSE(own.Disconnected);
    EXPECT_TRUE(local->Open(own.Id));
    EXPECT_TRUE(idle.Received.empty());
}

} // namespace
