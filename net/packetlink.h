// The framing and delivery rules of one connection, without any socket or thread: bytes
// come in through AppendIncoming, accepted data frames come out of CheckIncomingBuffer,
// and every byte to be written to the peer leaves through the raw writer.
//
// Delivery is stop-and-wait: at most one data frame is in flight. The receiver answers a
// good data frame with ACK and a frame that fails its CRC with CRCERROR; the sender
// repeats a frame only when a CRCERROR names its type. A data frame whose header equals
// that of the last accepted one is acknowledged again and not delivered twice.
//
// Threads: AppendWaiting/SelectOutgoing run on the sending thread (the packet thread), the
// receiving side (AppendIncoming, CheckIncomingBuffer and what they call) on the thread
// that owns the socket. The waiting list and the frame in flight are guarded by one lock,
// which is also held for every raw write, so two frames never interleave.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>

#include <QByteArray>
#include <QString>

#include "packet.h"
#include "trace.h"

class TPacketLink {
public:
    // Writes the bytes of one whole frame to the peer. Called with the link's lock held.
    using TRawWriter = std::function<void(const QByteArray& frame)>;
    // Asks the sending thread to select the next waiting frame (after an ACK retired the
    // frame in flight). Returns false when that request could not be made.
    using TWakeSender = std::function<bool()>;
    // Shows a transport message to the user (English fixed texts).
    using TMessageHook = std::function<void(const QString& text)>;

    TPacketLink(QString threadName, TRawWriter writer, TMessageHook message = {});

    void SetWakeSender(TWakeSender wake) { wake_ = std::move(wake); }
    const QString& ThreadName() const { return threadName_; }
    const TTrace& Trace() const { return trace_; }
    void Message(const QString& text) const;

    // ---- Sending side ----
    void AppendWaiting(QByteArray frame);
    // When nothing is in flight and a frame waits: the head of the list goes in flight
    // and is written.
    void SelectOutgoing();
    int WaitingCount() const;                 // the frame in flight included
    bool HasOutgoing() const;
    QByteArray OutgoingPacket() const;        // empty when nothing is in flight
    int64_t SentTime() const;                 // seconds clock when it was selected

    // ---- Receiving side ----
    void AppendIncoming(const char* bytes, qsizetype length);
    void AppendIncoming(const QByteArray& bytes) { AppendIncoming(bytes.constData(), bytes.size()); }
    // Processes IncomingBuffer. True: one data frame was accepted into RecvPacketBuffer
    // (and acknowledged); deliver it and call again. False: nothing more until more bytes
    // arrive, or the connection is Broken().
    bool CheckIncomingBuffer();
    // A header announced a size below 16 or above kMaxFrameSize: the stream cannot be
    // framed any more. The incoming bytes were discarded and later ones are ignored; the
    // owner closes the connection.
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

    void SendRawLocked(const QByteArray& frame);
    void SendRaw(const QByteArray& frame);
    // Answers a CRCERROR: sends again the last frame of the type that failed at the peer.
    void RepeatFailed(uint32_t failedType);
    void ReportCrcError(const TPacketHeader& head, uint32_t computed) const;

    QString threadName_;
    TTrace trace_;
    TRawWriter writer_;
    TMessageHook message_;
    TWakeSender wake_;

    mutable std::mutex lock_;       // waitingList_, outgoing_, sentTime_ and every raw write
    std::deque<QByteArray> waitingList_;
    bool outgoing_ = false;         // true: the head of waitingList_ is in flight
    int64_t sentTime_ = 0;

    QByteArray incomingBuffer_;
    QByteArray recvPacketBuffer_;
    TPacketHeader lastRecvHeader_;
    QByteArray lastAck_;
    QByteArray lastCrcError_;
    bool broken_ = false;
};
