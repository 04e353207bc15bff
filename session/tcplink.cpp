#include "tcplink.h"

#include <QTcpSocket>
#include <QVariant>

namespace {

constexpr const char* kEverConnected = "zorbelaEverConnected";

} // namespace

TTcpLink::TTcpLink(QObject* parent) : TSessionLink(parent)
{
    socket_.setObjectName(QStringLiteral("PlayerSocket"));
    // The transport's own English texts go to the log only (nobody listens to its
    // message()): the session tells its listeners what happened through its signals.
    connect(&socket_, &TClientPacketSocket::connecting, this, [this](QTcpSocket* attempt) {
        // The component reports the error first; an attempt that never connected then
        // tells the session that it failed.
        connect(attempt, &QTcpSocket::errorOccurred, this, [this, attempt] {
            if (socket_.Socket() == attempt && !attempt->property(kEverConnected).toBool())
                emit connectFailed();
        });
        connect(attempt, &QTcpSocket::connected, this, [attempt] { attempt->setProperty(kEverConnected, true); });
        emit connecting();
    });
    connect(&socket_, &TClientPacketSocket::connected, this, &TSessionLink::connected);
    connect(&socket_, &TClientPacketSocket::disconnected, this, &TSessionLink::disconnected);
    connect(&socket_, &TPacketSocket::packetRead, this,
            [this](QTcpSocket*, TPacketType type, const QByteArray& payload) { emit received(type, payload); });
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
