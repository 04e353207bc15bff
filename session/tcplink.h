// The session's link over TCP: the client packet socket "PlayerSocket" to a dealer's host
// and port. The only file of the player's side that uses the network.
#pragma once

#include "clientpacketsocket.h"
#include "sessionlink.h"

class TTcpLink : public TSessionLink {
    Q_OBJECT
public:
    explicit TTcpLink(QObject* parent = nullptr);

    void SetHost(const QString& host) { socket_.SetHost(host); }
    void SetPort(quint16 port) { socket_.SetPort(port); }
    TClientPacketSocket& Socket() { return socket_; }

    void Open() override { socket_.Open(); }
    void Close() override { socket_.Close(); }
    bool Active() const override { return socket_.Active(); }
    void Send(TPacketType type, const QByteArray& payload) override;
    QString Host() const override { return socket_.Host(); }
    void SetAddress(const QString& host, quint16 port) override;
    quint16 Port() const override { return socket_.Port(); }
    TLinkFailure Failure() const override;

private:
    TClientPacketSocket socket_;
};
