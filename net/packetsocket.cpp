#include "packetsocket.h"

#include "netlog.h"
#include "packetthread.h"

QString SocketErrorText(const QString& componentName, int errorEvent)
{
    static const char16_t* const kTexts[] = {
        u": The socket received an error message that does not fit into any categories.",
        u": An error occurred when trying to write to the socket connection.",
        u": An error occurred when trying to read from the socket connection.",
        (u": For client sockets, this indicates that the client socket can\u2019t locate the server, "
         u"or that a problem on the server prevents the opening of a connection. For server "
         u"sockets, this indicates that a client connection request that has already been "
         u"accepted could not be completed."),
        u": An error occurred when trying to close a connection.",
        (u": For server sockets only, this indicates that a problem occurred when trying to "
         u"accept a client connection request."),
    };
    if (errorEvent < 0 || errorEvent >= int(std::size(kTexts)))
        return {};
    return componentName + QString::fromUtf16(kTexts[errorEvent]);
}

int ErrorEventFor(QAbstractSocket::SocketError error, bool connecting)
{
    if (connecting)
        return eeConnect;
    switch (error) {
    case QAbstractSocket::RemoteHostClosedError:
        return -1;
    case QAbstractSocket::ConnectionRefusedError:
    case QAbstractSocket::HostNotFoundError:
    case QAbstractSocket::SocketTimeoutError:
    case QAbstractSocket::ProxyConnectionRefusedError:
    case QAbstractSocket::ProxyNotFoundError:
    case QAbstractSocket::NetworkError:
        return eeReceive;
    case QAbstractSocket::DatagramTooLargeError:
    case QAbstractSocket::TemporaryError:
        return eeSend;
    default:
        return eeGeneral;
    }
}

bool IsSendablePayload(const void* buf, int32_t count)
{
    return count >= 0 && count <= kMaxPayloadSize && (count == 0 || buf != nullptr);
}

void TPacketSocket::ShowMessage(const QString& text)
{
    if (text.isEmpty())
        return;
    qCWarning(lcNet).noquote() << text;
    emit message(text);
}

TReadEnd TPacketSocket::DeliverIncoming(TPacketThread& thread, QTcpSocket* socket)
{
    // The thread outlives this read even when a listener drops the connection: it is
    // freed from the event loop (DestroyLater), and says so through Dropped().
    do {
        thread.ReadSocket();
        while (thread.CheckIncomingBuffer()) {
            const QByteArray frame = thread.Link().RecvPacketBuffer();
            emit packetRead(socket, TPacketType(uint8_t(frame.at(0))), frame.sliced(kHeaderSize));
            if (thread.Dropped())
                return TReadEnd::Gone;
        }
        if (thread.Link().Broken())
            return TReadEnd::Broken;
    } while (socket->bytesAvailable() > 0);
    return TReadEnd::Drained;
}
