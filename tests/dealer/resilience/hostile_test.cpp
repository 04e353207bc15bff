// A game between our players goes on while hostile peers run against the same dealer:
// every record each player receives follows from the one before (none lost, none twice),
// every full trick gets its taker and its clear, nothing a hostile peer sent reaches the
// game, and the dealer is left holding the players' connections only.
#include <algorithm>
#include <cstring>

#include <gtest/gtest.h>

#include "linkattacks.h"
#include "recordchain.h"
#include "scenario.h"
#include "tableattacks.h"

namespace {

const TAttackReport& Find(const std::vector<TAttackReport>& reports, const QString& start)
{
    const auto it = std::find_if(reports.begin(), reports.end(), [&](const TAttackReport& r) {
        return r.Name.startsWith(start);
    });
    static const TAttackReport none;
    EXPECT_NE(it, reports.end()) << start.toStdString();
    return it == reports.end() ? none : *it;
}

// The two players saw the same unbroken chain, with a taker and a clear for every full
// trick, and the dealer rests on the record they saw last.
void ExpectWholeGame(TScenario& s, int hands)
{
    const TChainCheck chain = CheckChain(s.Player(0).Records);
    ASSERT_TRUE(chain.Ok()) << chain.Fault;
    EXPECT_GE(chain.Hands, hands);
    for (int seat = 0; seat < 2; ++seat) {
        const TAutoPlayer& p = s.Player(seat);
        ASSERT_EQ(p.Records.size(), s.Player(0).Records.size()) << seat;
        EXPECT_EQ(std::memcmp(p.Records.data(), s.Player(0).Records.data(), p.Records.size() * sizeof(TGameInfo)), 0)
            << "seat " << seat << " saw other records";
        EXPECT_EQ(p.Takers, chain.Takers) << seat;
        EXPECT_EQ(p.Clears, chain.TrickCompletes) << seat;
        EXPECT_EQ(p.Others, 0) << seat;
        EXPECT_FALSE(p.Disconnected) << seat;
        EXPECT_EQ(std::memcmp(&p.Records.back(), &s.Dealer().GameInfo(), sizeof(TGameInfo)), 0) << seat;
    }
    EXPECT_EQ(s.Dealer().SeatCount(), 4);
}

TEST(Hostile, AGameGoesOnUnharmedWhileEveryAttackRunsAgainstTheDealer)
{
    TScenarioOptions options; // a whole game: 20 hands, so the last record says game over
    TScenario s(options);
    ASSERT_TRUE(s.Run()) << s.Failure().toStdString();
    ExpectWholeGame(s, options.Hands);
    EXPECT_TRUE(std::any_of(s.Player(0).Records.begin(), s.Player(0).Records.end(),
                            [](const TGameInfo& g) { return g.Phase == psGameOver; }));

    // Only the players' connections are left, each with its packet thread.
    const TServerPacketSocket& socket = s.Dealer().DealerSocket();
    EXPECT_EQ(socket.ActiveConnections(), 2);
    EXPECT_EQ(socket.PacketThreads().size(), 2u);

    const std::vector<TAttackReport>& reports = s.Reports();
    for (const TAttackReport& r : reports) {
        EXPECT_TRUE(r.Done) << r.Name.toStdString();
        EXPECT_GE(r.Connections, 1) << r.Name.toStdString();
    }
    EXPECT_EQ(Find(reports, "open and close").Connections, 500);

    // A frame size the game never uses ends the connection at once; so does a stream of
    // random bytes, whose first "header" already announces such a size.
    for (const char* size : {"frame size -1", "frame size 0", "frame size 15", "frame size 8212",
                             "frame size 2147483647", "10000 random bytes"}) {
        const TAttackReport& r = Find(reports, size);
        EXPECT_EQ(r.ClosedByDealer, 1) << size;
        EXPECT_EQ(r.ClosedPromptly, 1) << size;
    }
    // Random pieces of a size the dealer accepts fail their CRC one by one.
    EXPECT_GT(Find(reports, "10000 random bytes, framed").CrcErrors, 0);

    // A frame that arrives a byte at a time is still taken whole (and acknowledged); it
    // came from a connection without a seat, so the table was not emptied.
    EXPECT_EQ(Find(reports, "one frame, a byte").AcksReceived, 1);

    // Every forged card play was refused: none of them reached the game (the chain above)
    // and the dealer dropped each one.
    int forged = 0;
    for (const TAttackReport& r : reports)
        if (r.Name.startsWith("forged"))
            forged += r.FramesSent - 2 - (r.Name.contains("JOIN_REQUEST") ? 1 : 0);
    EXPECT_GT(forged, 0);
    const auto dropped = s.EventCounts().find("dropped CARD_PLAY:");
    ASSERT_NE(dropped, s.EventCounts().end());
    EXPECT_EQ(dropped->second, forged);

    // The peer that never acknowledges is not kept for good.
    EXPECT_EQ(Find(reports, "joins as Sessiz").ClosedByDealer, 1);
    // None of the strangers put a box on the dealer's screen.
    for (const auto& [text, count] : s.Notices())
        ADD_FAILURE() << count << " x " << text.toStdString();
}

TEST(Hostile, ASeatThatNeverAcknowledgesIsGivenUpAndTheGameGoesOn)
{
    TScenarioOptions options;
    options.Hands = 2;
    options.Rounds = 0;
    options.SilentSeat = true;
    options.AckTimeoutMs = 1000;
    options.TimeoutMs = 120000;
    TScenario s(options);
    ASSERT_TRUE(s.Run()) << s.Failure().toStdString();
    ExpectWholeGame(s, options.Hands);
    ASSERT_NE(s.SilentSeatReport(), nullptr);
    EXPECT_EQ(s.SilentSeatReport()->ClosedByDealer, 1);
    EXPECT_EQ(s.Dealer().DealerSocket().ActiveConnections(), 2);
}

} // namespace

