// What the table core talks to: the connections of its players (TTableLink), the time
// (TTableClock) and the file of the last state (TTableFiles). The adapters implement them:
// TDealerThread over TCP with the real clock, TLocalTable in process with a manual one.
#pragma once

#include <cstdint>

#include <QByteArray>
#include <QString>

#include "gameinfo.h"
#include "packet.h"

// A connection as the table knows it; 0 is none. The adapter gives each new connection a
// number never used before.
using TConnectionId = quint64;
constexpr TConnectionId kNoConnection = 0;

// Outputs of the table to its connections. Every call is made on the table's thread and
// returns at once; what it causes at the other end (delivery, a closed connection) comes
// back later through the table's inputs.
class TTableLink {
public:
    virtual ~TTableLink() = default;
    // Queues one message for the connection; nothing for one that is gone.
    virtual void Send(TConnectionId id, TPacketType type, const QByteArray& payload) = 0;
    // Drops the connection. afterDelivery: only once what was sent to it has arrived (or a
    // short while has passed), so that a refused player learns why. Disconnected follows.
    virtual void Close(TConnectionId id, bool afterDelivery = false) = 0;
    // Asks the connection's peer for a sign of life; TTable::Answered follows if it gives
    // one. Every peer answers a CRCERROR naming ACK by repeating its last ACK.
    virtual void Probe(TConnectionId id) = 0;
    // Messages sent to the connection and not yet acknowledged by its peer.
    virtual int Backlog(TConnectionId id) const = 0;
    // Their bytes (headers included): what a chat line would add to must stay well below
    // what the transport allows a connection to hold (kMaxPendingBytes).
    virtual qint64 BacklogBytes(TConnectionId id) const = 0;
    // A text the program's own user is to see ("Dealer: Bilinmeyen bir paket alındı").
    virtual void Notice(const QString& text) = 0;
};

// The table's time. NowMs only rises. The table asks to be woken (TTable::Tick) at the
// earliest moment one of its timers is due; a later WakeAt replaces the earlier request,
// and -1 cancels it.
class TTableClock {
public:
    virtual ~TTableClock() = default;
    virtual qint64 NowMs() const = 0;
    virtual void WakeAt(qint64 atMs) = 0;
};

// Where the table keeps "LastHand.rvo".
class TTableFiles {
public:
    virtual ~TTableFiles() = default;
    // Writes the record as the last state; returns the path written, or an empty string
    // when it could not be written anywhere.
    virtual QString WriteLastHand(const TGameInfo& g) = 0;
};
