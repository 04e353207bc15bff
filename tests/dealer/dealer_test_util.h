// Test players for the dealer, each recording every message the dealer sends decoded into
// one readable line: in process on the manual clock (TTableFixture, most tests), or over
// loopback TCP on the real clock (TDealerFixture, the tests of the TCP adapter).
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

#include "dealerthread.h"
#include "eventwait.h"
#include "gamefiles.h"
#include "localtable.h"
#include "payload.h"
#include "locallink.h"
#include "tcplink.h"

using TWait = std::function<bool(const std::function<bool()>& done, int limitMs)>;

// The fixtures have their own WaitFor and Settle, which tests inside them use: over TCP
// those of eventwait.h, in process the table's manual clock.

inline bool SameRecord(const TGameInfo& a, const TGameInfo& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The first card of the seat's hand that the legality rule accepts.
inline std::pair<uint8_t, uint8_t> FirstPlayable(const TGameInfo& g, int seat)
{
    std::string why;
    for (int i = 0; i < g.CardCount[seat]; ++i)
        if (IsPlayable(g, seat, g.CardSuit[seat][i], g.CardValue[seat][i], why))
            return {g.CardSuit[seat][i], g.CardValue[seat][i]};
    return {kNone, kNone};
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

// A player at the dealer, however it is connected.
class TTestPlayer {
public:
    std::vector<TReceived> Received;
    std::function<void(const TReceived&)> OnReceived; // after recording
    bool Disconnected = false;
    TWait Wait;

    virtual ~TTestPlayer() = default;
    virtual void SendRaw(TPacketType type, const QByteArray& payload = {}) = 0;
    virtual void Close() = 0;

    void Record(TPacketType type, const QByteArray& payload)
    {
        Received.push_back({type, payload, Describe(type, payload)});
        if (OnReceived)
            OnReceived(Received.back());
    }

    // ---- The player's messages ----
    void JoinAs(const QString& name) { SendRaw(JOIN_REQUEST, TPayloadWriter().Text(name).Bytes()); }
    void NewGame() { SendRaw(NEW_GAME); }
    void StartNow() { SendRaw(START_NOW); }
    void WaitForPlayers() { SendRaw(WAIT_FOR_PLAYERS); }
    void Chat(const QString& text) { SendRaw(CHAT_TEXT, TPayloadWriter().Text(text).Bytes()); }
    void Load(const TGameInfo& g) { SendRaw(GAME_RECORD, TPayloadWriter().Record(g).Bytes()); }
    void Contract(uint8_t contract) { SendRaw(CONTRACT_CHOICE, TPayloadWriter().Byte(contract).Bytes()); }
    void Card(uint8_t seat, uint8_t suit, uint8_t value)
    {
        SendRaw(CARD_PLAY, TPayloadWriter().Byte(seat).Byte(suit).Byte(value).Bytes());
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
    const TReceived* Last(TPacketType type) const
    {
        for (auto it = Received.rbegin(); it != Received.rend(); ++it)
            if (it->Type == type)
                return &*it;
        return nullptr;
    }
    bool WaitLine(const QString& line) { return Wait([&] { return Has(line); }, 10000); }
    bool WaitCount(TPacketType type, int count) { return Wait([&] { return Count(type) >= count; }, 10000); }
    std::vector<TGameInfo> Records() const
    {
        std::vector<TGameInfo> records;
        for (const TReceived& r : Received)
            if (r.Type == GAME_RECORD)
                records.push_back(r.Record());
        return records;
    }
    TGameInfo LastRecord() const { return Records().empty() ? TGameInfo{} : Records().back(); }
    // Sends the seat's action on g as a client does when the computer acts for its user:
    // the computer player's choice on the record seen. False when g awaits no action of
    // the seat.
    bool SendOwnMove(int seat, const TGameInfo& g, TRandom& random)
    {
        if (AwaitedSeat(g) != seat)
            return false;
        TComputerPlayer me;
        const TMove move = ComputerChoice(me, seat, g, random);
        if (move.Kind == TMove::TKind::Contract)
            Contract(move.Contract);
        else if (move.Kind == TMove::TKind::Card)
            Card(uint8_t(seat), move.Suit, move.Value);
        return move.Kind != TMove::TKind::None;
    }
    // Chat lines received that end in "> " and mark (the dealer puts the sender's name in
    // front of every line).
    int ChatCount(const QString& mark) const
    {
        const QStringList lines = Lines();
        return int(std::count_if(lines.begin(), lines.end(), [&](const QString& l) {
            return l.startsWith(QLatin1String("CHAT_TEXT ")) && l.endsWith("> " + mark);
        }));
    }
    bool WaitChat(const QString& mark) { return Wait([&] { return ChatCount(mark) > 0; }, 10000); }
    // Sends a chat line and waits for its echo: everything sent before has been handled.
    bool Sync(const QString& mark = QStringLiteral("sync"))
    {
        const int before = ChatCount(mark);
        Chat(mark);
        return Wait([&] { return ChatCount(mark) > before; }, 10000);
    }
};

// A test player's end of the connection is the players' own link: it records every
// message, sends any bytes it is given and hears when the table closes the connection.
template <class TLink>
class TLinkPlayer : public TTestPlayer {
public:
    TLink Link;

    template <class... TArgs>
    explicit TLinkPlayer(TArgs&&... args) : Link(std::forward<TArgs>(args)...)
    {
        QObject::connect(&Link, &TSessionLink::received, [this](TPacketType t, const QByteArray& p) { Record(t, p); });
        QObject::connect(&Link, &TSessionLink::disconnected, [this] { Disconnected = true; });
    }
    void SendRaw(TPacketType type, const QByteArray& payload = {}) override { Link.Send(type, payload); }
    void Close() override { Link.Close(); }
};

// A player over loopback TCP; with join it sends JOIN_REQUEST once connected.
class TTcpPlayer : public TLinkPlayer<TTcpLink> {
public:
    TTcpPlayer(quint16 port, const QString& name, bool join)
    {
        Wait = ::WaitFor;
        QObject::connect(&Link, &TSessionLink::connected, [this, name, join] {
            if (join)
                JoinAs(name);
        });
        Link.SetHost(QStringLiteral("127.0.0.1"));
        Link.SetPort(port);
        Link.Open();
    }
};

// A player in process.
class TLocalPlayer : public TLinkPlayer<TLocalLink> {
public:
    TConnectionId Id;

    TLocalPlayer(TLocalTable& local, const QString& host) : TLinkPlayer(local, host)
    {
        Link.Open();
        Id = Link.Connection();
    }
    // Gives no sign of life when asked.
    void SetSilent() { Link.SetAnswers(false); }
};

// What both fixtures share: the random source, the dealer's lines and their times.
template <class TPlayer>
struct TFixtureBase : ::testing::Test {
    QTemporaryDir folder;
    std::vector<std::unique_ptr<TPlayer>> players;
    std::vector<std::pair<qint64, QString>> events; // the dealer's lines, with the time
    TRandom random{20261207};
    bool systemRandom = false; // the table draws from the system's entropy, not from random
    int joinTimeoutMs = kJoinTimeoutMs;
    int probeMs = kProbeMs;
    std::function<std::unique_ptr<TMoveSource>(TRandom&)> level; // empty: Acemi
    bool openHands = true; // most tests compare every player's record with the dealer's
    QString gamesFolder;   // empty: the table keeps no saved games
    std::function<TSeatKey()> seatKeys; // empty: the system's random source
    TTurnClockSetting turnClock;        // off
    bool hostSendsRecords = true;

    TPlayer& P(int seat) { return *players[std::size_t(seat)]; }

    TTableOptions TableOptions(bool quick, int resolveExtraMs)
    {
        TTableOptions options;
        options.Quick = quick;
        options.TrickResolveExtraMs = resolveExtraMs;
        options.Random = systemRandom ? nullptr : &random;
        options.JoinTimeoutMs = joinTimeoutMs;
        options.ProbeMs = probeMs;
        options.ComputerLevel = level;
        options.OpenHands = openHands;
        options.GamesFolder = gamesFolder;
        options.SeatKeys = seatKeys;
        options.TurnClock = turnClock;
        options.HostSendsRecords = hostSendsRecords;
        return options;
    }
    int EventCount(const QString& part) const
    {
        return int(std::count_if(events.begin(), events.end(), [&](const auto& e) { return e.second.contains(part); }));
    }
    // The time of the dealer's first line that starts with one of the texts; -1 for none.
    qint64 EventAt(const QStringList& starts) const
    {
        for (const auto& [at, line] : events)
            for (const QString& s : starts)
                if (line.startsWith(s))
                    return at;
        return -1;
    }
};

// A table in process with its players, on the manual clock: waiting moves the table's time
// from one timer to the next and takes no real time.
struct TTableFixture : TFixtureBase<TLocalPlayer> {
    std::unique_ptr<TLocalTable> local;
    TTable* dealer = nullptr;

    void StartDealer(bool quick = false, int resolveExtraMs = kTrickResolveExtraMs)
    {
        players.clear();
        local.reset();
        // "LastHand.rvo" is kept in memory: a file written at every change would cost the
        // disk's flush each time.
        local = std::make_unique<TLocalTable>(TableOptions(quick, resolveExtraMs));
        dealer = &local->Table();
        QObject::connect(dealer, &TTable::Event, dealer, [this](const QString& line) { events.emplace_back(Now(), line); });
    }
    void TearDown() override
    {
        players.clear();
        local.reset();
    }
    qint64 Now() const { return local->NowMs(); }
    TGameInfo LastHandWritten() const { return local->LastHand(); }
    bool WaitFor(const std::function<bool()>& done, int limitMs = 60000) { return local->RunUntil(done, limitMs); }
    void Settle(int ms = 200) { local->RunFor(ms); }

    // Connects a player and, with join, waits until it is seated and knows every seat.
    TLocalPlayer& Join(const QString& name, bool join = true, const QString& host = QStringLiteral("127.0.0.1"))
    {
        const int seats = dealer->SeatCount();
        TLocalPlayer& p = *players.emplace_back(std::make_unique<TLocalPlayer>(*local, host));
        p.Wait = [this](const std::function<bool()>& done, int limitMs) { return WaitFor(done, limitMs); };
        if (join) {
            p.JoinAs(name);
            EXPECT_TRUE(WaitFor([&] { return p.Count(JOIN_ACCEPTED) > 0 && p.Count(SEAT_NAME) > seats; }));
        }
        return p;
    }
};

// A dealer on a free port over loopback TCP, its last-hand file in a temporary folder.
struct TDealerFixture : TFixtureBase<TTcpPlayer> {
    std::unique_ptr<TDealerThread> dealer;
    int ackTimeoutMs = kAckTimeoutMs;

    void StartDealer(bool quick = false, int resolveExtraMs = kTrickResolveExtraMs)
    {
        players.clear();
        dealer.reset();
        TDealerOptions options;
        static_cast<TTableOptions&>(options) = TableOptions(quick, resolveExtraMs);
        options.Port = 0;
        options.LastHandFolder = folder.path();
        options.AckTimeoutMs = ackTimeoutMs;
        // Shortened pacing lets a player send faster than any real one could.
        if (resolveExtraMs < kTrickResolveExtraMs)
            options.MaxDataFrames = 0;
        dealer = std::make_unique<TDealerThread>(options);
        QObject::connect(&dealer->Table(), &TTable::Event, &dealer->Table(),
                         [this](const QString& line) { events.emplace_back(Now(), line); });
        ASSERT_TRUE(dealer->Listening());
    }
    void TearDown() override
    {
        players.clear();
        dealer.reset();
    }
    static qint64 Now()
    {
        static QElapsedTimer clock = [] { QElapsedTimer c; c.start(); return c; }();
        return clock.elapsed();
    }
    static bool WaitFor(const std::function<bool()>& done, int timeoutMs = 10000) { return ::WaitFor(done, timeoutMs); }
    TGameInfo LastHandWritten() const
    {
        TGameInfo g{};
        EXPECT_TRUE(WaitFor([&] { return dealer->Files().Idle(); })); // written off the table's thread
        EXPECT_EQ(dealer->LastHandPath(), folder.filePath("LastHand.rvo"));
        EXPECT_TRUE(ReadGameFile(dealer->LastHandPath(), g));
        return g;
    }
    static void Settle(int ms = 200) { ::Settle(ms); }

    // Connects a player and, with join, waits until it is seated and knows every seat.
    TTcpPlayer& Join(const QString& name, bool join = true)
    {
        const int seats = dealer->SeatCount();
        TTcpPlayer& p = *players.emplace_back(std::make_unique<TTcpPlayer>(dealer->Port(), name, join));
        EXPECT_TRUE(WaitFor([&] {
            return join ? p.Count(JOIN_ACCEPTED) > 0 && p.Count(SEAT_NAME) > seats : p.Link.Socket().Connected();
        }));
        return p;
    }
};
