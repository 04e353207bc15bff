// Loopback fixtures shared by the socket tests: a dealer with players' programs (sessions
// on their TCP links) joining it, and a bare TCP peer that follows no protocol unless the
// test makes it.
#pragma once

#include <algorithm>
#include <memory>
#include <vector>

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include "clientpacketsocket.h"
#include "serverpacketsocket.h"
#include "session.h"
#include "tcplink.h"
#include "wire_test_util.h"

struct TReceived {
    QTcpSocket* socket;
    TPacketType type;
    QByteArray payload;
};

// Records every frame a socket component tells.
inline void Record(TPacketSocket& from, std::vector<TReceived>& into)
{
    QObject::connect(&from, &TPacketSocket::packetRead, &from,
                     [&into](QTcpSocket* s, TPacketType t, const QByteArray& payload) { into.push_back({s, t, payload}); });
}

// Queues a frame on a bare client socket, for the tests of the socket itself.
inline void SendOn(TClientPacketSocket& socket, TPacketType type, const QByteArray& payload = {})
{
    socket.PacketMakeAndSend(type, payload.constData(), int32_t(payload.size()));
}

// A player's program: its session on a TCP link, whose socket the tests look at.
struct TNetPlayer {
    TTcpLink link;
    TSession session{link};
    TClientPacketSocket& socket = link.Socket();
};

// A dealer listening on a free port; Join() adds a player, RawJoin() a bare TCP peer. The
// dealer shows the transport messages of every connection (messages).
struct TTable : ::testing::Test {
    TServerPacketSocket server;
    std::vector<QTcpSocket*> accepted;
    std::vector<TReceived> atDealer, atPlayer;
    std::vector<QString> messages;

    void SetUp() override
    {
        server.SetPort(0);
        QObject::connect(&server, &TServerPacketSocket::clientConnected, &server,
                         [this](QTcpSocket* s) { accepted.push_back(s); });
        QObject::connect(&server, &TServerPacketSocket::connectionMessage, &server,
                         [this](QTcpSocket*, const QString& m) { server.ShowMessage(m); });
        QObject::connect(&server, &TPacketSocket::message, &server, [this](const QString& m) { messages.push_back(m); });
        Record(server, atDealer);
        ASSERT_TRUE(server.Open());
    }

    // A player's program connects; the JOIN_REQUEST its session sends is taken off
    // atDealer once it has arrived, so that a test sees there only what it sent.
    std::unique_ptr<TNetPlayer> Join()
    {
        auto player = std::make_unique<TNetPlayer>();
        Record(player->socket, atPlayer);
        QObject::connect(&player->socket, &TPacketSocket::message, &player->socket,
                         [this](const QString& m) { messages.push_back(m); });
        const std::size_t before = accepted.size();
        player->session.UserName = QStringLiteral("Ali");
        player->link.SetAddress(QStringLiteral("localhost"), server.Port());
        player->session.Open();
        const auto joined = [&] {
            return std::find_if(atDealer.begin(), atDealer.end(), [&](const TReceived& r) {
                return r.type == JOIN_REQUEST && accepted.size() > before && r.socket == accepted.back();
            });
        };
        EXPECT_TRUE(WaitFor([&] { return player->socket.Connected() && joined() != atDealer.end(); }));
        if (joined() != atDealer.end())
            atDealer.erase(joined());
        return player;
    }

    // A peer that sends only what the test writes; what arrives stays unread until read.
    std::unique_ptr<QTcpSocket> RawJoin()
    {
        auto peer = std::make_unique<QTcpSocket>();
        const std::size_t before = accepted.size();
        peer->connectToHost(QHostAddress::LocalHost, server.Port());
        EXPECT_TRUE(WaitFor([&] { return accepted.size() > before; }));
        return peer;
    }
};

// A bare TCP peer that records what arrives and writes what it is told.
struct TRawPeer {
    QTcpServer listener;
    QTcpSocket* socket = nullptr;
    QByteArray received;

    TRawPeer()
    {
        listener.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&listener, &QTcpServer::newConnection, [this] {
            socket = listener.nextPendingConnection();
            QObject::connect(socket, &QTcpSocket::readyRead, [this] { received += socket->readAll(); });
        });
    }
};
