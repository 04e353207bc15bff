// zorbela-hostile: a game under attack, in one process: a dealer, two players of ours and
// two computer seats play while hostile peers run against the dealer (see hostilepeers.h).
// Prints the process's resident memory before the attacks, at the peak and after, what
// every attack did, and whether the players' records form an unbroken chain.
#include <cstdio>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <malloc.h>

#include "linkattacks.h"
#include "recordchain.h"
#include "scenario.h"
#include "tableattacks.h"

namespace {

// Resident memory of this process in KiB (VmRSS of /proc/self/status); -1 when unknown.
long ResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

double MiB(long kib) { return kib / 1024.0; }

void PrintUstaPacing()
{
    const TUstaPacingResult usta = RunUstaPacing(20, 60000);
    std::printf("Usta seats (\"Hızlı\"), record to card: one legal card %d moves, mean %.1f ms (%.1f..%.1f); "
                "more %d moves, mean %.1f ms (%.1f..%.1f)\n", usta.One, usta.OneMeanMs, usta.OneMinMs, usta.OneMaxMs,
                usta.Many, usta.ManyMeanMs, usta.ManyMinMs, usta.ManyMaxMs);
    std::fflush(stdout);
}

// Each attack on the links and slots with the figure that says whether it worked.
int RunLinkAttacks()
{
    const TChatBurstResult burst = RunChatBurst(8);
    std::printf("chat burst (8 lines of 8,191 bytes): %d of %d players dropped, sender %s\n", burst.PlayersDropped,
                burst.Players, burst.SenderDropped ? "dropped" : "kept");
    std::fflush(stdout);
    for (const int delay : {20, 100}) {
        const TJoinStormResult storm = RunJoinStorm(delay, 300);
        std::printf("join storm, host %d ms away: host kept through %d of %d join cycles, %s at the end; it was sent "
                    "%d SEAT_NAME\n", delay, storm.CyclesWithHost, storm.Cycles, storm.HostKept ? "still the host" : "GONE",
                    storm.HostSeatNames);
        std::fflush(stdout);
    }
    for (const int delay : {50, 100}) {
        const TRejoinStormResult storm = RunRejoinStorm(delay, 300);
        std::printf("rejoin storm, a player %d ms away: kept through %d of %d leave-and-return cycles, %s at the end; "
                    "it was sent %d chat lines\n", delay, storm.CyclesWithVictim, storm.Cycles,
                    storm.VictimKept ? "still connected" : "GONE", storm.VictimChats);
        std::fflush(stdout);
    }
    for (const bool defended : {false, true}) {
        const TStackedDeckResult deck = RunStackedDeck(!defended);
        std::printf("stacked deck (%s): the other player %s the cards the host chose\n",
                    defended ? "as zorbela-dealer runs" : "a table that takes the host's records as they are",
                    !deck.Dealt ? "was NOT DEALT," : deck.VictimGotTheStack ? "HELD" : "did not hold");
    }
    const TNatTakeoverResult nat = RunNatTakeover();
    std::printf("two players behind one address: the second %s the silent player's seat%s; her key %s\n",
                nat.MertTookTheSeat ? "TOOK" : "did not take", nat.MertGotAKey ? " and A KEY" : "",
                nat.ElifCameBack ? "took it back" : "DID NOT take it back");
    PrintUstaPacing();
    const TSlotFillResult filler = RunSlotFiller(40);
    std::printf("slot filler (40 idle connections, %d opened in all): %d of %d joins seated, dropped player %s\n",
                filler.IdleOpened, filler.Joined, filler.JoinAttempts, filler.CameBack ? "came back" : "KEPT OUT");
    std::fflush(stdout);
    const TControlFloodResult flood = RunControlFlood(3000);
    std::printf("control flood (3 s): records/s %.1f before, %.1f during; %lld bytes of ACK/CRCERROR taken on %d "
                "connections; log grew %lld bytes\n",
                flood.RecordsPerSecondBefore, flood.RecordsPerSecondDuring, static_cast<long long>(flood.FloodBytes),
                flood.FlooderConnections, static_cast<long long>(flood.LogBytes));
    // Last: on a dealer that freezes, the watchdog ends the process.
    const TFreezeResult freeze = RunFreezeAttack(3, 10);
    std::printf("freeze: %d connections reset right after a frame; the dealer %s\n", freeze.Resets,
                freeze.StillServes ? "still seats a player" : "SEATS NOBODY");
    std::fflush(stdout);
    return freeze.StillServes ? 0 : 1;
}

int Option(const QCommandLineParser& parser, const QCommandLineOption& option)
{
    bool ok = false;
    const int value = parser.value(option).toInt(&ok);
    if (!ok || value < 0) {
        std::fprintf(stderr, "zorbela-hostile: bad value '%s'\n", qPrintable(parser.value(option)));
        std::exit(2);
    }
    return value;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zorbela-hostile"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Plays a game against hostile peers and prints the memory figure."));
    parser.addHelpOption();
    const QCommandLineOption rounds(QStringLiteral("rounds"), QStringLiteral("Rounds of attacks (default 1)."),
                                    QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption hands(QStringLiteral("hands"), QStringLiteral("Hands to play at least (default 20)."),
                                   QStringLiteral("N"), QStringLiteral("20"));
    const QCommandLineOption churn(QStringLiteral("churn"),
                                   QStringLiteral("Connections opened and closed per round (default 500)."),
                                   QStringLiteral("N"), QStringLiteral("500"));
    const QCommandLineOption silent(QStringLiteral("silent-seat"),
                                    QStringLiteral("Seat 2 is held by a peer that never acknowledges."));
    const QCommandLineOption links(QStringLiteral("links"),
                                   QStringLiteral("Runs the attacks on the dealer's links and slots instead, and prints their figures."));
    const QCommandLineOption usta(QStringLiteral("usta-pacing"),
                                  QStringLiteral("Prints only how long Usta seats take to play a card, by legal cards."));
    parser.addOptions({rounds, hands, churn, silent, links, usta});
    parser.process(app);
    if (parser.isSet(usta)) {
        PrintUstaPacing();
        return 0;
    }
    if (parser.isSet(links))
        return RunLinkAttacks();

    TScenarioOptions options;
    options.Rounds = Option(parser, rounds);
    options.Hands = Option(parser, hands);
    options.Churn = Option(parser, churn);
    options.SilentSeat = parser.isSet(silent);
    long peak = 0;
    options.Tick = [&peak] { peak = std::max(peak, ResidentKiB()); };

    TScenario scenario(options);
    const long before = ResidentKiB();
    peak = before;
    const bool ok = scenario.Run();
    const long after = ResidentKiB();
    malloc_trim(0);
    const long trimmed = ResidentKiB();

    std::printf("resident memory: before %.1f MiB, peak %.1f MiB, after %.1f MiB (%+.1f MiB), "
                "after malloc_trim %.1f MiB (%+.1f MiB)\n",
                MiB(before), MiB(peak), MiB(after), MiB(after - before), MiB(trimmed), MiB(trimmed - before));
    for (const TAttackReport& r : scenario.Reports())
        std::printf("attack %-40s connections %4d, closed by the dealer %4d (promptly %d), sent %7lld bytes "
                    "in %3d frames, received %3d frames (TABLE_FULL %d, ACK %d, CRCERROR %d), longest open %lld ms\n",
                    qPrintable(r.Name), r.Connections, r.ClosedByDealer, r.ClosedPromptly, r.BytesSent, r.FramesSent,
                    r.FramesReceived, r.TableFull, r.AcksReceived, r.CrcErrors, r.LongestOpenMs);
    for (const auto& [words, count] : scenario.EventCounts())
        std::printf("dealer: %5d x %s\n", count, qPrintable(words));
    for (const auto& [text, count] : scenario.Notices())
        std::printf("notice: %5d x %s\n", count, qPrintable(text));
    for (int seat = 0; seat < 2; ++seat) {
        const TChainCheck chain = CheckChain(scenario.Player(seat).Records);
        std::printf("seat %d: %zu records, %d hands over, %d games, %d full tricks, %zu TRICK_TAKER, %d TRICK_CLEAR: %s\n",
                    seat, scenario.Player(seat).Records.size(), chain.Hands, chain.Games, chain.TrickCompletes,
                    scenario.Player(seat).Takers.size(), scenario.Player(seat).Clears,
                    chain.Ok() ? "unbroken" : chain.Fault.c_str());
    }
    std::printf("connections at the dealer at the end: %d\n", scenario.Dealer().DealerSocket().ActiveConnections());
    if (!ok) {
        std::printf("FAILED: %s\n", qPrintable(scenario.Failure()));
        return 1;
    }
    return 0;
}
