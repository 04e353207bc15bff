#include "tableattacks.h"

#include <algorithm>
#include <numeric>
#include <set>
#include <vector>

#include <QElapsedTimer>

#include "attackdealer.h"
#include "dealerlevel.h"
#include "delayproxy.h"
#include "extension.h"
#include "hostilepeers.h"
#include "payload.h"

namespace {

// The dealer as zorbela-dealer sets it up: the first to join is its host, and it takes no
// game record from that host.
TDealerOptions ServerOptions()
{
    TDealerOptions options;
    options.HostSendsRecords = false;
    return options;
}

std::set<int> HandOf(const TGameInfo& g, int seat)
{
    std::set<int> cards;
    for (int i = 0; i < g.CardCount[seat] && i < 13; ++i)
        cards.insert(g.CardSuit[seat][i] * 16 + g.CardValue[seat][i]);
    return cards;
}

int LegalCards(const TGameInfo& g, int seat)
{
    int legal = 0;
    for (int i = 0; i < g.CardCount[seat] && i < 13; ++i)
        legal += CanPlay(g, seat, g.CardSuit[seat][i], g.CardValue[seat][i]) ? 1 : 0;
    return legal;
}

// The host and one other player, the rest computer seats, and a game dealt.
struct TTwoPlayers {
    TTestDealer dealer;
    std::unique_ptr<TAutoPlayer> host, other;
    TTwoPlayers(const TDealerOptions& options, const QString& otherName) : dealer(options)
    {
        host = Seated(dealer.Port(), QStringLiteral("Ev"));
        other = Seated(dealer.Port(), otherName);
    }
    bool Deal()
    {
        host->Session.SendStartNow();
        host->Session.SendNewGame();
        return RunEventsUntil([&] { return !host->Records.empty() && !other->Records.empty(); }, 5000);
    }
};

} // namespace

TStackedDeckResult RunStackedDeck(bool hostSendsRecords)
{
    TStackedDeckResult result;
    TDealerOptions options = ServerOptions();
    // Without the defences: records taken from the host as they are.
    options.HostSendsRecords = hostSendsRecords;
    options.OpenHands = hostSendsRecords;
    TTwoPlayers table(options, QStringLiteral("Kurban"));
    table.host->Paused = table.other->Paused = true;
    result.Dealt = table.Deal();
    if (!result.Dealt)
        return result;
    // A deal the host knows to the last card, sent instead of a new game.
    TGameInfo stacked = *table.host->Last();
    TRandom chosen(424242);
    NewGame(stacked, chosen);
    const std::size_t before = table.other->Records.size();
    table.host->Session.SendGameRecord(stacked);
    table.host->Session.SendChatLine(QStringLiteral("bitti"));
    RunEventsUntil([&] { return table.other->Records.size() > before || table.other->Chats > 0; }, 3000);
    RunEventsUntil([] { return false; }, 200);
    const int seat = table.other->Seat;
    result.VictimGotTheStack = table.other->Records.size() > before && HandOf(*table.other->Last(), seat) == HandOf(stacked, seat);
    return result;
}

TNatTakeoverResult RunNatTakeover()
{
    TNatTakeoverResult result;
    TDealerOptions options = ServerOptions();
    options.ProbeMs = 300;
    TTestDealer dealer(options);
    const auto host = Seated(dealer.Port(), QStringLiteral("Ev"));
    host->Paused = true;

    // Elif's program: our extension, acknowledges until she has her key and a record.
    TAttackReport report;
    TRawPeer elif(report);
    elif.AckData = true;
    TJoinExtension elifs;
    bool dealt = false;
    elif.OnFrame = [&](TPacketType type, uint32_t, const QByteArray& payload) {
        if (type == JOIN_ACCEPTED)
            ReadJoinAcceptedExtension(reinterpret_cast<const uint8_t*>(payload.constData()), int32_t(payload.size()), elifs);
        dealt = dealt || type == GAME_RECORD;
    };
    elif.OnConnected = [&] {
        TJoinExtension asked;
        asked.Flags = TJoinExtension::kKnowsMessages;
        elif.SendFrame(JOIN_REQUEST, TPayloadWriter().Text(QStringLiteral("Elif")).Bytes() + JoinExtensionBytes(asked));
    };
    elif.Open(QStringLiteral("127.0.0.1"), dealer.Port());
    RunEventsUntil([&] { return elifs.HasKey(); }, 3000);
    const auto mert = Seated(dealer.Port(), QStringLiteral("Mert")); // the same address, as behind one router
    mert->Paused = true;
    host->Session.SendStartNow();
    host->Session.SendNewGame();
    RunEventsUntil([&] { return dealt; }, 5000);
    result.ElifSeated = elifs.HasKey() && dealt;
    if (!result.ElifSeated)
        return result;

    // Elif's program goes silent: it acknowledges nothing and answers no request for a sign
    // of life. Mert's second connection asks for her seat by her name.
    elif.AckData = false;
    const auto grab = Seated(dealer.Port(), QStringLiteral("Elif"), 3000);
    result.MertTookTheSeat = grab->Seat != kNoSeat;
    result.MertGotAKey = result.MertTookTheSeat && grab->Session.Joined.HasKey();

    // Her program restarts and comes back with her key.
    elif.Close();
    RunEventsUntil([&] { return dealer.dealer->ComputerCount() == 1 && dealer.dealer->Seats()[1].Connection == kNoConnection; }, 3000);
    const auto back = Seated(dealer.Port(), QStringLiteral("Elif"), 3000, elifs.Key);
    result.ElifCameBack = back->Seat == 1;
    return result;
}

