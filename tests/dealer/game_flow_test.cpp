// The course of a game at the dealer: pacing of a trick, the "Hızlı" intervals, a whole
// game against three computer seats, loaded records and the reset for new players.
#include <algorithm>
#include <cstdio>

#include <QFile>

#include "dealer_test_util.h"

namespace {

std::pair<uint8_t, uint8_t> FirstPlayable(const TGameInfo& g, int seat)
{
    std::string why;
    for (int i = 0; i < g.CardCount[seat]; ++i)
        if (IsPlayable(g, seat, g.CardSuit[seat][i], g.CardValue[seat][i], why))
            return {g.CardSuit[seat][i], g.CardValue[seat][i]};
    return {kNone, kNone};
}

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

std::vector<TGameInfo> Records(const TTestPlayer& p)
{
    std::vector<TGameInfo> records;
    for (const TReceived& r : p.Received)
        if (r.Type == GAME_RECORD) {
            records.emplace_back();
            std::memcpy(&records.back(), r.Payload.constData(), sizeof(TGameInfo));
        }
    return records;
}

using Pacing = TDealerFixture;

TEST_F(Pacing, QuickSetsTheIntervalsAndTheResolveDelayKeepsItsFixedPart)
{
    StartDealer(false);
    EXPECT_EQ(dealer->ComputerMoveTimer().interval(), 1000);
    EXPECT_EQ(dealer->TrickWinnerTimer().interval(), 500);
    EXPECT_EQ(dealer->TrickClearTimer().interval(), 1000);
    EXPECT_EQ(dealer->TrickResolveTimer().interval(), 2000);
    dealer->ApplyQuick(true);
    EXPECT_EQ(dealer->ComputerMoveTimer().interval(), 10);
    EXPECT_EQ(dealer->TrickWinnerTimer().interval(), 5);
    EXPECT_EQ(dealer->TrickClearTimer().interval(), 10);
    EXPECT_EQ(dealer->TrickResolveTimer().interval(), 515);
    dealer->ApplyQuick(false);
    EXPECT_EQ(dealer->TrickResolveTimer().interval(), 2000);
    for (const QTimer* t : {&dealer->ComputerMoveTimer(), &dealer->TrickWinnerTimer(),
                            &dealer->TrickClearTimer(), &dealer->TrickResolveTimer()})
        EXPECT_FALSE(t->isActive());

    dealer.reset();
    StartDealer(true, 40);
    EXPECT_EQ(dealer->TrickResolveTimer().interval(), 55);
}

// Four human players lead and follow at once; what happens once the fourth card is down.
struct TrickSequence : TDealerFixture, ::testing::WithParamInterface<bool> {
    void PlayOneTrick()
    {
        for (const char* name : {"Ayşe", "Ömer", "Çiğdem", "Ali"})
            Join(name);
        SendNewGame(players[0]->Socket);
        ASSERT_TRUE(players[0]->WaitCount(GAME_RECORD, 1));
        const int chooser = dealer->GameInfo().Chooser;
        SendContractChoice(players[std::size_t(chooser)]->Socket, KozMaca);
        ASSERT_TRUE(players[0]->WaitCount(GAME_RECORD, 2));
        for (int k = 0; k < 4; ++k) {
            const int seat = (chooser + k) % 4;
            const auto [s, v] = FirstPlayable(dealer->GameInfo(), seat);
            SendCardPlay(players[std::size_t(seat)]->Socket, uint8_t(seat), s, v);
            ASSERT_TRUE(players[0]->WaitCount(GAME_RECORD, 3 + k));
        }
    }
    qint64 EventAt(const QString& start) const
    {
        for (const auto& [at, line] : timedEvents)
            if (line.startsWith(start))
                return at;
        return -1;
    }
    qint64 ResolvedAt() const
    {
        for (const auto& [at, line] : timedEvents)
            if (line.startsWith("trick resolved") || line.startsWith("hand ") || line.startsWith("game over"))
                return at;
        return -1;
    }
};

TEST_P(TrickSequence, TakerThenClearThenTheResolvedRecord)
{
    const bool quick = GetParam();
    StartDealer(quick);
    PlayOneTrick();
    const TGameInfo full = dealer->GameInfo();
    ASSERT_EQ(full.Phase, psTrickComplete);
    const uint8_t winner = WhoBiggest(full);
    ASSERT_TRUE(players[0]->WaitCount(GAME_RECORD, 7, 10000));
    Settle(50);

    for (const auto& p : players) {
        QStringList tail = p->Lines().mid(p->Lines().lastIndexOf("GAME_RECORD") - 3);
        EXPECT_EQ(tail, QStringList({"GAME_RECORD", QStringLiteral("TRICK_TAKER %1").arg(winner), "TRICK_CLEAR",
                                     "GAME_RECORD"}));
    }
    const TGameInfo resolved = players[0]->LastRecord();
    EXPECT_EQ(resolved.TrickCount, 0);
    EXPECT_EQ(resolved.TricksPlayed, 1);
    EXPECT_EQ(resolved.Turn, winner);

    const qint64 taker = EventAt("trick taken"), clear = EventAt("trick cleared"), done = ResolvedAt();
    ASSERT_GE(taker, 0);
    ASSERT_GE(clear, 0);
    ASSERT_GE(done, 0);
    // The clear timer starts when the winner timer fires; the resolve timer, started with
    // the winner timer, fires its clear interval plus the fixed 500 ms after it.
    EXPECT_LT(taker, clear);
    EXPECT_LT(clear, done);
    EXPECT_GE(clear - taker, quick ? 10 - 1 : 1000 - 1);
    EXPECT_GE(done - taker, quick ? 510 - 1 : 1500 - 1);
}

INSTANTIATE_TEST_SUITE_P(NormalAndQuick, TrickSequence, ::testing::Values(false, true));

TEST_F(TrickSequence, QuickChangesTheTimersOfATrickAlreadyPaced)
{
    StartDealer(false);
    PlayOneTrick();
    ASSERT_TRUE(dealer->TrickResolveTimer().isActive());
    const qint64 full = TestClock().elapsed();
    dealer->ApplyQuick(true);
    EXPECT_TRUE(dealer->TrickResolveTimer().isActive());
    EXPECT_EQ(dealer->TrickResolveTimer().interval(), 515);
    ASSERT_TRUE(WaitFor([&] { return ResolvedAt() >= 0; }, 5000));
    EXPECT_LT(ResolvedAt() - full, 1500); // not the 2000 ms it was started with
}

using WholeGame = TDealerFixture;

TEST_F(WholeGame, OneHumanAndThreeComputersPlayToTheEnd)
{
    StartDealer(true, 5);
    TTestPlayer& own = Join("Ayşe");
    TRandom mine(99);
    // The player lets the computer act for its seat on every record that asks for it.
    own.OnReceived = [&](const TReceived& r) {
        if (r.Type == SEAT_NAME && r.Line.startsWith("SEAT_NAME 3 "))
            SendNewGame(own.Socket);
        if (r.Type != GAME_RECORD)
            return;
        TGameInfo copy;
        std::memcpy(&copy, r.Payload.constData(), sizeof copy);
        const TGameInfo seen = copy;
        TComputerPlayer me;
        if (seen.Phase == psChoosing && seen.Chooser == 0 && ComputerMove(me, 0, copy, mine) == 2)
            SendContractChoice(own.Socket, copy.Contract);
        else if (seen.Phase == psPlaying && seen.Turn == 0 && ComputerMove(me, 0, copy, mine) == 1)
            SendCardPlay(own.Socket, 0, copy.TrickSuit[seen.TrickCount], copy.TrickValue[seen.TrickCount]);
    };
    SendStartNow(own.Socket);
    ASSERT_TRUE(WaitFor([&] { return own.Count(GAME_RECORD) > 0 && own.LastRecord().Phase == psGameOver; },
                        300000));
    Settle(300);

    const TGameInfo end = own.LastRecord();
    EXPECT_TRUE(SameRecord(end, dealer->GameInfo()));
    EXPECT_EQ(ContractsPlayed(end), 20);
    int sum = 0;
    for (int s = 0; s < 4; ++s) {
        sum += end.Score.Totals[s].Total;
        EXPECT_EQ(end.Score.TrumpsChosen[s], 2) << s;
        EXPECT_EQ(end.Score.PenaltiesChosen[s], 3) << s;
    }
    EXPECT_EQ(sum, 0);

    // Every record the player saw is one step after the one before.
    const std::vector<TGameInfo> records = Records(own);
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
    for (const auto& [at, line] : timedEvents) {
        if (!line.contains("(computer) played") && !line.contains("(computer) chose"))
            continue;
        EXPECT_GE(at - last, 10 - 1) << line.toStdString();
        last = at;
        ++computerMoves;
    }
    EXPECT_GT(computerMoves, 3 * 13 * 15);
    EXPECT_FALSE(dealer->ComputerMoveTimer().isActive());

    // The last-hand file holds the last record broadcast.
    ASSERT_EQ(dealer->LastHandPath(), folder.filePath("LastHand.rvo"));
    QFile file(dealer->LastHandPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_EQ(bytes.size(), 440);
    EXPECT_EQ(std::memcmp(bytes.constData(), &end, 440), 0);
}

using Loading = TDealerFixture;

TEST_F(Loading, ALoadedRecordReplacesEverythingAndAFullTrickGoesOn)
{
    StartDealer(true);
    TTestPlayer& own = Join("Ayşe");
    TTestPlayer& second = Join("Ömer");
    SendStartNow(own.Socket);
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

    SendGameRecord(own.Socket, saved);
    for (TTestPlayer* p : {&own, &second}) {
        ASSERT_TRUE(p->WaitCount(GAME_RECORD, 2));
        const auto& first = *std::find_if(p->Received.begin(), p->Received.end(),
                                          [](const TReceived& r) { return r.Type == GAME_RECORD; });
        EXPECT_EQ(std::memcmp(first.Payload.constData(), &saved, sizeof saved), 0);
        const QStringList lines = p->Lines().mid(p->Lines().indexOf("GAME_RECORD"), 4);
        EXPECT_EQ(lines, QStringList({"GAME_RECORD", QStringLiteral("TRICK_TAKER %1").arg(winner), "TRICK_CLEAR",
                                      "GAME_RECORD"}));
    }
    const std::vector<TGameInfo> records = Records(second);
    ASSERT_GE(records.size(), 2u);
    EXPECT_EQ(records[1].TrickCount, 0);
    EXPECT_EQ(records[1].TricksPlayed, 1);
    EXPECT_EQ(records[1].Turn, winner);
    EXPECT_STREQ(records[1].PlayerName[1], "Kayit1");
    EXPECT_STREQ(dealer->GameInfo().PlayerName[1], "Kayit1");
}

TEST_F(Loading, WaitForPlayersEmptiesTheTableForNewPlayers)
{
    StartDealer();
    TTestPlayer& own = Join("Ayşe");
    Join("Ömer");
    SendStartNow(own.Socket);
    ASSERT_TRUE(own.WaitLine("SEAT_NAME 3 Acemi2"));
    SendNewGame(own.Socket);
    ASSERT_TRUE(own.WaitCount(GAME_RECORD, 1));
    SendWaitForPlayers(own.Socket);
    ASSERT_TRUE(WaitFor([&] { return players[0]->Disconnected && players[1]->Disconnected; }));
    EXPECT_EQ(dealer->SeatCount(), 0);
    EXPECT_EQ(dealer->ComputerCount(), 0);
    EXPECT_EQ(dealer->GameInfo().PlayerName[0][0], '\0');
    EXPECT_FALSE(dealer->ComputerMoveTimer().isActive());
    ASSERT_TRUE(dealer->Listening());

    TTestPlayer& again = Join("Ömer");
    EXPECT_EQ(again.Lines(), QStringList({"SEAT_NAME 0 Ömer", StatusLine(3), AcceptedLine(0)}));
}

} // namespace
