// One event-loop thread of zorbela-dealer's table server: a house of tables (tablehouse.h)
// and the connections of their players, which live on this thread from the moment they
// reach its tables. Qt's event loop runs the thread (the tables' timers, calls from the
// other threads); the connections' sockets are plain non-blocking descriptors in one epoll
// set, which Qt's loop watches as a single descriptor, so a thread with thousands of
// connections costs Qt's loop no more than one with a few.
//
// Frames go through TPacketLink as at the dealer of one table: stop-and-wait delivery, the
// limits on frames, bytes and unacknowledged data. A connection is closed, handed to
// another thread or told it was answered only from the event loop, never inside a call
// of the house or of its own link.
#pragma once

#include <atomic>
#include <memory>
#include <unordered_map>
#include <unordered_set>

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <QTimer>

#include "packetlink.h"
#include "tablehouse.h"

class TTableServer;

class TServerLoop final : public QObject, private THouseLink, private TTableClock, private TTableFiles {
public:
    struct TConn;

    // Made on the server's thread and moved to its own; Start runs there.
    TServerLoop(TTableServer& server, int index);
    ~TServerLoop() override;

    // ---- On this loop's thread ----
    void Start(const THouseOptions& options);
    void Stop(); // every connection dropped, every table closed
    // A connection accepted for this loop (its descriptor is this loop's from now on).
    void Accept(int fd, const QString& host, quint16 port);
    // A connection handed over by another loop, with the message that brought it.
    void TakeOver(std::shared_ptr<TConn> conn, TPacketType type, const QByteArray& payload);
    TTableHouse* House() { return house_.get(); }
    int ConnectionCount() const { return int(conns_.size()); }

private:
    // THouseLink
    void Send(TConnectionId id, TPacketType type, const QByteArray& payload) override;
    void Close(TConnectionId id, bool afterDelivery) override;
    void Probe(TConnectionId id) override;
    int Backlog(TConnectionId id) const override;
    qint64 BacklogBytes(TConnectionId id) const override;
    void Notice(const QString& text) override;
    void Move(TConnectionId id, int house, TPacketType type, const QByteArray& payload) override;
    void Create(int house, const QByteArray& code, const TTableSettings& settings) override;
    // TTableClock
    qint64 NowMs() const override;
    void WakeAt(qint64 atMs) override;
    // TTableFiles: the default table's "LastHand.rvo"
    QString WriteLastHand(const TGameInfo& g) override;

    TConn* Find(TConnectionId id) const;
    void Add(std::shared_ptr<TConn> conn);
    void Ready();                 // the epoll set has events
    void Readable(TConn& c);
    void Deliver(TConn& c);       // every whole frame in the link's buffer, in order
    void Writable(TConn& c);
    void Write(TConn& c, const QByteArray& frame);
    void WantWrite(TConn& c, bool on);
    void CloseLater(TConn& c);    // dropped from the event loop
    void Drop(TConnectionId id);
    void Transfer(TConnectionId id);
    void Watch();                 // unacknowledged frames, closes after delivery

    TTableServer& server_;
    int index_;
    int epoll_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    QTimer wake_;
    qint64 wakeAt_ = -1;
    QTimer watch_;
    qint64 lastAckCheck_ = 0;
    std::unordered_map<TConnectionId, std::shared_ptr<TConn>> conns_;
    std::unordered_set<TConnectionId> closingAfterDelivery_;
    std::unique_ptr<TTableHouse> house_;
};
