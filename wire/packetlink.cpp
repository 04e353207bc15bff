#include "packetlink.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "netlog.h"

namespace {

QByteArray HeaderBytes(const TPacketHeader& h)
{
    return QByteArray(reinterpret_cast<const char*>(&h), sizeof h);
}

int64_t SecondsNow()
{
    using namespace std::chrono;
    return duration_cast<seconds>(steady_clock::now().time_since_epoch()).count();
}

int64_t MillisecondsNow()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

TPacketLink::TPacketLink(QString threadName, TRawWriter writer, TMessageHook message)
    : threadName_(std::move(threadName)),
      trace_(threadName_),
      writer_(std::move(writer)),
      message_(std::move(message)),
      lastRecvHeader_(InitialHeader()),
      lastAck_(HeaderBytes(InitialHeader())),
      lastCrcError_(HeaderBytes(InitialHeader()))
{
}

TPacketLink::~TPacketLink()
{
    // What was held back: one line per text, with its count.
    for (auto it = repeats_.cbegin(); it != repeats_.cend(); ++it)
        if (it.value() > 0)
            qCWarning(lcNet).noquote() << QStringLiteral("%1: %2 (%3 more times)").arg(threadName_, it.key()).arg(it.value());
}

void TPacketLink::Message(const QString& text) const
{
    {
        std::lock_guard guard(lock_);
        auto seen = repeats_.find(text);
        if (seen != repeats_.end()) {
            ++seen.value();
            return;
        }
        repeats_.insert(text, 0);
    }
    if (message_)
        message_(text);
}

// ---- Sending side ----

bool TPacketLink::AdmitFrame(qsizetype bytes)
{
    std::lock_guard guard(lock_);
    if (pendingFrames_ + 1 > kMaxPendingFrames || pendingBytes_ + bytes > kMaxPendingBytes)
        return false;
    ++pendingFrames_;
    pendingBytes_ += bytes;
    peakPendingFrames_ = std::max(peakPendingFrames_, pendingFrames_);
    return true;
}

int TPacketLink::PendingFrames() const
{
    std::lock_guard guard(lock_);
    return pendingFrames_;
}

qsizetype TPacketLink::PendingBytes() const
{
    std::lock_guard guard(lock_);
    return pendingBytes_;
}

int TPacketLink::PeakPendingFrames() const
{
    std::lock_guard guard(lock_);
    return peakPendingFrames_;
}

void TPacketLink::AppendWaiting(QByteArray frame)
{
    std::lock_guard guard(lock_);
    waitingList_.push_back(std::move(frame));
}

void TPacketLink::SelectOutgoing()
{
    QByteArray frame;
    int waiting;
    {
        std::lock_guard guard(lock_);
        if (outgoing_ || waitingList_.empty())
            return;
        outgoing_ = true;
        sentTime_ = SecondsNow();
        sentMs_ = MillisecondsNow();
        frame = waitingList_.front();
        waiting = int(waitingList_.size());
    }
    SendRaw(frame);
    trace_("OutgoingPacket selected, waiting packet count is %d\n", waiting);
}

int TPacketLink::WaitingCount() const
{
    std::lock_guard guard(lock_);
    return int(waitingList_.size());
}

bool TPacketLink::HasOutgoing() const
{
    std::lock_guard guard(lock_);
    return outgoing_;
}

QByteArray TPacketLink::OutgoingPacket() const
{
    std::lock_guard guard(lock_);
    return outgoing_ ? waitingList_.front() : QByteArray();
}

int64_t TPacketLink::SentTime() const
{
    std::lock_guard guard(lock_);
    return sentTime_;
}

int64_t TPacketLink::OutgoingAgeMs() const
{
    std::lock_guard guard(lock_);
    return outgoing_ ? MillisecondsNow() - sentMs_ : -1;
}

void TPacketLink::SendRaw(const QByteArray& frame)
{
    // Never under lock_: a writer may fail and report it, and nothing it reaches may find
    // this link's lock taken.
    if (writer_)
        writer_(frame);
}

// ---- Receiving side ----

void TPacketLink::AppendIncoming(const char* bytes, qsizetype length)
{
    if (broken_ || length <= 0)
        return;
    incomingBuffer_.append(bytes, length);
    trace_("A data (%d bytes) added IncomingBuffer, new IncomingBuffer->Size is %d\n", int(length),
           int(incomingBuffer_.size()));
}

bool TPacketLink::CheckIncomingBuffer()
{
    for (;;) {
        trace_("CheckingIncomingBuffer..., IncomingBuffer->Size is %d\n", int(incomingBuffer_.size()));
        if (broken_ || incomingBuffer_.size() < kHeaderSize)
            return false;
        const TPacketHeader head = ReadHeader(incomingBuffer_.constData());
        if (head.size < kHeaderSize || head.size > kMaxFrameSize) {
            // Nothing after this header can be framed: give up on the stream.
            trace_("[%s]impossible frame size %d, connection dropped\n",
                   qPrintable(threadName_), int(head.size));
            GiveUp();
            return false;
        }
        if (incomingBuffer_.size() < head.size)
            return false;

        const uint32_t computed = FrameCrc(incomingBuffer_.constData(), head.size);
        // Only a good ACK for the frame in flight is free: it answers something sent. Every
        // other frame counts, control frames included (each may cost a write).
        const bool earned = computed == head.CRC && head.type == ACK && AckMatches(head.timestamp);
        if (!earned && !CountFrame(head.size)) {
            trace_("[%s]more than %d frames or %lld bytes within %d ms, connection dropped\n",
                   qPrintable(threadName_), frameLimit_, static_cast<long long>(byteLimit_), int(frameWindowMs_));
            GiveUp();
            return false;
        }
        if (computed != head.CRC) {
            ReportCrcError(head, computed);
            SendCrcError(head.type);
            DropIncoming(head.size);
            continue;
        }

        if (SameHeader(head, lastRecvHeader_)) {
            // A repeat of the last accepted frame: its ACK was lost or spoilt.
            SendAck(head.timestamp);
            DropIncoming(head.size);
        } else if (head.type == CRCERROR) {
            // The frame leaves the buffer before anything is sent or shown: a message box
            // runs the event loop, and a read that comes in meanwhile must not see it again.
            DropIncoming(head.size);
            RepeatFailed(head.timestamp);
            trace_("got an CRCERROR, after that IncomingBuffer->Size is %d, waiting packet count is %d\n",
                   int(incomingBuffer_.size()), WaitingCount());
        } else if (head.type == ACK) {
            DropIncoming(head.size); // before any message, as above
            if (earned)
                AckReceived(head.timestamp);
            else
                Message(QStringLiteral("timestamp of ACK and OutgoingPacket is not equal!"));
            trace_("got an ACK, after that IncomingBuffer->Size is %d, waiting packet count is %d\n",
                   int(incomingBuffer_.size()), WaitingCount());
        } else {
            AcceptDataFrame(head.size);
            return true;
        }
    }
}

void TPacketLink::RepeatFailed(uint32_t failedType)
{
    if (failedType == DISCARD_PREDATA) {
        SendDiscardPredata();
        return;
    }
    if (failedType == CRCERROR) {
        SendRaw(lastCrcError_);
        return;
    }
    if (failedType == ACK) {
        SendRaw(lastAck_);
        return;
    }
    QByteArray repeat;
    {
        std::lock_guard guard(lock_);
        if (outgoing_ && uint8_t(waitingList_.front().at(0)) == failedType)
            repeat = waitingList_.front();
    }
    if (!repeat.isEmpty()) {
        SendRaw(repeat);
        return;
    }
    trace_("Cannot locate CRCERROR type!");
    Message(QStringLiteral("Cannot locate CRCERROR type!"));
}

void TPacketLink::ReportCrcError(const TPacketHeader& head, uint32_t computed) const
{
    if (!trace_.Enabled())
        return;
    const QString text = threadName_ + QStringLiteral("\r\nCRC Error!\r\n\r\n")
        + QStringLiteral("head->type = %1\r\n").arg(head.type)
        + QStringLiteral("head->size = %1\r\n").arg(head.size)
        + QStringLiteral("head->CRC = %1\r\n").arg(QString::number(head.CRC, 16).rightJustified(8, u'0').toUpper())
        + QStringLiteral("incomingCRC = %1\r\n").arg(QString::number(computed, 16).rightJustified(8, u'0').toUpper())
        + QStringLiteral("IncomingBuffer->Size = %1\r\n").arg(incomingBuffer_.size());
    trace_("%s", qPrintable(text));
}

TPacketType TPacketLink::RecvType() const
{
    return recvPacketBuffer_.isEmpty() ? NO_PACKET : TPacketType(uint8_t(recvPacketBuffer_.at(0)));
}

const uint8_t* TPacketLink::RecvPayload() const
{
    if (recvPacketBuffer_.size() < kHeaderSize)
        return nullptr;
    return reinterpret_cast<const uint8_t*>(recvPacketBuffer_.constData()) + kHeaderSize;
}

int32_t TPacketLink::RecvCount() const
{
    return recvPacketBuffer_.size() < kHeaderSize ? 0 : int32_t(recvPacketBuffer_.size()) - kHeaderSize;
}

void TPacketLink::AcceptDataFrame(int32_t size)
{
    recvPacketBuffer_ = incomingBuffer_.left(size);
    DropIncoming(size);
    lastRecvHeader_ = ReadHeader(recvPacketBuffer_.constData());
    trace_("Updated RecvPacketBuffer : %d bytes, IncomingBuffer->Size is %d\n",
           int(recvPacketBuffer_.size()), int(incomingBuffer_.size()));
    SendAck(lastRecvHeader_.timestamp);
}

void TPacketLink::SetDataFrameLimit(int frames, int windowMs, qint64 bytes)
{
    frameLimit_ = std::max(frames, 0);
    frameWindowMs_ = std::max(windowMs, 0);
    byteLimit_ = std::max<qint64>(bytes, 0);
    recentFrames_.clear();
    recentBytes_ = 0;
}

bool TPacketLink::AckMatches(uint32_t stamp) const
{
    std::lock_guard guard(lock_);
    return outgoing_ && ReadHeader(waitingList_.front().constData()).timestamp == stamp;
}

bool TPacketLink::CountFrame(int32_t size)
{
    if (frameLimit_ == 0 && byteLimit_ == 0)
        return true;
    const int64_t now = MillisecondsNow();
    while (!recentFrames_.empty() && now - recentFrames_.front().first >= frameWindowMs_) {
        recentBytes_ -= recentFrames_.front().second;
        recentFrames_.pop_front();
    }
    if (frameLimit_ > 0 && int(recentFrames_.size()) >= frameLimit_)
        return false;
    if (byteLimit_ > 0 && recentBytes_ + size > byteLimit_)
        return false;
    recentFrames_.emplace_back(now, size);
    recentBytes_ += size;
    return true;
}

void TPacketLink::GiveUp()
{
    incomingBuffer_.clear();
    broken_ = true;
}

void TPacketLink::AckReceived(uint32_t /*stamp*/)
{
    bool more;
    {
        std::lock_guard guard(lock_);
        if (outgoing_) {
            // Frames appended without AdmitFrame (only tests do so) were never counted.
            if (pendingFrames_ > 0) {
                --pendingFrames_;
                pendingBytes_ = std::max<qsizetype>(pendingBytes_ - waitingList_.front().size(), 0);
            }
            waitingList_.pop_front();
            outgoing_ = false;
        }
        more = !waitingList_.empty();
    }
    if (!more)
        return;
    trace_("%s:GetMessage-> %s\n", qPrintable(threadName_), "WM_PARAM_GETWAITING");
    SelectOutgoing();
}

void TPacketLink::SendAck(uint32_t stamp)
{
    lastAck_ = BuildControlFrame(ACK, stamp);
    SendRaw(lastAck_);
    trace_("Sent an ACK\n");
}

void TPacketLink::SendCrcError(uint8_t failedType)
{
    lastCrcError_ = BuildControlFrame(CRCERROR, failedType);
    SendRaw(lastCrcError_);
    trace_("Sent an CRCERROR\n");
}

void TPacketLink::SendDiscardPredata()
{
    SendRaw(BuildControlFrame(DISCARD_PREDATA, 0xFFFFFFFFu));
    trace_("Sent a DISCARD_PREDATA\n");
}

void TPacketLink::DropIncoming(qsizetype count)
{
    incomingBuffer_.remove(0, std::min(count, incomingBuffer_.size()));
}
