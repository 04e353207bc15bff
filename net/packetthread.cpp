#include "packetthread.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QThread>
#include <QTime>

namespace {

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
        if (!target || target->state() != QAbstractSocket::ConnectedState)
            return;
        if (target->bytesToWrite() + frame.size() > kMaxUnsentBytes) {
            // The peer reads nothing while its frames keep asking for ACKs and repeats:
            // the connection is given up instead of buffering without end. Closed from
            // the event loop, as this write may run inside a read.
            AbortLater(target);
            return;
        }
        // Out to the system now, not when the event loop next looks at the socket: the
        // handler that sent it may have more to do before it returns.
        target->write(frame);
        target->flush();
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
}

TPacketThread::~TPacketThread()
{
    link_.Trace()("Destroying %s...\n", qPrintable(ThreadName()));
    link_.Trace()("[%s]most frames unacknowledged at once: %d\n", qPrintable(ThreadName()),
                  link_.PeakPendingFrames());
    // The waiting list and the frame in flight go with the link; home_ takes any hand-over
    // still on its way with it.
}

void TPacketThread::DestroyLater(QObject* context, std::unique_ptr<TPacketThread> thread)
{
    if (!thread)
        return;
    thread->dropped_ = true;
    std::shared_ptr<TPacketThread> held(std::move(thread));
    // The call does nothing: the thread goes when the call (run or dropped) is freed.
    QMetaObject::invokeMethod(context, [held] { (void)held; }, Qt::QueuedConnection);
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
    QByteArray copy(frame.constData(), frame.size()); // the connection's own buffer
    if (copy.size() >= kHeaderSize) {
        const TPacketHeader head = ReadHeader(copy.constData());
        link_.Trace()("Send Packet, \n\tsize is %ld,\n\tCRC is %x\n", long(head.size), head.CRC);
    }
    if (QThread::currentThread() == home_.thread())
        Send(std::move(copy));
    else
        QMetaObject::invokeMethod(&home_, [this, copy = std::move(copy)]() mutable { Send(std::move(copy)); },
                                  Qt::QueuedConnection);
}

void TPacketThread::Send(QByteArray frame)
{
    link_.Trace()("%s:GetMessage-> %s\n", qPrintable(ThreadName()), "WM_PARAM_SEND");
    link_.AppendWaiting(std::move(frame));
    link_.SelectOutgoing();
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
