#include "linkattacks.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <vector>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QHostAddress>
#include <QLoggingCategory>
#include <QTimer>

#include "attackdealer.h"
#include "delayproxy.h"
#include "freezeguard.h"
#include "payload.h"

namespace {

const QString kHost = QStringLiteral("127.0.0.1");

QByteArray Frame(TPacketType type, uint32_t stamp, const QByteArray& payload = {})
{
    return BuildFrame(type, stamp, payload.constData(), int32_t(payload.size()));
}

QByteArray Text(const QString& text)
{
    return TPayloadWriter().Text(text).Bytes();
}

std::unique_ptr<QTcpSocket> RawConnect(quint16 port)
{
    auto socket = std::make_unique<QTcpSocket>();
    socket->connectToHost(QHostAddress::LocalHost, port);
    RunEventsUntil([&] { return socket->state() == QAbstractSocket::ConnectedState; }, 3000);
    return socket;
}

} // namespace

bool RunEventsUntil(const std::function<bool()>& done, int timeoutMs, const std::function<void()>& tick)
{
    if (done())
        return true;
    QEventLoop loop;
    QElapsedTimer clock, sinceTick;
    clock.start();
    sinceTick.start();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (tick && sinceTick.elapsed() >= 50) {
            sinceTick.restart();
            tick();
        }
        if (done() || clock.elapsed() >= timeoutMs)
            loop.quit();
    });
    poll.start(10);
    loop.exec();
    return done();
}

TFreezeResult RunFreezeAttack(int rounds, int quits)
{
    TWatchdog watchdog("the frame-and-reset attack", std::chrono::seconds(60 + 5 * (rounds + quits)));
    TFreezeResult result;
    TTestDealer dealer;
    const auto connections = [&] { return dealer.dealer->DealerSocket().ActiveConnections(); };
    QByteArray spoilt = Frame(CHAT_TEXT, 4, Text(QStringLiteral("x")));
    spoilt[spoilt.size() - 1] = 'y';
    const QByteArray kinds[] = {Frame(JOIN_REQUEST, 1, Text(QStringLiteral("Sıfırla"))),
                                Frame(CHAT_TEXT, 2, Text(QStringLiteral("Sıfırla> selam"))),
                                BuildControlFrame(CRCERROR, ACK), spoilt};
    for (int round = 0; round < rounds; ++round) {
        for (const QByteArray& frame : kinds) {
            auto peer = RawConnect(dealer.Port());
            RunEventsUntil([&] { return connections() == 1; }, 3000);
            WriteAndReset(*peer, frame);
            ++result.Resets;
            RunEventsUntil([&] { return connections() == 0; }, 3000);
        }
    }
    for (int quit = 0; quit < quits; ++quit) {
        // Seated, with the dealer's frames left unread: a chat line, then a reset.
        auto peer = RawConnect(dealer.Port());
        peer->write(Frame(JOIN_REQUEST, 10, Text(QStringLiteral("Kaçak"))));
        RunEventsUntil([&] { return dealer.dealer->SeatCount() == 1; }, 3000);
        WriteAndReset(*peer, Frame(CHAT_TEXT, 11, Text(QStringLiteral("Kaçak> hoşça kalın"))));
        ++result.Resets;
        RunEventsUntil([&] { return connections() == 0; }, 3000);
    }
    const auto player = Seated(dealer.Port(), QStringLiteral("Sonra"));
    result.StillServes = player->Seat != kNoSeat;
    return result;
}

TChatBurstResult RunChatBurst(int lines)
{
    TChatBurstResult result;
    TTestDealer dealer;
    std::vector<std::unique_ptr<TAutoPlayer>> players;
    for (int i = 0; i < result.Players; ++i)
        players.push_back(Seated(dealer.Port(), QStringLiteral("Oyuncu%1").arg(i + 1)));
    auto sender = RawConnect(dealer.Port());
    sender->write(Frame(JOIN_REQUEST, 1, Text(QStringLiteral("Geveze"))));
    RunEventsUntil([&] { return dealer.dealer->SeatCount() == 4; }, 3000);
    const QString line = QStringLiteral("Geveze> ") + QString(kMaxTextLength - 8, QLatin1Char('x'));
    QByteArray burst;
    for (int i = 0; i < lines; ++i)
        burst += Frame(CHAT_TEXT, uint32_t(2 + i), Text(line));
    sender->write(burst);
    RunEventsUntil([&] {
        for (const auto& p : players)
            if (p->Chats < lines && !p->Disconnected)
                return false;
        return true;
    }, 10000);
    RunEventsUntil([] { return false; }, 300);
    for (const auto& p : players)
        result.PlayersDropped += p->Disconnected ? 1 : 0;
    result.SenderDropped = sender->state() != QAbstractSocket::ConnectedState;
    return result;
}

TJoinStormResult RunJoinStorm(int delayMs, int cycles)
{
    TJoinStormResult result;
    TTestDealer dealer;
    TDelayProxy proxy(dealer.Port(), delayMs);
    const auto host = Seated(proxy.Port(), QStringLiteral("Ev"), 3000 + 20 * delayMs);
    if (host->Seat != 0)
        return result;
    const int seatNames = host->SeatNames;
    for (int cycle = 0; cycle < cycles; ++cycle) {
        const auto stranger = Seated(dealer.Port(), QStringLiteral("Yabancı"));
        ++result.Cycles;
        if (!host->Disconnected)
            ++result.CyclesWithHost;
    }
    RunEventsUntil([&] { return host->Disconnected; }, 500);
    result.HostSeatNames = host->SeatNames - seatNames;
    result.HostKept = !host->Disconnected && dealer.dealer->Seats().size() > 0 && host->Seat == 0;
    return result;
}