TRejoinStormResult RunRejoinStorm(int delayMs, int cycles)
{
    TRejoinStormResult result;
    TTestDealer dealer(ServerOptions(), false); // the game's own pace: few records meanwhile
    TDelayProxy proxy(dealer.Port(), delayMs);
    const auto host = Seated(dealer.Port(), QStringLiteral("Ev"));
    const auto victim = Seated(proxy.Port(), QStringLiteral("Uzak"), 3000 + 20 * delayMs);
    auto rover = Seated(dealer.Port(), QStringLiteral("Gezgin"));
    host->Session.SendStartNow();
    host->Session.SendNewGame();
    if (!RunEventsUntil([&] { return !rover->Records.empty() && !victim->Records.empty(); }, 5000 + 20 * delayMs))
        return result;
    const int seat = rover->Seat;
    const int chats = victim->Chats;
    for (int cycle = 0; cycle < cycles; ++cycle) {
        const TSeatKey key = rover->Session.Joined.Key;
        rover.reset();
        RunEventsUntil([&] { return dealer.dealer->Seats()[seat].Connection == kNoConnection; }, 3000);
        rover = Seated(dealer.Port(), QStringLiteral("Gezgin"), 3000, key);
        if (rover->Seat != seat)
            break;
        ++result.Cycles;
        if (!victim->Disconnected)
            ++result.CyclesWithVictim;
    }
    RunEventsUntil([&] { return victim->Disconnected; }, 1500);
    result.VictimKept = !victim->Disconnected;
    result.VictimChats = victim->Chats - chats;
    return result;
}

TUstaPacingResult RunUstaPacing(int singles, int timeoutMs)
{
    TDealerOptions options;
    options.OpenHands = true; // so that the measurement knows every hand
    SetComputerLevel(options, TComputerLevel::Usta);
    TTestDealer dealer(options);
    const auto host = Seated(dealer.Port(), QStringLiteral("Ev"));
    host->RestartWhenOver = true;
    std::vector<double> one, many;
    QElapsedTimer clock;
    clock.start();
    TGameInfo last{};
    double lastAt = -1;
    QObject::connect(&host->Session, &TSession::recordChanged, [&] {
        const TGameInfo& g = host->Session.Record();
        const double now = double(clock.nsecsElapsed()) / 1e6;
        if (lastAt >= 0 && last.Phase == psPlaying && last.Turn != host->Seat && g.TrickCount == last.TrickCount + 1)
            (LegalCards(last, last.Turn) == 1 ? one : many).push_back(now - lastAt);
        last = g;
        lastAt = now;
    });
    host->Session.SendStartNow();
    host->Session.SendNewGame();
    RunEventsUntil([&] { return int(one.size()) >= singles && many.size() >= one.size(); }, timeoutMs);
    TUstaPacingResult result;
    const auto figures = [](const std::vector<double>& times, int& n, double& mean, double& least, double& most) {
        n = int(times.size());
        if (times.empty())
            return;
        mean = std::accumulate(times.begin(), times.end(), 0.0) / double(times.size());
        least = *std::min_element(times.begin(), times.end());
        most = *std::max_element(times.begin(), times.end());
    };
    figures(one, result.One, result.OneMeanMs, result.OneMinMs, result.OneMaxMs);
    figures(many, result.Many, result.ManyMeanMs, result.ManyMinMs, result.ManyMaxMs);
    host->Paused = true;
    return result;
}
