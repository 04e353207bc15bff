#include "clientpacketsocket.h"

#include "messagehook.h"

TClientPacketSocket::TClientPacketSocket(QObject* parent) : QObject(parent)
{
    setObjectName(QStringLiteral("PlayerSocket"));
}

TClientPacketSocket::~TClientPacketSocket()
{
    thread_.reset(); // its writes are queued on the socket, which still exists here
    DropSocket();
}

void TClientPacketSocket::ShowMessage(const QString& text) const
{
    ShowNetMessage(OnMessage, text);
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
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
        if (socket == socket_)
            ClientPacketSocketDisconnect();
    });
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
        if (socket == socket_)
            ClientPacketSocketRead();
    });
    connect(socket, &QTcpSocket::errorOccurred, this, [this, socket](QAbstractSocket::SocketError e) {
        if (socket == socket_)
            SocketError(e);
    });
    socket->connectToHost(host_, port_);
    if (OnConnecting && socket == socket_)
        OnConnecting(socket);
}

void TClientPacketSocket::Close()
{
    if (!socket_)
        return;
    QTcpSocket* socket = socket_;
    socket->abort(); // when connected, the disconnect path runs from here
    if (socket == socket_) {
        thread_.reset();
        DropSocket();
    }
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
    if (OnConnect)
        OnConnect(socket_);
}

void TClientPacketSocket::ClientPacketSocketDisconnect()
{
    QTcpSocket* socket = socket_;
    thread_.reset();
    if (OnDisconnect)
        OnDisconnect(socket);
    if (socket == socket_)
        DropSocket();
}

void TClientPacketSocket::ClientPacketSocketRead()
{
    TPacketThread* thread = thread_.get();
    QTcpSocket* socket = socket_;
    if (thread == nullptr)
        return;
    const TReadEnd end = DeliverIncoming(*thread, socket, OnPacketRead, [&] {
        return thread_.get() == thread && socket_ == socket;
    });
    if (end == TReadEnd::Broken)
        socket->abort(); // an impossible frame size: the stream cannot go on
}

void TClientPacketSocket::SocketError(QAbstractSocket::SocketError error)
{
    const bool connecting = wasConnecting_;
    wasConnecting_ = false;
    ShowMessage(SocketErrorText(objectName(), ErrorEventFor(error, connecting)));
}
