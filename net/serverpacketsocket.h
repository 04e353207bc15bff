// The dealer's listening socket: any number of client connections, as packets.
//
//   TServerPacketSocket server;                 // component name "DealerSocket"
//   connect(&server, &TServerPacketSocket::clientConnected, this, [&](QTcpSocket* c) { ... });
//   connect(&server, &TPacketSocket::packetRead, this, [&](QTcpSocket* c, TPacketType t, const QByteArray& p) {...});
//   server.SetPort(kGamePort);                  // 0 picks a free port; Port() tells which
//   server.Open();                              // listens on all local addresses
//
// Each accepted connection gets its own TPacketThread (PacketThreads(), in accept order);
// clientConnected() is emitted after it exists, clientDisconnected() after it is gone,
// always from the event loop (never inside a send, a read listener or CloseConnection).
// The QTcpSocket* of a connection is its identity in every signal and sender; it stays
// valid at least until the event loop runs after its clientDisconnected(). Use the
// component from the thread that created it (senders included).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <QObject>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>

#include "packetsocket.h"
#include "packetthread.h"

// Connections a server socket holds at once unless told otherwise: far more than a table
// needs, few enough that a peer opening connections without end cannot use up the
// process's threads and file handles.
constexpr int kMaxConnections = 32;

// Who makes room when every connection slot is taken.
class TConnectionRoom {
public:
    virtual ~TConnectionRoom() = default;
    // A connection arrives while MaxConnections are open: names an open one to close for it
    // (closed at once, as by CloseConnection), or nullptr to refuse the newcomer. Nothing is
    // known of the newcomer yet but its address.
    virtual QTcpSocket* MakeRoomFor(const QTcpSocket* newcomer) = 0;
};

class TServerPacketSocket : public TPacketSocket {
    Q_OBJECT
public:
    explicit TServerPacketSocket(QObject* parent = nullptr);
    // Drops every connection and emits nothing.
    ~TServerPacketSocket() override;

    void SetPort(quint16 port) { port_ = port; }
    // The port set, or while listening the port actually listened on.
    quint16 Port() const;

    // Listens on all local addresses (closing first if active). False, with a message,
    // when the port cannot be used.
    bool Open();
    // Stops listening and drops every connection; their packet threads are off the list
    // before this returns (and freed from the event loop). No clientDisconnected() is
    // emitted for them.
    void Close();
    bool Active() const;

    // A connection that arrives while this many are open makes room through the room's
    // MakeRoomFor, or is closed at once, without a packet thread or any signal.
    void SetMaxConnections(int count) { maxConnections_ = count; }
    int MaxConnections() const { return maxConnections_; }
    // nullptr (the default): a newcomer finds no room when all are taken. The room must
    // outlive the component or be set back to nullptr first.
    void SetRoom(TConnectionRoom* room) { room_ = room; }

    // A connection that sends more than frames frames or bytes bytes within windowMs
    // milliseconds is closed (clientDisconnected() as usual). Every frame it sends counts
    // except a good ACK of the frame in flight: control frames, repeats and frames failing
    // their CRC included; 0 (the default) is no limit. Applies to the open connections and
    // to those accepted later. What this side sends is never limited.
    void SetDataFrameLimit(int frames, int windowMs, qint64 bytes = 0);

    // Connections in accept order (those that closed are gone from the list).
    int ActiveConnections() const { return int(connections_.size()); }
    QTcpSocket* Connection(int index) const; // nullptr outside 0..ActiveConnections()-1
    // Drops one connection at once: from now on it is not listed, nothing is sent to it and
    // none of its signals is emitted. clientDisconnected() follows from the event loop, as
    // for a peer that closed. Frames still queued for it are lost. Safe inside any listener.
    void CloseConnection(QTcpSocket* socket);

    // The packet thread bound to socket, or nullptr.
    TPacketThread* GetServerPacketThread(QTcpSocket* socket) const;
    const std::vector<std::unique_ptr<TPacketThread>>& PacketThreads() const { return threads_; }

    // Builds a data frame and queues it on that connection's packet thread; returns at
    // once. For an unknown socket, or a bad count, nothing is sent.
    void PacketMakeAndSend(QTcpSocket* socket, TPacketType type, const void* buf, int32_t count);

signals:
    void clientConnected(QTcpSocket* socket);
    void clientDisconnected(QTcpSocket* socket);
    // A message caused by one connection (its frames, or its socket's error). It is not
    // logged: the owner logs it, or shows it (ShowMessage) for the connections it trusts.
    // The component's own messages (the port, accepting) come through message().
    void connectionMessage(QTcpSocket* socket, const QString& text);

private:
    void ConnectionMessage(QTcpSocket* socket, const QString& text);
    void ServerPacketSocketConnect();
    void ServerPacketSocketDisconnect(QTcpSocket* socket);
    void ServerPacketSocketRead(QTcpSocket* socket);
    void SocketError(QTcpSocket* socket, QAbstractSocket::SocketError error);

    QTcpServer* server_;
    quint16 port_ = kGamePort;
    int maxConnections_ = kMaxConnections;
    TConnectionRoom* room_ = nullptr;
    int frameLimit_ = 0;
    int frameWindowMs_ = 0;
    qint64 byteLimit_ = 0;
    std::vector<QTcpSocket*> connections_;
    std::vector<std::unique_ptr<TPacketThread>> threads_;
};
