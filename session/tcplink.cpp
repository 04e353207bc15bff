#include "tcplink.h"

#include <QTcpSocket>
#include <QVariant>

namespace {

constexpr const char* kEverConnected = "zorbelaEverConnected";

} // namespace

TTcpLink::TTcpLink(QObject* parent) : TSessionLink(parent)
{
    socket_.setObjectName(QStringLiteral("PlayerSocket"));
    // The transport's own English texts go to the log only: the session tells its
    // listeners what happened through its signals.
    socket_.OnMessage = [](const QString&) {};
    socket_.OnConnecting = [this](QTcpSocket* attempt) {
        // The component reports the error first; an attempt that never connected then
        // tells the session that it failed.
        QObject::connect(attempt, &QTcpSocket::errorOccurred, this, [this, attempt] {
            if (socket_.Socket() == attempt && !attempt->property(kEverConnected).toBool())
                emit connectFailed();
        });
        QObject::connect(attempt, &QTcpSocket::connected, this,
                         [attempt] { attempt->setProperty(kEverConnected, true); });
        emit connecting();
    };
    socket_.OnConnect = [this](QTcpSocket*) { emit connected(); };
    socket_.OnDisconnect = [this](QTcpSocket*) { emit disconnected(); };
    socket_.OnPacketRead = [this](QTcpSocket*, TPacketType type, const uint8_t* buf, int32_t n) {
        // The payload is copied before anything else: a listener may close the connection.
        emit received(type, QByteArray(reinterpret_cast<const char*>(buf), buf && n > 0 ? n : 0));
    };
}

void TTcpLink::SetAddress(const QString& host, quint16 port)
{
    socket_.SetHost(host);
    socket_.SetPort(port);
}

TLinkFailure TTcpLink::Failure() const
{
    const QTcpSocket* attempt = socket_.Socket();
    switch (attempt ? attempt->error() : QAbstractSocket::UnknownSocketError) {
    case QAbstractSocket::HostNotFoundError:
        return TLinkFailure::NoSuchHost;
    case QAbstractSocket::ConnectionRefusedError:
        return TLinkFailure::Refused;
    case QAbstractSocket::RemoteHostClosedError:
        return TLinkFailure::ClosedByPeer;
    default:
        return TLinkFailure::Unreachable;
    }
}

void TTcpLink::Send(TPacketType type, const QByteArray& payload)
{
    socket_.PacketMakeAndSend(type, payload.constData(), static_cast<int32_t>(payload.size()));
}