TSlotFillResult RunSlotFiller(int idle)
{
    TSlotFillResult result;
    TTestDealer dealer;
    std::vector<std::unique_ptr<QTcpSocket>> crowd;
    constexpr int kMostOpened = 2000;
    const auto fill = [&] {
        // Every idle connection the dealer closed is opened again at once.
        for (auto& socket : crowd)
            if (socket->state() == QAbstractSocket::UnconnectedState && result.IdleOpened < kMostOpened) {
                socket->connectToHost(QHostAddress::LocalHost, dealer.Port());
                ++result.IdleOpened;
            }
    };
    for (int i = 0; i < idle; ++i) {
        crowd.push_back(std::make_unique<QTcpSocket>());
        crowd.back()->connectToHost(QHostAddress::LocalHost, dealer.Port());
        ++result.IdleOpened;
    }
    RunEventsUntil([] { return false; }, 300, fill);
    std::vector<std::unique_ptr<TAutoPlayer>> players;
    for (int i = 0; i < 4; ++i) {
        auto player = std::make_unique<TAutoPlayer>(kHost, dealer.Port(), QStringLiteral("Oyuncu%1").arg(i + 1), 1);
        ++result.JoinAttempts;
        RunEventsUntil([&] { return player->Seat != kNoSeat || player->Disconnected; }, 3000, fill);
        result.Joined += player->Seat != kNoSeat ? 1 : 0;
        players.push_back(std::move(player));
    }
    if (result.Joined == 4) {
        players[0]->Session.SendNewGame();
        RunEventsUntil([&] { return !players[3]->Records.empty(); }, 5000, fill);
        players[3]->Paused = true;
        players[3]->Session.Close();
        RunEventsUntil([&] { return dealer.dealer->ComputerCount() == 1; }, 3000, fill);
        const auto back = std::make_unique<TAutoPlayer>(kHost, dealer.Port(), QStringLiteral("Oyuncu4"), 1);
        back->Session.JoinKey = players[3]->Session.Joined.Key; // our program returns with its key
        RunEventsUntil([&] { return back->Seat != kNoSeat || back->Disconnected; }, 3000, fill);
        result.CameBack = back->Seat == 3;
        for (auto& p : players)
            p->Paused = true;
    }
    return result;
}

namespace {

std::atomic<qint64> logBytes{0}; // the dealer's thread and this one both log
void CountLog(QtMsgType, const QMessageLogContext&, const QString& text)
{
    logBytes += text.toUtf8().size() + 1;
}

} // namespace

TControlFloodResult RunControlFlood(int floodMs)
{
    TControlFloodResult result;
    TTestDealer dealer;
    const auto host = Seated(dealer.Port(), QStringLiteral("Ev"));
    const auto guest = Seated(dealer.Port(), QStringLiteral("Misafir"));
    host->RestartWhenOver = true;
    host->OnTableComplete = [](TAutoPlayer& p) { p.Session.SendNewGame(); };
    host->Session.SendStartNow();
    RunEventsUntil([&] { return host->Records.size() >= 3; }, 5000);
    // What zorbela-dealer writes to its log: the dealer's lines and the transport's messages.
    QLoggingCategory::setFilterRules(QStringLiteral("zorbela.dealer.info=true"));
    const QtMessageHandler previous = qInstallMessageHandler(CountLog);
    logBytes = 0;
    std::size_t start = host->Records.size();
    RunEventsUntil([] { return false; }, floodMs);
    result.RecordsPerSecondBefore = double(host->Records.size() - start) * 1000.0 / floodMs;

    std::unique_ptr<QTcpSocket> flooder;
    QByteArray chunk;
    for (uint32_t i = 0; i < 2048; ++i)
        chunk += BuildControlFrame(i % 8 == 7 ? CRCERROR : ACK, i % 8 == 7 ? uint32_t(CARD_PLAY) : 5000 + i);
    const auto flood = [&] {
        if (!flooder || flooder->state() == QAbstractSocket::UnconnectedState) {
            if (result.FlooderConnections >= 1000)
                return;
            flooder = std::make_unique<QTcpSocket>();
            flooder->connectToHost(QHostAddress::LocalHost, dealer.Port());
            ++result.FlooderConnections;
        }
        if (flooder->state() != QAbstractSocket::ConnectedState)
            return;
        while (flooder->bytesToWrite() < 4 * chunk.size()) {
            flooder->write(chunk);
            result.FloodBytes += chunk.size();
        }
        flooder->readAll();
    };
    QTimer pump;
    QObject::connect(&pump, &QTimer::timeout, flood);
    pump.start(1);
    start = host->Records.size();
    RunEventsUntil([] { return false; }, floodMs);
    pump.stop();
    result.RecordsPerSecondDuring = double(host->Records.size() - start) * 1000.0 / floodMs;
    if (flooder) {
        result.FloodBytes -= flooder->bytesToWrite();
        flooder->abort();
    }
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QString());
    result.LogBytes = logBytes;
    host->Paused = guest->Paused = true;
    return result;
}
