// One connection to a dealer, as packets.
//
//   TClientPacketSocket socket;                 // component name "PlayerSocket"
//   socket.OnConnect = [&](QTcpSocket*) { SendJoinRequest(socket, name); };
//   socket.OnPacketRead = [&](QTcpSocket*, TPacketType t, const uint8_t* buf, int32_t n) {...};
//   socket.OnDisconnect = [&](QTcpSocket*) { ... };
//   socket.Open("localhost");                   // port kGamePort unless given
//
// While connected the component owns one TPacketThread. OnConnect is raised after the
// packet thread exists, OnDisconnect after it is gone (frames still queued are lost); a
// close found while writing is handled from the event loop, never inside the write. A
// failed connection attempt shows the connect error text and leaves the component
// unconnected; Open() again to retry. Use the component from the thread that created it.
#pragma once

#include <cstdint>
#include <memory>

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTcpSocket>

#include "packetsocket.h"
#include "packetthread.h"

class TClientPacketSocket : public QObject {
public:
    explicit TClientPacketSocket(QObject* parent = nullptr);
    // Drops the connection. Raises no event: the handlers go with the component, so an owner
    // that holds it as a member need not clear them first.
    ~TClientPacketSocket() override;

    void SetHost(const QString& host) { host_ = host; }
    const QString& Host() const { return host_; }
    void SetPort(quint16 port) { port_ = port; }
    quint16 Port() const { return port_; }

    // Starts connecting to Host():Port() (closing any current connection first).
    void Open();
    void Open(const QString& host, quint16 port = kGamePort);
    // Drops the connection; OnDisconnect is raised from here if it was connected. Safe
    // inside any handler.
    void Close();
    bool Active() const;    // connecting or connected
    bool Connected() const; // connected, with a packet thread

    QTcpSocket* Socket() const { return socket_; }
    TPacketThread* PacketThread() const { return thread_.get(); }

    // Builds a data frame and queues it on the packet thread; returns at once. Without a
    // connection, or with a negative count or one above kMaxPayloadSize, nothing is sent.
    void PacketMakeAndSend(TPacketType type, const void* buf, int32_t count);

    TSocketEvent OnConnecting;     // the connection attempt has begun
    TSocketEvent OnConnect;
    TSocketEvent OnDisconnect;
    TPacketReadEvent OnPacketRead;
    TNetMessageEvent OnMessage;    // default: Notify()

    void ShowMessage(const QString& text) const;

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
