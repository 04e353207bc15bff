// One connection's delivery, bound to its socket. The name is historic: there is no thread
// of its own. Everything runs on the thread that owns the socket, driven by its events:
// a data frame queued while nothing is in flight is written at once, and the read that
// brings its ACK writes the next one (stop-and-wait, see packetlink.h). Frames queued from
// any other thread are handed to the socket's thread by queued call, in order.
//
// Two bounds keep a peer that stops reading or acknowledging from growing the sender's
// memory without end; either one closes the connection (from the socket's thread, through
// its ordinary disconnect path; frames still queued are lost):
// - data frames: the frames queued and in flight, not yet acknowledged, may not pass
//   kMaxPendingFrames or kMaxPendingBytes (packetlink.h); QueueFrame checks it, on
//   whichever thread queues;
// - socket bytes: everything written and not yet taken by the system (ACKs, CRCERRORs and
//   repeats included, which the first bound does not count) may not pass kMaxUnsentBytes;
//   checked at each write.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTcpSocket>

#include "packetlink.h"

// Bytes a socket may hold unsent. A peer that leaves this much unread is not following
// the protocol (it has at most one data frame in flight); its connection is closed.
constexpr qint64 kMaxUnsentBytes = qint64(1) << 20;

class TPacketThread {
public:
    // Binds a connected socket: ThreadName is ownerName, a space and the local time with
    // every ':' replaced by a space; an old "<ThreadName>.log" in the current directory is
    // deleted. Create it on the socket's thread.
    TPacketThread(const QString& ownerName, QTcpSocket* socket, TPacketLink::TMessageHook message);
    // Without a socket: every write goes to writer, on the thread that created this object.
    TPacketThread(const QString& ownerName, TPacketLink::TRawWriter writer,
                  TPacketLink::TMessageHook message);
    // Frees every frame still queued (they are lost); a hand-over from another thread that
    // has not run yet is dropped with them. Destroy it on the thread that created it.
    ~TPacketThread();

    TPacketThread(const TPacketThread&) = delete;
    TPacketThread& operator=(const TPacketThread&) = delete;

    // Any thread. Builds a data frame (stamp, CRC) and queues it; returns at once. A
    // negative length counts as 0.
    void MakeFrame(TPacketType type, const void* payload, int32_t length);
    // Any thread. Copies a complete frame and queues it; on the owning thread it is written
    // at once when nothing is in flight. A frame past the bound on unacknowledged frames is
    // dropped and the connection closed; once that happened, every later frame is dropped too.
    void QueueFrame(const QByteArray& frame);

    // Socket's thread: moves every byte waiting on the bound socket into IncomingBuffer.
    void ReadSocket();
    bool CheckIncomingBuffer() { return link_.CheckIncomingBuffer(); }

    QTcpSocket* Socket() const { return socket_; }
    TPacketLink& Link() { return link_; }
    const TPacketLink& Link() const { return link_; }
    const QString& ThreadName() const { return link_.ThreadName(); }

    static QString MakeThreadName(const QString& ownerName);

    // Lets thread go once the event loop of context's thread runs again (or with context):
    // a connection is never destroyed inside its own read, write or event, where its
    // caller still holds it. Until then it stays whole, Dropped() says so, and its writes
    // do nothing once its socket is closed.
    static void DestroyLater(QObject* context, std::unique_ptr<TPacketThread> thread);
    // Handed to DestroyLater: its component has let the connection go.
    bool Dropped() const { return dropped_; }

private:
    void Start();
    // Owning thread: appends the frame to the waiting list and writes it if nothing is in flight.
    void Send(QByteArray frame);
    static TPacketLink::TRawWriter SocketWriter(QTcpSocket* socket);
    // Closes the bound socket from its own thread (a queued abort); without one, nothing.
    void CloseSocketLater();

    QTcpSocket* socket_ = nullptr;
    TPacketLink link_;
    QObject home_; // lives on the owning thread; frames from other threads are handed over through it
    std::atomic<bool> overflowed_ = false;
    bool dropped_ = false;
};
