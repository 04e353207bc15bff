// One connection's packet thread. It owns the connection's TPacketLink and a thread that
// sends the queued data frames one at a time, each after the previous one's ACK. The idle
// thread sleeps on a condition variable until a frame or a stop request arrives.
//
// The socket is used only from the thread that owns it: the packet thread hands every
// write to that thread by queued call, in order; writes made on the owning thread itself
// (ACK, CRCERROR, repeats) go straight to the socket.
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
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>

#include <QByteArray>
#include <QPointer>
#include <QString>
#include <QTcpSocket>

#include "packetlink.h"

// Bytes a socket may hold unsent. A peer that leaves this much unread is not following
// the protocol (it has at most one data frame in flight); its connection is closed.
constexpr qint64 kMaxUnsentBytes = qint64(1) << 20;

class TPacketThread {
public:
    // The thread messages: WM_PARAM_SEND carries a frame to queue, WM_PARAM_GETWAITING
    // selects the next waiting frame, anything else only wakes the thread.
    enum TParam : int {
        WM_PARAM_NONE = 0,
        WM_PARAM_SEND = 1,
        WM_PARAM_RECV = 2,
        WM_PARAM_CHECK = 3,
        WM_PARAM_PACKETREADY = 4,
        WM_PARAM_PACKETGOT = 5,
        WM_PARAM_GETWAITING = 6,
    };

    // Binds a connected socket: ThreadName is ownerName, a space and the local time with
    // every ':' replaced by a space; an old "<ThreadName>.log" in the current directory is
    // deleted. The thread is running when the constructor returns.
    TPacketThread(const QString& ownerName, QTcpSocket* socket, TPacketLink::TMessageHook message);
    // Without a socket: every write goes to writer, on whichever thread makes it.
    TPacketThread(const QString& ownerName, TPacketLink::TRawWriter writer,
                  TPacketLink::TMessageHook message);
    // Stops the thread, waits for it and frees every frame still queued (they are lost).
    ~TPacketThread();

    TPacketThread(const TPacketThread&) = delete;
    TPacketThread& operator=(const TPacketThread&) = delete;

    // Any thread. Builds a data frame (5 ms pause, stamp, CRC) and queues it; returns at
    // once. A negative length counts as 0.
    void MakeFrame(TPacketType type, const void* payload, int32_t length);
    // Any thread. Copies a complete frame and posts it to the packet thread. A frame past
    // the bound on unacknowledged frames is dropped and the connection closed; once that
    // happened, every later frame is dropped too.
    void QueueFrame(const QByteArray& frame);
    // Posts a bare thread message (tests; the destructor posts WM_PARAM_NONE).
    void Post(TParam param, QByteArray frame = {});

    // Socket's thread: moves every byte waiting on the bound socket into IncomingBuffer.
    void ReadSocket();
    bool CheckIncomingBuffer() { return link_.CheckIncomingBuffer(); }

    QTcpSocket* Socket() const { return socket_; }
    TPacketLink& Link() { return link_; }
    const TPacketLink& Link() const { return link_; }
    const QString& ThreadName() const { return link_.ThreadName(); }

    static QString MakeThreadName(const QString& ownerName);

private:
    struct TMessage {
        TParam param;
        QByteArray frame;
    };

    void Start();
    void Loop();
    static TPacketLink::TRawWriter SocketWriter(QTcpSocket* socket);
    // Closes the bound socket from its own thread (a queued abort); without one, nothing.
    void CloseSocketLater();

    QTcpSocket* socket_ = nullptr;
    TPacketLink link_;
    std::atomic<bool> overflowed_ = false;

    std::mutex queueLock_;
    std::condition_variable queueSignal_;
    std::deque<TMessage> queue_;
    bool stopRequested_ = false;
    std::thread thread_;
};
