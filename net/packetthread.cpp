#include "packetthread.h"

#include <QDir>
#include <QFile>
#include <QThread>
#include <QTime>

namespace {

const char* const kParamNames[] = {
    "",
    "WM_PARAM_SEND",
    "WM_PARAM_RECV",
    "WM_PARAM_CHECK",
    "WM_PARAM_PACKETREADY",
    "WM_PARAM_PACKETGOT",
    "WM_PARAM_GETWAITING",
};

const char* ParamName(int param)
{
    return param >= 0 && param < int(std::size(kParamNames)) ? kParamNames[param] : "";
}

// Aborts the socket from its own thread's event loop, so that its disconnect path runs
// there and never inside the call that found the reason.
void AbortLater(const QPointer<QTcpSocket>& target)
{
    QMetaObject::invokeMethod(
        target, [target] { if (target) target->abort(); }, Qt::QueuedConnection);
}

} // namespace

QString TPacketThread::MakeThreadName(const QString& ownerName)
{
    return ownerName + QLatin1Char(' ')
        + QTime::currentTime().toString(QStringLiteral("HH:mm:ss")).replace(QLatin1Char(':'), QLatin1Char(' '));
}

TPacketLink::TRawWriter TPacketThread::SocketWriter(QTcpSocket* socket)
{
    QPointer<QTcpSocket> target(socket);
    return [target](const QByteArray& frame) {
        QTcpSocket* s = target.data();
        if (s == nullptr)
            return;
        auto write = [target, frame] {
            if (!target || target->state() != QAbstractSocket::ConnectedState)
                return;
            if (target->bytesToWrite() + frame.size() > kMaxUnsentBytes) {
                // The peer reads nothing while its frames keep asking for ACKs and
                // repeats: the connection is given up instead of buffering without end.
                // Closed from the event loop, as this write may run inside a read.
                AbortLater(target);
                return;
            }
            target->write(frame);
        };
        if (QThread::currentThread() == s->thread())
            write();
        else
            QMetaObject::invokeMethod(s, write, Qt::QueuedConnection);
    };
}

namespace {
QTcpSocket* Bindable(QTcpSocket* socket)
{
    return socket != nullptr && socket->state() == QAbstractSocket::ConnectedState ? socket : nullptr;
}
} // namespace

TPacketThread::TPacketThread(const QString& ownerName, QTcpSocket* socket,
                             TPacketLink::TMessageHook message)
    : socket_(Bindable(socket)),
      link_(MakeThreadName(ownerName), SocketWriter(socket_), std::move(message))
{
    Start();
    if (socket == nullptr)
        link_.Trace()("PacketThread : Cannot set a \"NULL\" socket!");
    else if (socket_ == nullptr)
        link_.Trace()("PacketThread : Cannot set a \"disconnected\" socket!");
}

TPacketThread::TPacketThread(const QString& ownerName, TPacketLink::TRawWriter writer,
                             TPacketLink::TMessageHook message)
    : link_(MakeThreadName(ownerName), std::move(writer), std::move(message))
{
    Start();
}

void TPacketThread::Start()
{
    QFile::remove(QDir::current().filePath(ThreadName() + QStringLiteral(".log")));
    link_.Trace()("A PacketThread created for %s...\n", qPrintable(ThreadName()));
    link_.SetWakeSender([this] {
        Post(WM_PARAM_GETWAITING);
        return true;
    });
    thread_ = std::thread([this] { Loop(); });
}

TPacketThread::~TPacketThread()
{
    {
        std::lock_guard guard(queueLock_);
        stopRequested_ = true;
    }
    Post(WM_PARAM_NONE);
    thread_.join();
    link_.Trace()("Destroying %s...\n", qPrintable(ThreadName()));
    link_.Trace()("[%s]most frames unacknowledged at once: %d\n", qPrintable(ThreadName()),
                  link_.PeakPendingFrames());
    // The queue, the waiting list and the frame in flight go with their owners.
}

void TPacketThread::Post(TParam param, QByteArray frame)
{
    {
        std::lock_guard guard(queueLock_);
        queue_.push_back({param, std::move(frame)});
    }
    queueSignal_.notify_one();
}

void TPacketThread::Loop()
{
    for (;;) {
        TMessage message;
        {
            std::unique_lock guard(queueLock_);
            queueSignal_.wait(guard, [this] { return stopRequested_ || !queue_.empty(); });
            if (stopRequested_)
                return;
            message = std::move(queue_.front());
            queue_.pop_front();
        }
        link_.Trace()("%s:GetMessage-> %s\n", qPrintable(ThreadName()), ParamName(message.param));
        switch (message.param) {
        case WM_PARAM_SEND:
            link_.AppendWaiting(std::move(message.frame));
            link_.SelectOutgoing();
            break;
        case WM_PARAM_GETWAITING:
            link_.SelectOutgoing();
            break;
        default:
            link_.Trace()("Got an unknown message\n");
            break;
        }
    }
}

void TPacketThread::CloseSocketLater()
{
    if (socket_ != nullptr)
        AbortLater(QPointer<QTcpSocket>(socket_));
}

void TPacketThread::QueueFrame(const QByteArray& frame)
{
    if (overflowed_.load())
        return;
    if (!link_.AdmitFrame(frame.size())) {
        if (!overflowed_.exchange(true)) {
            link_.Trace()("[%s]%d frames unacknowledged, connection closed\n", qPrintable(ThreadName()),
                          link_.PendingFrames());
            CloseSocketLater();
        }
        return;
    }
    QByteArray copy(frame.constData(), frame.size()); // the thread's own buffer
    if (copy.size() >= kHeaderSize) {
        const TPacketHeader head = ReadHeader(copy.constData());
        link_.Trace()("Send Packet, \n\tsize is %ld,\n\tCRC is %x\n", long(head.size), head.CRC);
    }
    Post(WM_PARAM_SEND, std::move(copy));
}

void TPacketThread::MakeFrame(TPacketType type, const void* payload, int32_t length)
{
    const QByteArray frame = BuildFrame(type, FrameStamp(), payload, length);
    if (ReadHeader(frame.constData()).CRC == 0xFFFFFFFFu)
        link_.Message(QStringLiteral("CRC is -1"));
    QueueFrame(frame);
}

void TPacketThread::ReadSocket()
{
    if (socket_ == nullptr)
        return;
    const QByteArray bytes = socket_->readAll();
    link_.AppendIncoming(bytes);
}
