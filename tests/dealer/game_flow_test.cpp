// The course of a game at the dealer: pacing of a trick, the "Hızlı" intervals, a whole
// game against three computer seats, loaded records and the reset for new players.
#include <cstdio>

#include <QFile>
#include <QRegularExpression>

#include "dealer_test_util.h"

namespace {

int CardsHeld(const TGameInfo& g)
{
    return g.CardCount[0] + g.CardCount[1] + g.CardCount[2] + g.CardCount[3];
}

// Whether b follows from a by exactly one step of the game: one card, one contract, or
// the resolution of one full trick.
bool OneStep(const TGameInfo& a, const TGameInfo& b)
{
    if (a.Phase == psPlaying)
        return b.TrickCount == a.TrickCount + 1 && CardsHeld(b) == CardsHeld(a) - 1 &&
               HasCard(a, a.Turn, b.TrickSuit[a.TrickCount], b.TrickValue[a.TrickCount]) &&
               (b.Phase == psPlaying || b.Phase == psTrickComplete);
    if (a.Phase == psChoosing)
        return b.Phase == psPlaying && b.Contract != kNone && CardsHeld(b) == CardsHeld(a);
    if (a.Phase == psTrickComplete)
        return b.TrickCount == 0 &&
               ((b.Phase == psPlaying && b.TricksPlayed == a.TricksPlayed + 1) || b.Phase == psChoosing ||
                b.Phase == psGameOver);
    return false;
}

using Pacing = TTableFixture;

TEST_F(Pacing, QuickSetsTheIntervalsAndTheResolveDelayKeepsItsFixedPart)
{
    StartDealer(false);
    const auto intervals = [this] {
        return std::vector<int>{dealer->ComputerMoveTimer().interval(), dealer->TrickWinnerTimer().interval(),
                                dealer->TrickClearTimer().interval(), dealer->TrickResolveTimer().interval()};
    };
    EXPECT_EQ(intervals(), std::vector<int>({1000, 500, 1000, 2000}));
    dealer->ApplyQuick(true);
    EXPECT_EQ(intervals(), std::vector<int>({10, 5, 10, 515}));
    dealer->ApplyQuick(false);
    EXPECT_EQ(intervals(), std::vector<int>({1000, 500, 1000, 2000}));
    EXPECT_FALSE(dealer->ComputerMoveTimer().isActive() || dealer->TrickResolveTimer().isActive());
    StartDealer(true, 40);
    EXPECT_EQ(dealer->TrickResolveTimer().interval(), 55);
}

// Four human players lead and follow at once; what happens once the fourth card is down.
struct TrickSequence : TTableFixture, ::testing::WithParamInterface<bool> {
    void PlayOneTrick()
    {
        for (const char* name : {"Ayşe", "Ömer", "Çiğdem", "Ali"})
            Join(name);
        P(0).NewGame();
        ASSERT_TRUE(P(0).WaitCount(GAME_RECORD, 1));
        const int chooser = dealer->GameInfo().Chooser;
        P(chooser).Contract(KozMaca);
        ASSERT_TRUE(P(0).WaitCount(GAME_RECORD, 2));
        for (int k = 0; k < 4; ++k) {
            const int seat = (chooser + k) % 4;
            const auto [s, v] = FirstPlayable(dealer->GameInfo(), seat);
            P(seat).Card(uint8_t(seat), s, v);
            ASSERT_TRUE(P(0).WaitCount(GAME_RECORD, 3 + k));
        }
    }
    qint64 ResolvedAt() const { return EventAt({"trick resolved", "hand ", "game over"}); }
};

TEST_P(TrickSequence, TakerThenClearThenTheResolvedRecord)
{
    const bool quick = GetParam();
    StartDealer(quick);
    PlayOneTrick();
    const TGameInfo full = dealer->GameInfo();
    const qint64 fourth = Now();
    ASSERT_EQ(full.Phase, psTrickComplete);
    const uint8_t winner = WhoBiggest(full);
    for (const auto& p : players)
        ASSERT_TRUE(p->WaitCount(GAME_RECORD, 7));
    for (const auto& p : players)
        EXPECT_EQ(p->Lines().mid(p->Lines().size() - 4),
                  QStringList({"GAME_RECORD", QStringLiteral("TRICK_TAKER %1").arg(winner), "TRICK_CLEAR", "GAME_RECORD"}));
    const TGameInfo resolved = P(0).LastRecord();
    EXPECT_EQ(resolved.TrickCount, 0);
    EXPECT_EQ(resolved.TricksPlayed, 1);
    EXPECT_EQ(resolved.Turn, winner);

    const qint64 taker = EventAt({"trick taken"}), clear = EventAt({"trick cleared"}), done = ResolvedAt();
    ASSERT_TRUE(taker >= 0 && clear > taker && done > clear);
    // The winner timer starts with the fourth card; the clear timer when the winner timer
    // fires; the resolve timer, started with the winner timer, fires its clear interval
    // plus the fixed 500 ms after it.
    EXPECT_EQ(taker - fourth, quick ? 5 : 500);
    EXPECT_EQ(clear - taker, quick ? 10 : 1000);
    EXPECT_EQ(done - taker, quick ? 510 : 1500);
}

INSTANTIATE_TEST_SUITE_P(NormalAndQuick, TrickSequence, ::testing::Values(false, true));

TEST_F(TrickSequence, QuickChangesTheTimersOfATrickAlreadyPaced)
{
    StartDealer(false);
    PlayOneTrick();
    ASSERT_TRUE(dealer->TrickResolveTimer().isActive());
    const qint64 full = Now();
    dealer->ApplyQuick(true);
    EXPECT_EQ(dealer->TrickResolveTimer().interval(), 515);
    ASSERT_TRUE(WaitFor([&] { return ResolvedAt() >= 0; }, 5000));
    EXPECT_EQ(ResolvedAt() - full, 515); // not the 2000 ms it was started with
}

TEST_F(TrickSequence, ANewGameWhileATrickIsPacedEndsItsPacing)
{
    StartDealer(false);
    PlayOneTrick();
    ASSERT_TRUE(P(1).WaitCount(TRICK_TAKER, 1));
    P(0).NewGame();
    ASSERT_TRUE(P(1).WaitCount(GAME_RECORD, 7));
    const TGameInfo dealt = dealer->GameInfo();
    Settle(2500); // past the moment the old trick's clear and resolution were due
    // The taker shown is cleared before the new deal; nothing of the old trick follows.
    for (const auto& p : players) {
        const QStringList lines = p->Lines();
        const qsizetype taker = lines.indexOf(QRegularExpression("TRICK_TAKER \\d"));
        ASSERT_GE(taker, 0);
        EXPECT_EQ(lines.mid(taker + 1), QStringList({"TRICK_CLEAR", "GAME_RECORD"}));
    }
    EXPECT_TRUE(SameRecord(dealer->GameInfo(), dealt));
    EXPECT_EQ(dealt.Phase, psChoosing);
    EXPECT_EQ(dealt.TricksPlayed, 0);
}

// One human and three computers from the first deal to the end of the 20th hand, on the
// manual clock (the whole game over TCP is played by the hostile tool and the window tests).
struct WholeGame : TTableFixture {
    void PlayToTheEnd(qint64 minTickMs)
    {
        this->StartDealer(true, 5);
        TTestPlayer& own = this->Join("Ayşe");
        TRandom mine(99);
        bool over = false;
        // The player lets the computer act for its seat on every record that asks for it.
        own.OnReceived = [&](const TReceived& r) {
            if (r.Type == SEAT_NAME && r.Line.startsWith("SEAT_NAME 3 "))
                own.NewGame();
            if (r.Type != GAME_RECORD)
                return;
            const TGameInfo seen = r.Record();
            over = seen.Phase == psGameOver;
            own.SendOwnMove(0, seen, mine);
        };
        own.StartNow();
        ASSERT_TRUE(this->WaitFor([&] { return over; }, 300000));
        this->Settle(300);

        const TGameInfo end = own.LastRecord();
        EXPECT_TRUE(SameRecord(end, this->dealer->GameInfo()));
        EXPECT_EQ(ContractsPlayed(end), 20);
        int sum = 0;
        for (int s = 0; s < 4; ++s) {
            sum += end.Score.Totals[s].Total;
            EXPECT_EQ(end.Score.TrumpsChosen[s], 2) << s;
            EXPECT_EQ(end.Score.PenaltiesChosen[s], 3) << s;
        }
        EXPECT_EQ(sum, 0);

        // Every record the player saw is one step after the one before.
        const std::vector<TGameInfo> records = own.Records();
        ASSERT_GT(records.size(), 20u * 10u);
        EXPECT_EQ(records.front().Phase, psChoosing);
        int fullTricks = 0;
        for (std::size_t i = 1; i < records.size(); ++i) {
            ASSERT_TRUE(OneStep(records[i - 1], records[i])) << "record " << i;
            fullTricks += records[i].Phase == psTrickComplete;
        }
        // Each full trick was followed by its taker and its clear.
        EXPECT_EQ(own.Count(TRICK_TAKER), fullTricks);
        EXPECT_EQ(own.Count(TRICK_CLEAR), fullTricks);

        // Computer actions never come closer than one tick of the computer timer.
        qint64 last = -1000;
        int computerMoves = 0;
        for (const auto& [at, line] : this->events) {
            if (!line.contains("(computer) played") && !line.contains("(computer) chose"))
                continue;
            EXPECT_GE(at - last, minTickMs) << line.toStdString();
            last = at;
            ++computerMoves;
        }
        EXPECT_GT(computerMoves, 3 * 13 * 15);
        EXPECT_FALSE(this->dealer->ComputerMoveTimer().isActive());

        // The last-hand file holds the last record broadcast.
        EXPECT_TRUE(SameRecord(this->LastHandWritten(), end));
    }
};

TEST_F(WholeGame, OneHumanAndThreeComputersPlayToTheEnd) { PlayToTheEnd(10); }

using Loading = TTableFixture;

TEST_F(Loading, ALoadedRecordReplacesEverythingAndAFullTrickGoesOn)
{
    StartDealer(true);
    TTestPlayer& own = Join("Ayşe");
    TTestPlayer& second = Join("Ömer");
    own.StartNow();
    ASSERT_TRUE(second.WaitLine("SEAT_NAME 3 Acemi2"));

    TGameInfo saved;
    InitGameInfo(saved);
    TRandom deal(5);
    NewGame(saved, deal);
    for (int s = 0; s < 4; ++s)
        std::snprintf(saved.PlayerName[s], kNameSize, "Kayit%d", s);
    ChooseContract(saved, KozKaro);
    for (int k = 0; k < 4; ++k) {
        const int seat = saved.Turn;
        const auto [s, v] = FirstPlayable(saved, seat);
        PlayCard(saved, seat, s, v);
    }
    ASSERT_EQ(saved.Phase, psTrickComplete);
    const uint8_t winner = WhoBiggest(saved);

    own.Load(saved);
    for (TTestPlayer* p : {&own, &second}) {
        ASSERT_TRUE(p->WaitCount(GAME_RECORD, 2));
        EXPECT_TRUE(SameRecord(p->Records()[0], saved));
        EXPECT_EQ(p->Lines().mid(p->Lines().indexOf("GAME_RECORD"), 4),
                  QStringList({"GAME_RECORD", QStringLiteral("TRICK_TAKER %1").arg(winner), "TRICK_CLEAR", "GAME_RECORD"}));
    }
    const std::vector<TGameInfo> records = second.Records();
    EXPECT_EQ(records[1].TrickCount, 0);
    EXPECT_EQ(records[1].TricksPlayed, 1);
    EXPECT_EQ(records[1].Turn, winner);
    EXPECT_STREQ(records[1].PlayerName[1], "Kayit1");
}

TEST_F(Loading, WaitForPlayersKeepsTheDealersSeatAndOpensTheOthers)
{
    StartDealer();
    TTestPlayer& own = Join("Ayşe");
    Join("Ömer");
    own.StartNow();
    ASSERT_TRUE(own.WaitLine("SEAT_NAME 3 Acemi2"));
    own.NewGame();
    ASSERT_TRUE(own.WaitCount(GAME_RECORD, 1));
    own.Received.clear();
    own.WaitForPlayers();
    ASSERT_TRUE(WaitFor([&] { return P(1).Disconnected; }));
    ASSERT_TRUE(own.WaitCount(STATUS_TEXT, 1));
    // The dealer's own window is told the seats are free and how many players it waits for.
    EXPECT_EQ(own.Lines(), QStringList({"SEAT_NAME 1 ", "SEAT_NAME 2 ", "SEAT_NAME 3 ", StatusLine(3)}));
    EXPECT_FALSE(own.Disconnected);
    EXPECT_EQ(dealer->SeatCount(), 1);
    EXPECT_EQ(dealer->ComputerCount(), 0);
    EXPECT_STREQ(dealer->GameInfo().PlayerName[0], "Ay\xfe" "e");
    EXPECT_EQ(dealer->GameInfo().PlayerName[1][0], '\0');
    EXPECT_EQ(dealer->GameInfo().Phase, psWaiting);
    EXPECT_FALSE(dealer->ComputerMoveTimer().isActive());

    // The table fills again and starts as a new one does.
    TTestPlayer& next = Join("Zeynep");
    EXPECT_EQ(next.Lines(), QStringList({"SEAT_NAME 1 Zeynep", AcceptedLine(1), "SEAT_NAME 0 Ayşe"}));
    ASSERT_TRUE(own.WaitLine(StatusLine(2)));
    own.StartNow();
    ASSERT_TRUE(next.WaitLine("SEAT_NAME 3 Acemi2"));
    own.NewGame();
    EXPECT_TRUE(own.WaitCount(GAME_RECORD, 1) && next.WaitCount(GAME_RECORD, 1));
}

} // namespace
