// One connection to a dealer, as packets.
//
//   TClientPacketSocket socket;                 // component name "PlayerSocket"
//   connect(&socket, &TClientPacketSocket::connected, this, [&](QTcpSocket*) { ... });
//   connect(&socket, &TPacketSocket::packetRead, this, [&](QTcpSocket*, TPacketType t, const QByteArray& p) {...});
//   connect(&socket, &TClientPacketSocket::disconnected, this, [&](QTcpSocket*) { ... });
//   socket.Open("localhost");                   // port kGamePort unless given
//
// While connected the component owns one TPacketThread. connected() is emitted after the
// packet thread exists, disconnected() after it is gone (frames still queued are lost); a
// close found while writing is handled from the event loop, never inside the write. A
// failed connection attempt tells the connect error text through message() and leaves the
// component unconnected; Open() again to retry. Use the component from the thread that
// created it.
#pragma once

#include <cstdint>
#include <memory>

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTcpSocket>

#include "packetsocket.h"
#include "packetthread.h"

class TClientPacketSocket : public TPacketSocket {
    Q_OBJECT
public:
    explicit TClientPacketSocket(QObject* parent = nullptr);
    // Drops the connection and emits nothing.
    ~TClientPacketSocket() override;

    void SetHost(const QString& host) { host_ = host; }
    const QString& Host() const { return host_; }
    void SetPort(quint16 port) { port_ = port; }
    quint16 Port() const { return port_; }

    // Starts connecting to Host():Port() (closing any current connection first).
    void Open();
    void Open(const QString& host, quint16 port = kGamePort);
    // Drops the connection; disconnected() is emitted from here if it was connected. Safe
    // inside any listener.
    void Close();
    bool Active() const;    // connecting or connected
    bool Connected() const; // connected, with a packet thread

    QTcpSocket* Socket() const { return socket_; }
    TPacketThread* PacketThread() const { return thread_.get(); }

    // Builds a data frame and queues it on the packet thread; returns at once. Without a
    // connection, or with a negative count or one above kMaxPayloadSize, nothing is sent.
    void PacketMakeAndSend(TPacketType type, const void* buf, int32_t count);

signals:
    void connecting(QTcpSocket* attempt); // the connection attempt has begun
    void connected(QTcpSocket* socket);
    void disconnected(QTcpSocket* socket);

private:
    void ClientPacketSocketConnect();
    void ClientPacketSocketDisconnect();
    void ClientPacketSocketRead();
    void SocketError(QAbstractSocket::SocketError error);
    void DropSocket();

    QString host_ = QStringLiteral("localhost");
    quint16 port_ = kGamePort;
    QPointer<QTcpSocket> socket_;
    std::unique_ptr<TPacketThread> thread_;
    bool wasConnecting_ = false;
};
