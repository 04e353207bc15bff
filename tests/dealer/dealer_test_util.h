// Test players for the dealer: client packet sockets on loopback that record every message
// the dealer sends, each decoded into one readable line.
#pragma once

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QElapsedTimer>
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

inline void Settle(int ms = 200) { WaitFor([] { return false; }, ms); }

inline bool SameRecord(const TGameInfo& a, const TGameInfo& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

inline qint64 Now()
{
    static QElapsedTimer clock = [] { QElapsedTimer c; c.start(); return c; }();
    return clock.elapsed();
}

// The first card of the seat's hand that the legality rule accepts.
inline std::pair<uint8_t, uint8_t> FirstPlayable(const TGameInfo& g, int seat)
{
    std::string why;
    for (int i = 0; i < g.CardCount[seat]; ++i)
        if (IsPlayable(g, seat, g.CardSuit[seat][i], g.CardValue[seat][i], why))
            return {g.CardSuit[seat][i], g.CardValue[seat][i]};
    return {kNone, kNone};
}

// The seat whose action the game awaits: the chooser, or the player to move while fewer
// than four cards lie on the table; -1 otherwise.
inline int Awaited(const TGameInfo& g)
{
    if (g.Phase == psChoosing)
        return g.Chooser;
    if (g.Phase == psPlaying && g.TrickCount < 4)
        return g.Turn;
    return -1;
}

// "SEAT_NAME 1 Ali", "TRICK_TAKER 2", "GAME_RECORD" ...
inline QString Describe(TPacketType type, const QByteArray& payload)
{
    const auto* buf = reinterpret_cast<const uint8_t*>(payload.constData());
    const auto n = int32_t(payload.size());
    uint8_t seat = 0;
    QString text;
    switch (type) {
    case GAME_RECORD: return QStringLiteral("GAME_RECORD");
    case CHAT_TEXT: return ReadChatText(buf, n, text) ? "CHAT_TEXT " + text : "?";
    case JOIN_ACCEPTED: return ReadJoinAccepted(buf, n, seat, text) ? QStringLiteral("JOIN_ACCEPTED %1 %2").arg(seat).arg(text) : "?";
    case STATUS_TEXT: return ReadStatusText(buf, n, text) ? "STATUS_TEXT " + text : "?";
    case SEAT_NAME: return ReadSeatName(buf, n, seat, text) ? QStringLiteral("SEAT_NAME %1 %2").arg(seat).arg(text) : "?";
    case TABLE_FULL: return QStringLiteral("TABLE_FULL");
    case TRICK_TAKER: return ReadTrickTaker(buf, n, seat) ? QStringLiteral("TRICK_TAKER %1").arg(seat) : "?";
    case TRICK_CLEAR: return QStringLiteral("TRICK_CLEAR");
    default: return QStringLiteral("TYPE %1").arg(int(type));
    }
}

inline QString StatusLine(int missing)
{
    return QStringLiteral("STATUS_TEXT Oyuna başlamak için %1 kişi bekleniyor... (Mevcut oyuncularla "
                          "başlamak için F2 tuşuna basın)").arg(missing);
}

inline QString AcceptedLine(int seat)
{
    return QStringLiteral("JOIN_ACCEPTED %1 Oyuna katıldın (%2. oyuncu olarak)").arg(seat).arg(seat + 1);
}

struct TReceived {
    TPacketType Type;
    QByteArray Payload;
    QString Line;
    // The record a GAME_RECORD carries.
    TGameInfo Record() const
    {
        TGameInfo g{};
        std::memcpy(&g, Payload.constData(), std::min<std::size_t>(sizeof g, std::size_t(Payload.size())));
        return g;
    }
};

// A player connected to the dealer; with join it sends JOIN_REQUEST once connected.
class TTestPlayer {
public:
    TClientPacketSocket Socket;
    std::vector<TReceived> Received;
    std::function<void(const TReceived&)> OnReceived; // after recording
    bool Disconnected = false;

    TTestPlayer(quint16 port, const QString& name, bool join)
    {
        Socket.OnPacketRead = [this](QTcpSocket*, TPacketType t, const uint8_t* buf, int32_t n) {
            const QByteArray payload(reinterpret_cast<const char*>(buf), n);
            Received.push_back({t, payload, Describe(t, payload)});
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
        return int(std::count_if(Received.begin(), Received.end(), [type](const TReceived& r) { return r.Type == type; }));
    }
    bool Has(const QString& line) const { return Lines().contains(line); }
    bool WaitLine(const QString& line) { return WaitFor([&] { return Has(line); }); }
    bool WaitCount(TPacketType type, int count) { return WaitFor([&] { return Count(type) >= count; }); }
    std::vector<TGameInfo> Records() const
    {
        std::vector<TGameInfo> records;
        for (const TReceived& r : Received)
            if (r.Type == GAME_RECORD)
                records.push_back(r.Record());
        return records;
    }
    TGameInfo LastRecord() const { return Records().empty() ? TGameInfo{} : Records().back(); }
    void SendRaw(TPacketType type, const QByteArray& payload = {})
    {
        Socket.PacketMakeAndSend(type, payload.constData(), int32_t(payload.size()));
    }
    // Sends the seat's action on g as a client does when the computer acts for its user:
    // the computer player decides on a copy of the record. False when g awaits no action
    // of the seat.
    bool SendOwnMove(int seat, const TGameInfo& g, TRandom& random)
    {
        TGameInfo copy = g;
        TComputerPlayer me;
        const int acted = Awaited(g) == seat ? ComputerMove(me, seat, copy, random) : 0;
        if (acted == 2)
            SendContractChoice(Socket, copy.Contract);
        else if (acted == 1)
            SendCardPlay(Socket, uint8_t(seat), copy.TrickSuit[g.TrickCount], copy.TrickValue[g.TrickCount]);
        return acted != 0;
    }
    // Sends a chat line and waits for its echo: everything sent before has been handled.
    bool Sync(const QString& mark = QStringLiteral("sync"))
    {
        const int before = int(Lines().count("CHAT_TEXT " + mark));
        SendChatText(Socket, mark);
        return WaitFor([&] { return Lines().count("CHAT_TEXT " + mark) > before; });
    }
};

// A dealer on a free port, its last-hand file in a temporary folder, and its players.
struct TDealerFixture : ::testing::Test {
    QTemporaryDir folder;
    std::unique_ptr<TDealerThread> dealer;
    std::vector<std::unique_ptr<TTestPlayer>> players;
    std::vector<std::pair<qint64, QString>> events; // the dealer's lines, with the time
    TRandom random{20261207};
    int joinTimeoutMs = kJoinTimeoutMs;
    int ackTimeoutMs = kAckTimeoutMs;
    int probeMs = kProbeMs;
    std::function<std::unique_ptr<TMoveSource>(TRandom&)> level; // empty: Acemi

    void StartDealer(bool quick = false, int resolveExtraMs = kTrickResolveExtraMs)
    {
        players.clear();
        dealer.reset();
        TDealerOptions options;
        options.Port = 0;
        options.Quick = quick;
        options.TrickResolveExtraMs = resolveExtraMs;
        options.LastHandFolder = folder.path();
        options.Random = &random;
        options.JoinTimeoutMs = joinTimeoutMs;
        options.AckTimeoutMs = ackTimeoutMs;
        options.ProbeMs = probeMs;
        options.ComputerLevel = level;
        // Shortened pacing lets a player send faster than any real one could.
        if (resolveExtraMs < kTrickResolveExtraMs)
            options.MaxDataFrames = 0;
        dealer = std::make_unique<TDealerThread>(options);
        dealer->OnEvent = [this](const QString& line) { events.emplace_back(Now(), line); };
        ASSERT_TRUE(dealer->Listening());
    }

    void TearDown() override
    {
        players.clear();
        dealer.reset();
    }

    // Connects a player and, with join, waits until it is seated and knows every seat.
    TTestPlayer& Join(const QString& name, bool join = true)
    {
        const int seats = dealer->SeatCount();
        TTestPlayer& p = *players.emplace_back(std::make_unique<TTestPlayer>(dealer->Port(), name, join));
        EXPECT_TRUE(WaitFor([&] {
            return join ? p.Count(JOIN_ACCEPTED) > 0 && p.Count(SEAT_NAME) > seats : p.Socket.Connected();
        }));
        return p;
    }
    TTestPlayer& P(int seat) { return *players[std::size_t(seat)]; }

    // The time of the dealer's first line that starts with one of the texts; -1 for none.
    int EventCount(const QString& part) const
    {
        return int(std::count_if(events.begin(), events.end(), [&](const auto& e) { return e.second.contains(part); }));
    }
    qint64 EventAt(const QStringList& starts) const
    {
        for (const auto& [at, line] : events)
            for (const QString& s : starts)
                if (line.startsWith(s))
                    return at;
        return -1;
    }
};
