#include "tcplink.h"

#include <QTcpSocket>
#include <QVariant>

namespace {

constexpr const char* kEverConnected = "zorbelaEverConnected";

} // namespace

TTcpLink::TTcpLink(QObject* parent) : TSessionLink(parent)
{
    socket_.setObjectName(QStringLiteral("PlayerSocket"));
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

int TTcpLink::SocketError() const
{
    const QTcpSocket* attempt = socket_.Socket();
    return attempt ? int(attempt->error()) : int(QAbstractSocket::UnknownSocketError);
}

void TTcpLink::Send(TPacketType type, const QByteArray& payload)
{
    socket_.PacketMakeAndSend(type, payload.constData(), static_cast<int32_t>(payload.size()));
}
