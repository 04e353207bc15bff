#include "serverpacketsocket.h"

#include <algorithm>

#include <QHostAddress>
#include <QPointer>


TServerPacketSocket::TServerPacketSocket(QObject* parent)
    : TPacketSocket(parent), server_(new QTcpServer(this))
{
    setObjectName(QStringLiteral("DealerSocket"));
    connect(server_, &QTcpServer::newConnection, this, [this] { ServerPacketSocketConnect(); });
    connect(server_, &QTcpServer::acceptError, this, [this](QAbstractSocket::SocketError) {
        ShowMessage(SocketErrorText(objectName(), eeAccept));
    });
}

TServerPacketSocket::~TServerPacketSocket()
{
    Close();
}

quint16 TServerPacketSocket::Port() const
{
    return server_->isListening() ? server_->serverPort() : port_;
}

bool TServerPacketSocket::Open()
{
    Close();
    if (!server_->listen(QHostAddress::Any, port_)) {
        ShowMessage(objectName() + QStringLiteral(": ") + server_->errorString());
        return false;
    }
    return true;
}

void TServerPacketSocket::Close()
{
    server_->close();
    // Every packet thread goes before its socket, so no write is left pointing at it; none
    // inside a call of its own (a handler may close the component).
    std::vector<std::unique_ptr<TPacketThread>> threads;
    threads.swap(threads_);
    for (auto& thread : threads)
        TPacketThread::DestroyLater(this, std::move(thread));
    std::vector<QTcpSocket*> sockets;
    sockets.swap(connections_);
    for (QTcpSocket* socket : sockets) {
        socket->disconnect(this);
        socket->abort();
        socket->deleteLater();
    }
}

bool TServerPacketSocket::Active() const
{
    return server_->isListening();
}

void TServerPacketSocket::SetDataFrameLimit(int frames, int windowMs, qint64 bytes)
{
    frameLimit_ = frames;
    frameWindowMs_ = windowMs;
    byteLimit_ = bytes;
    for (const auto& thread : threads_)
        thread->Link().SetDataFrameLimit(frames, windowMs, bytes);
}

QTcpSocket* TServerPacketSocket::Connection(int index) const
{
    return index >= 0 && index < int(connections_.size()) ? connections_[std::size_t(index)] : nullptr;
}

TPacketThread* TServerPacketSocket::GetServerPacketThread(QTcpSocket* socket) const
{
    if (socket == nullptr)
        return nullptr;
    for (const auto& thread : threads_) {
        if (thread->Socket() == socket)
            return thread.get();
    }
    return nullptr;
}

void TServerPacketSocket::PacketMakeAndSend(QTcpSocket* socket, TPacketType type, const void* buf,
                                            int32_t count)
{
    if (!IsSendablePayload(buf, count))
        return;
    if (TPacketThread* thread = GetServerPacketThread(socket))
        thread->MakeFrame(type, buf, count);
}

void TServerPacketSocket::CloseConnection(QTcpSocket* socket)
{
    ServerPacketSocketDisconnect(socket);
}

void TServerPacketSocket::ServerPacketSocketConnect()
{
    while (QTcpSocket* socket = server_->nextPendingConnection()) {
        socket->setParent(this);
        if (int(connections_.size()) >= maxConnections_) {
            QTcpSocket* room = room_ ? room_->MakeRoomFor(socket) : nullptr;
            if (room != nullptr && std::find(connections_.begin(), connections_.end(), room) != connections_.end()) {
                CloseConnection(room);
            } else {
                socket->abort();
                socket->deleteLater();
                continue;
            }
        }
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        // A close or an error may be raised inside a write (a flush to a peer that reset
        // the connection): both are handled from the event loop, never inside the call
        // that wrote.
        const QPointer<QTcpSocket> guarded(socket);
        connect(
            socket, &QTcpSocket::disconnected, this,
            [this, guarded] { if (guarded) ServerPacketSocketDisconnect(guarded); }, Qt::QueuedConnection);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { ServerPacketSocketRead(socket); });
        connect(
            socket, &QTcpSocket::errorOccurred, this,
            [this, guarded](QAbstractSocket::SocketError e) { if (guarded) SocketError(guarded, e); },
            Qt::QueuedConnection);
        if (socket->state() != QAbstractSocket::ConnectedState) {
            // Gone before it was seen: nothing to announce.
            socket->disconnect(this);
            socket->deleteLater();
            continue;
        }
        connections_.push_back(socket);
        threads_.push_back(std::make_unique<TPacketThread>(
            objectName(), socket, [this, socket](const QString& text) { ConnectionMessage(socket, text); }));
        threads_.back()->Link().SetDataFrameLimit(frameLimit_, frameWindowMs_, byteLimit_);
        emit clientConnected(socket);
    }
}

void TServerPacketSocket::ServerPacketSocketDisconnect(QTcpSocket* socket)
{
    if (std::find(connections_.begin(), connections_.end(), socket) == connections_.end())
        return;
    // From here the connection is gone for every caller: no lookup finds it, no frame
    // goes to it, no event of its socket is raised. Its packet thread and socket are freed
    // from the event loop, so a read or write of it that is under way returns safely, and
    // clientDisconnected() is emitted from there too, never inside the call that closed it.
    auto thread = std::find_if(threads_.begin(), threads_.end(),
                               [socket](const auto& t) { return t->Socket() == socket; });
    if (thread != threads_.end()) {
        TPacketThread::DestroyLater(this, std::move(*thread));
        threads_.erase(thread);
    }
    connections_.erase(std::remove(connections_.begin(), connections_.end(), socket), connections_.end());
    socket->disconnect(this);
    socket->abort();
    QMetaObject::invokeMethod(
        this,
        [this, socket] {
            emit clientDisconnected(socket);
            socket->deleteLater();
        },
        Qt::QueuedConnection);
}

void TServerPacketSocket::ServerPacketSocketRead(QTcpSocket* socket)
{
    TPacketThread* thread = GetServerPacketThread(socket);
    if (thread == nullptr)
        return;
    if (DeliverIncoming(*thread, socket) == TReadEnd::Broken)
        CloseConnection(socket); // an impossible frame size or a flood: the stream cannot go on
}

void TServerPacketSocket::SocketError(QTcpSocket* socket, QAbstractSocket::SocketError error)
{
    ConnectionMessage(socket, SocketErrorText(objectName(), ErrorEventFor(error, false)));
}

void TServerPacketSocket::ConnectionMessage(QTcpSocket* socket, const QString& text)
{
    if (!text.isEmpty())
        emit connectionMessage(socket, text);
}