namespace {

// Attacks on the dealer's links and slots, each against a dealer of its own. Without the
// defences each one costs honest players their seats, or freezes the dealer for good (the
// attack's watchdog then ends the process).
TEST(Hostile, AttacksOnTheLinksAndSlotsCostTheAttackerOnly)
{
    EXPECT_TRUE(RunFreezeAttack(1, 3).StillServes);
    const TChatBurstResult burst = RunChatBurst(8);
    EXPECT_EQ(burst.PlayersDropped, 0);
    for (const int delay : {20, 100}) {
        const TJoinStormResult storm = RunJoinStorm(delay, 200);
        EXPECT_EQ(storm.CyclesWithHost, 200) << delay << " ms";
        EXPECT_TRUE(storm.HostKept) << delay << " ms";
        EXPECT_LE(storm.HostSeatNames, kNewsBurst + 10) << delay << " ms: told together, not one by one";
    }
    const TRejoinStormResult rejoins = RunRejoinStorm(100, 300);
    EXPECT_EQ(rejoins.CyclesWithVictim, 300);
    EXPECT_TRUE(rejoins.VictimKept);
    const TSlotFillResult filler = RunSlotFiller(40);
    EXPECT_EQ(filler.Joined, 4);
    EXPECT_TRUE(filler.CameBack);
    const TControlFloodResult flood = RunControlFlood(2000);
    EXPECT_GT(flood.FlooderConnections, 1) << "its ACKs and CRCERRORs count against the frame limit";
    EXPECT_LT(flood.LogBytes * 50, flood.FloodBytes) << "no log line per frame";
    EXPECT_GT(flood.RecordsPerSecondDuring, 0);
}

// Attacks on the table's fairness, each against a dealer of its own as zorbela-dealer runs
// it: the host cannot deal the cards it likes, and a second player behind the same address
// gets neither a silent player's seat nor her key.
TEST(Hostile, TheHostCannotStackTheDeckNorANeighbourTakeASeat)
{
    const TStackedDeckResult deck = RunStackedDeck();
    ASSERT_TRUE(deck.Dealt);
    EXPECT_FALSE(deck.VictimGotTheStack);
    const TNatTakeoverResult nat = RunNatTakeover();
    ASSERT_TRUE(nat.ElifSeated);
    EXPECT_FALSE(nat.MertTookTheSeat);
    EXPECT_FALSE(nat.MertGotAKey);
    EXPECT_TRUE(nat.ElifCameBack);
}

} // namespace
