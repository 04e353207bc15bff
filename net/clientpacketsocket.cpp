#include "clientpacketsocket.h"

TClientPacketSocket::TClientPacketSocket(QObject* parent) : TPacketSocket(parent)
{
    setObjectName(QStringLiteral("PlayerSocket"));
}

TClientPacketSocket::~TClientPacketSocket()
{
    thread_.reset(); // its writes go to the socket, which still exists here
    DropSocket();
}

void TClientPacketSocket::Open(const QString& host, quint16 port)
{
    host_ = host;
    port_ = port;
    Open();
}

void TClientPacketSocket::Open()
{
    Close();
    auto* socket = new QTcpSocket(this);
    socket_ = socket;
    wasConnecting_ = true;
    connect(socket, &QTcpSocket::connected, this, [this, socket] {
        if (socket == socket_)
            ClientPacketSocketConnect();
    });
    // A close or an error may be raised inside a write (a flush to a dealer that reset the
    // connection): both are handled from the event loop, never inside the call that wrote.
    const QPointer<QTcpSocket> guarded(socket);
    connect(
        socket, &QTcpSocket::disconnected, this,
        [this, guarded] {
            if (guarded && guarded == socket_)
                ClientPacketSocketDisconnect();
        },
        Qt::QueuedConnection);
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
        if (socket == socket_)
            ClientPacketSocketRead();
    });
    connect(
        socket, &QTcpSocket::errorOccurred, this,
        [this, guarded](QAbstractSocket::SocketError e) {
            if (guarded && guarded == socket_)
                SocketError(e);
        },
        Qt::QueuedConnection);
    socket->connectToHost(host_, port_);
    if (socket == socket_)
        emit connecting(socket);
}

void TClientPacketSocket::Close()
{
    if (!socket_)
        return;
    if (thread_)
        ClientPacketSocketDisconnect();
    else
        DropSocket();
}

bool TClientPacketSocket::Active() const
{
    return socket_ && socket_->state() != QAbstractSocket::UnconnectedState;
}

bool TClientPacketSocket::Connected() const
{
    return socket_ && thread_ && socket_->state() == QAbstractSocket::ConnectedState;
}

void TClientPacketSocket::DropSocket()
{
    if (!socket_)
        return;
    QTcpSocket* socket = socket_;
    socket_ = nullptr;
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}

void TClientPacketSocket::PacketMakeAndSend(TPacketType type, const void* buf, int32_t count)
{
    if (!thread_ || !IsSendablePayload(buf, count))
        return;
    thread_->MakeFrame(type, buf, count);
}

void TClientPacketSocket::ClientPacketSocketConnect()
{
    wasConnecting_ = false;
    socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    thread_ = std::make_unique<TPacketThread>(objectName(), socket_.data(),
                                              [this](const QString& text) { ShowMessage(text); });
    emit connected(socket_);
}

void TClientPacketSocket::ClientPacketSocketDisconnect()
{
    // The connection is gone for every caller before anyone hears of it; its packet thread
    // and socket are freed from the event loop, so a read or write of it that is under way
    // (the owner may close inside packetRead) returns safely.
    QTcpSocket* socket = socket_;
    TPacketThread::DestroyLater(this, std::move(thread_));
    socket_ = nullptr;
    socket->disconnect(this);
    socket->abort();
    emit disconnected(socket);
    socket->deleteLater();
}

void TClientPacketSocket::ClientPacketSocketRead()
{
    if (!thread_)
        return;
    if (DeliverIncoming(*thread_, socket_) == TReadEnd::Broken)
        Close(); // an impossible frame size: the stream cannot go on
}

void TClientPacketSocket::SocketError(QAbstractSocket::SocketError error)
{
    const bool connecting = wasConnecting_;
    wasConnecting_ = false;
    ShowMessage(SocketErrorText(objectName(), ErrorEventFor(error, connecting)));
}
