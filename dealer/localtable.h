// The table in process, on a manual clock: players are plain objects that exchange the
// table's messages through queues, and time moves only when told to. Nothing waits for
// the wall clock, so a whole 20-hand game with its pacing takes a fraction of a second.
//
//   TLocalTable local(options);
//   TMyPlayer ayse;                              // a TLocalPeer
//   const TConnectionId id = local.Connect(ayse, "127.0.0.1");
//   local.Post(id, JOIN_REQUEST, TPayloadWriter().Text("Ayşe").Bytes());
//   local.RunUntil([&] { return ayse.Seated(); }, 1000); // up to 1000 ms of table time
//
// Messages in both directions are delivered in the order they were sent, each when the
// queue is pumped (by RunUntil and RunFor), never inside the call that sent it: a player
// that answers a record at once does so after the table has finished its broadcast, as
// over a real connection.
#pragma once

#include <deque>
#include <functional>
#include <memory>

#include <QByteArray>
#include <QHash>
#include <QString>

#include "table.h"

// A player's end of an in-process connection.
class TLocalPeer {
public:
    virtual ~TLocalPeer() = default;
    virtual void Deliver(TPacketType type, const QByteArray& payload) = 0;
    virtual void Closed() = 0; // the table closed the connection
    // Whether the peer answers a request for a sign of life (a silent, lost peer does not).
    virtual bool Answers() const { return true; }
};

class TLocalTable : private TTableLink, private TTableClock, private TTableFiles {
public:
    // lastHandFolder empty: "LastHand.rvo" is kept in memory only (LastHand()).
    explicit TLocalTable(const TTableOptions& options = {}, const QString& lastHandFolder = {});
    ~TLocalTable() override;

    TTable& Table() { return *table_; }
    const TTable& Table() const { return *table_; }

    // ---- The players' side ----
    // A new connection of peer from host; the peer must outlive it or Hangup first (nothing
    // reaches it after that).
    TConnectionId Connect(TLocalPeer& peer, const QString& host = QStringLiteral("127.0.0.1"));
    // A message of the player on connection id to the table.
    void Post(TConnectionId id, TPacketType type, const QByteArray& payload = {});
    void Hangup(TConnectionId id); // the player closes its connection
    bool Open(TConnectionId id) const { return peers_.contains(id); }

    // ---- Time ----
    qint64 NowMs() const override { return now_; }
    // Delivers queued messages and moves the clock from one due timer to the next until
    // done() holds or limitMs of table time have passed; returns done().
    bool RunUntil(const std::function<bool()>& done, qint64 limitMs = 60000);
    // Lets limitMs of table time pass, with everything that happens meanwhile.
    void RunFor(qint64 limitMs) { RunUntil([] { return false; }, limitMs); }

    // The last record written as "LastHand.rvo", and how often it was written.
    const TGameInfo& LastHand() const { return lastHand_; }
    int LastHandWrites() const { return lastHandWrites_; }
    // The notices the program's user would have been shown.
    const QStringList& Notices() const { return notices_; }

private:
    struct TItem {
        enum TKind { ToTable, ToPeer, CloseFromTable, CloseFromPeer, Answer } Kind;
        TConnectionId Id;
        TPacketType Type;
        QByteArray Payload;
    };

    // TTableLink
    void Send(TConnectionId id, TPacketType type, const QByteArray& payload) override;
    void Close(TConnectionId id, bool afterDelivery) override;
    void Probe(TConnectionId id) override;
    // The messages queued for the peer and not yet delivered to it.
    int Backlog(TConnectionId id) const override { return backlog_.value(id).first; }
    qint64 BacklogBytes(TConnectionId id) const override { return backlog_.value(id).second; }
    void Notice(const QString& text) override { notices_.append(text); }
    // TTableClock
    void WakeAt(qint64 atMs) override { wakeAt_ = atMs; }
    // TTableFiles
    QString WriteLastHand(const TGameInfo& g) override;

    bool PumpOne(); // delivers the first queued item; false when there was none
    void Enqueue(TItem item) { queue_.push_back(std::move(item)); }

    qint64 now_ = 0;
    qint64 wakeAt_ = -1;
    TConnectionId lastId_ = kNoConnection;
    QHash<TConnectionId, TLocalPeer*> peers_;
    QHash<TConnectionId, std::pair<int, qint64>> backlog_; // frames and bytes queued to a peer
    std::deque<TItem> queue_;
    QString lastHandFolder_;
    TGameInfo lastHand_{};
    int lastHandWrites_ = 0;
    QStringList notices_;
    std::unique_ptr<TTable> table_;
};
