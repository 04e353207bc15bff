// Test players for the dealer: each is a client packet socket on loopback that records
// every message the dealer sends it, decoded into one readable line.
#pragma once

#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include "clientpacketsocket.h"
#include "dealerthread.h"
#include "payload.h"
#include "sendplayerpackets.h"

// Runs the event loop until done() holds or timeoutMs passes; returns done().
inline bool WaitFor(const std::function<bool()>& done, int timeoutMs = 10000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return done();
}

// Runs the event loop for a while, to see that nothing more happens.
inline void Settle(int ms = 200)
{
    WaitFor([] { return false; }, ms);
}

inline bool SameRecord(const TGameInfo& a, const TGameInfo& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

struct TReceived {
    TPacketType Type;
    QByteArray Payload;
    qint64 At; // ms on the test's clock
    QString Line;
};

inline QElapsedTimer& TestClock()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer c;
        c.start();
        return c;
    }();
    return clock;
}

// One line per dealer message: "SEAT_NAME 1 Ali", "TABLE_FULL", "GAME_RECORD" ...
inline QString Describe(TPacketType type, const QByteArray& payload)
{
    const auto* buf = reinterpret_cast<const uint8_t*>(payload.constData());
    const auto n = int32_t(payload.size());
    uint8_t seat = 0;
    QString text;
    switch (type) {
    case GAME_RECORD: return QStringLiteral("GAME_RECORD");
    case CHAT_TEXT: return ReadChatText(buf, n, text) ? "CHAT_TEXT " + text : "CHAT_TEXT ?";
    case JOIN_ACCEPTED:
        return ReadJoinAccepted(buf, n, seat, text) ? QStringLiteral("JOIN_ACCEPTED %1 %2").arg(seat).arg(text)
                                                    : "JOIN_ACCEPTED ?";
    case STATUS_TEXT: return ReadStatusText(buf, n, text) ? "STATUS_TEXT " + text : "STATUS_TEXT ?";
    case SEAT_NAME:
        return ReadSeatName(buf, n, seat, text) ? QStringLiteral("SEAT_NAME %1 %2").arg(seat).arg(text)
                                                : "SEAT_NAME ?";
    case TABLE_FULL: return QStringLiteral("TABLE_FULL");
    case TRICK_TAKER: return ReadTrickTaker(buf, n, seat) ? QStringLiteral("TRICK_TAKER %1").arg(seat) : "TRICK_TAKER ?";
    case TRICK_CLEAR: return QStringLiteral("TRICK_CLEAR");
    default: return QStringLiteral("TYPE %1").arg(int(type));
    }
}

inline QString StatusLine(int missing)
{
    return QStringLiteral("STATUS_TEXT Oyuna başlamak için %1 kişi bekleniyor... (Mevcut oyuncularla "
                          "başlamak için F2 tuşuna basın)")
        .arg(missing);
}

inline QString AcceptedLine(int seat)
{
    return QStringLiteral("JOIN_ACCEPTED %1 Oyuna katıldın (%2. oyuncu olarak)").arg(seat).arg(seat + 1);
}

// A player connected to the dealer. With a name it sends JOIN_REQUEST as soon as it is
// connected, as every client does.
class TTestPlayer {
public:
    TClientPacketSocket Socket;
    std::vector<TReceived> Received;
    std::function<void(const TReceived&)> OnReceived; // after recording
    bool Disconnected = false;

    TTestPlayer(quint16 port, const QString& name, bool join = true)
    {
        Socket.OnPacketRead = [this](QTcpSocket*, TPacketType t, const uint8_t* buf, int32_t n) {
            const QByteArray payload(reinterpret_cast<const char*>(buf), n);
            Received.push_back({t, payload, TestClock().elapsed(), Describe(t, payload)});
            if (OnReceived)
                OnReceived(Received.back());
        };
        Socket.OnConnect = [this, name, join](QTcpSocket*) {
            if (join)
                SendJoinRequest(Socket, name);
        };
        Socket.OnDisconnect = [this](QTcpSocket*) { Disconnected = true; };
        Socket.OnMessage = [](const QString&) {};
        Socket.Open(QStringLiteral("127.0.0.1"), port);
    }

    QStringList Lines() const
    {
        QStringList lines;
        for (const TReceived& r : Received)
            lines << r.Line;
        return lines;
    }
    int Count(TPacketType type) const
    {
        int n = 0;
        for (const TReceived& r : Received)
            n += r.Type == type;
        return n;
    }
    bool Has(const QString& line) const { return Lines().contains(line); }
    bool WaitLine(const QString& line, int timeoutMs = 10000)
    {
        return WaitFor([&] { return Has(line); }, timeoutMs);
    }
    bool WaitCount(TPacketType type, int count, int timeoutMs = 10000)
    {
        return WaitFor([&] { return Count(type) >= count; }, timeoutMs);
    }
    TGameInfo LastRecord() const
    {
        TGameInfo g{};
        for (const TReceived& r : Received)
            if (r.Type == GAME_RECORD)
                std::memcpy(&g, r.Payload.constData(), sizeof g);
        return g;
    }
    // A message of any type with a hand-made payload.
    void SendRaw(TPacketType type, const QByteArray& payload = {})
    {
        Socket.PacketMakeAndSend(type, payload.constData(), int32_t(payload.size()));
    }
    // Sends a chat line and waits for the dealer's echo: everything this player sent
    // before has been handled by then (one connection delivers in order).
    bool Sync(const QString& mark = QStringLiteral("sync"))
    {
        const QString line = "CHAT_TEXT " + mark;
        const int before = int(Lines().count(line));
        SendChatText(Socket, mark);
        return WaitFor([&] { return Lines().count(line) > before; });
    }
};

// A dealer on a free port with its last-hand file in a temporary folder.
struct TDealerFixture : ::testing::Test {
    QTemporaryDir folder;
    std::unique_ptr<TDealerThread> dealer;
    std::vector<std::unique_ptr<TTestPlayer>> players;
    QStringList events;
    std::vector<std::pair<qint64, QString>> timedEvents; // ms on the test's clock
    TRandom random{20261207};

    void StartDealer(bool quick = false, int resolveExtraMs = kTrickResolveExtraMs)
    {
        ASSERT_TRUE(folder.isValid());
        TDealerOptions options;
        options.Port = 0;
        options.Quick = quick;
        options.TrickResolveExtraMs = resolveExtraMs;
        options.LastHandFolder = folder.path();
        options.Random = &random;
        dealer = std::make_unique<TDealerThread>(options);
        dealer->OnEvent = [this](const QString& line) {
            events << line;
            timedEvents.emplace_back(TestClock().elapsed(), line);
        };
        ASSERT_TRUE(dealer->Listening());
    }

    void TearDown() override
    {
        players.clear();
        dealer.reset();
    }

    // Connects a player and, with join, waits until it is seated.
    TTestPlayer& Join(const QString& name, bool join = true)
    {
        const int seats = dealer->SeatCount();
        players.push_back(std::make_unique<TTestPlayer>(dealer->Port(), name, join));
        TTestPlayer& p = *players.back();
        if (join)
            EXPECT_TRUE(WaitFor([&] { return dealer->SeatCount() > seats && p.Count(JOIN_ACCEPTED) > 0; }));
        else
            EXPECT_TRUE(WaitFor([&] { return p.Socket.Connected(); }));
        return p;
    }

    int EventCount(const QString& start) const
    {
        int n = 0;
        for (const QString& e : events)
            n += e.startsWith(start);
        return n;
    }
};
