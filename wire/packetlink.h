// The framing and delivery rules of one connection, without any socket or thread: bytes
// come in through AppendIncoming, accepted data frames come out of CheckIncomingBuffer,
// and every byte to be written to the peer leaves through the raw writer.
//
// Delivery is stop-and-wait: at most one data frame is in flight. The receiver answers a
// good data frame with ACK and a frame that fails its CRC with CRCERROR; the sender
// repeats a frame only when a CRCERROR names its type. A data frame whose header equals
// that of the last accepted one is acknowledged again and not delivered twice.
//
// Bounds: the data frames not yet acknowledged (queued and in flight) may not pass
// kMaxPendingFrames frames or kMaxPendingBytes bytes; a frame that would pass them is
// refused by AdmitFrame and the owner closes the connection. With a frame limit set, a
// peer that sends more frames or bytes within the window than allowed (control frames
// included) breaks the link.
//
// Threads: everything runs on the thread that owns the connection (its socket's thread)
// except AdmitFrame and the read-only counts, which any thread may call. The ACK that
// retires the frame in flight writes the next waiting one right away. The waiting list,
// the frame in flight and the counts of unacknowledged frames are guarded by one lock,
// which is never held while the link calls out (raw writes, messages): a write that fails
// may close the connection, and whatever that reaches must not find the lock taken. Raw
// writes happen on the owning thread only, each of one whole frame, so frames never
// interleave.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>

#include <QByteArray>
#include <QHash>
#include <QString>

#include "packet.h"
#include "trace.h"

// Data frames a connection may hold unacknowledged (queued and in flight), and their
// bytes, headers included. A peer that stops acknowledging is given up at this point
// instead of letting its queue grow without end; a peer that acknowledges never comes
// near it (each frame waits only for the one ACK before it).
// Both are far above what the game itself sends a slow player (a whole hand's records
// are a few dozen frames), so a link that is only slow is never closed for what others
// caused; a table holds chat back long before (see BacklogBytes of the table's link).
constexpr int kMaxPendingFrames = 512;
constexpr qsizetype kMaxPendingBytes = 512 * 1024;

class TPacketLink {
public:
    // Writes the bytes of one whole frame to the peer, on the owning thread; never called
    // with the link's lock held.
    using TRawWriter = std::function<void(const QByteArray& frame)>;
    // Shows a transport message to the user (English fixed texts).
    using TMessageHook = std::function<void(const QString& text)>;

    TPacketLink(QString threadName, TRawWriter writer, TMessageHook message = {});
    // Logs every message that was held back as a repeat, once, with its count.
    ~TPacketLink();
    TPacketLink(const TPacketLink&) = delete;
    TPacketLink& operator=(const TPacketLink&) = delete;

    const QString& ThreadName() const { return threadName_; }
    const TTrace& Trace() const { return trace_; }
    // Hands a transport message to the hook the first time this link meets its text; later
    // repeats are only counted (a peer's flood must not become a flood of log lines), and
    // the count is logged when the link goes.
    void Message(const QString& text) const;

    // ---- Sending side ----
    // Counts a data frame of bytes about to be queued. False when it would take the
    // unacknowledged frames past kMaxPendingFrames or kMaxPendingBytes: the frame is not
    // counted and must not be queued, and the connection is to be closed. The ACK that
    // retires a counted frame releases its share. Any thread.
    bool AdmitFrame(qsizetype bytes);
    int PendingFrames() const;     // counted and not yet acknowledged
    qsizetype PendingBytes() const; // their bytes, headers included
    int PeakPendingFrames() const; // the most ever counted at once
    void AppendWaiting(QByteArray frame);
    // When nothing is in flight and a frame waits: the head of the list goes in flight
    // and is written.
    void SelectOutgoing();
    int WaitingCount() const;                 // the frame in flight included
    bool HasOutgoing() const;
    QByteArray OutgoingPacket() const;        // empty when nothing is in flight
    int64_t SentTime() const;                 // seconds clock when it was selected
    // Milliseconds the frame in flight has been waiting for its ACK; -1 when none is.
    int64_t OutgoingAgeMs() const;

    // ---- Receiving side ----
    void AppendIncoming(const char* bytes, qsizetype length);
    void AppendIncoming(const QByteArray& bytes) { AppendIncoming(bytes.constData(), bytes.size()); }
    // Processes IncomingBuffer. True: one data frame was accepted into RecvPacketBuffer
    // (and acknowledged); deliver it and call again. False: nothing more until more bytes
    // arrive, or the connection is Broken().
    bool CheckIncomingBuffer();
    // At most frames frames and bytes bytes received within any windowMs milliseconds; 0
    // (the default) is no limit. Every received frame counts except a good ACK of the
    // frame in flight: control frames, repeats and every frame that fails its CRC (its type
    // cannot be trusted) count too.
    void SetDataFrameLimit(int frames, int windowMs, qint64 bytes = 0);
    // A header announced a size below 16 or above kMaxFrameSize, so the stream cannot be
    // framed any more, or the peer went past the data-frame limit. The incoming bytes were
    // discarded and later ones are ignored; the owner closes the connection.
    bool Broken() const { return broken_; }

    const QByteArray& RecvPacketBuffer() const { return recvPacketBuffer_; }
    TPacketType RecvType() const;
    const uint8_t* RecvPayload() const;
    int32_t RecvCount() const;

    qsizetype IncomingSize() const { return incomingBuffer_.size(); }
    const TPacketHeader& LastRecvHeader() const { return lastRecvHeader_; }
    const QByteArray& LastAck() const { return lastAck_; }
    const QByteArray& LastCrcError() const { return lastCrcError_; }

private:
    // ---- Steps of CheckIncomingBuffer ----
    void AcceptDataFrame(int32_t size);
    void AckReceived(uint32_t stamp);
    void SendAck(uint32_t stamp);
    void SendCrcError(uint8_t failedType);
    void SendDiscardPredata();
    void DropIncoming(qsizetype count);
    // Counts one received frame against the limit; false when it goes past it.
    bool CountFrame(int32_t size);
    bool AckMatches(uint32_t stamp) const; // an ACK of the frame in flight
    void GiveUp();

    void SendRaw(const QByteArray& frame);
    // Answers a CRCERROR: sends again the last frame of the type that failed at the peer.
    void RepeatFailed(uint32_t failedType);
    void ReportCrcError(const TPacketHeader& head, uint32_t computed) const;

    QString threadName_;
    TTrace trace_;
    TRawWriter writer_;
    TMessageHook message_;

    mutable std::mutex lock_;       // the sending state below and repeats_
    mutable QHash<QString, int> repeats_; // messages met, and how often again since
    std::deque<QByteArray> waitingList_;
    bool outgoing_ = false;         // true: the head of waitingList_ is in flight
    int64_t sentTime_ = 0;
    int64_t sentMs_ = 0;            // steady milliseconds when the frame in flight was selected
    int pendingFrames_ = 0;         // admitted and not yet acknowledged
    qsizetype pendingBytes_ = 0;
    int peakPendingFrames_ = 0;

    int frameLimit_ = 0;            // frame limit, 0: none
    qint64 byteLimit_ = 0;          // byte limit, 0: none
    int64_t frameWindowMs_ = 0;
    std::deque<std::pair<int64_t, int32_t>> recentFrames_; // arrival (steady ms) and size within the window
    qint64 recentBytes_ = 0;

    QByteArray incomingBuffer_;
    QByteArray recvPacketBuffer_;
    TPacketHeader lastRecvHeader_;
    QByteArray lastAck_;
    QByteArray lastCrcError_;
    bool broken_ = false;
};
