// Loopback fixtures shared by the socket tests: a dealer with players joining it, and a
// bare TCP peer that follows no protocol unless the test makes it.
#pragma once

#include <memory>
#include <vector>

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include "clientpacketsocket.h"
#include "wire_test_util.h"
#include "serverpacketsocket.h"

struct TReceived {
    QTcpSocket* socket;
    TPacketType type;
    QByteArray payload;
};

inline TPacketReadEvent Recorder(std::vector<TReceived>& into)
{
    return [&into](QTcpSocket* s, TPacketType t, const uint8_t* buf, int32_t n) {
        into.push_back({s, t, QByteArray(reinterpret_cast<const char*>(buf), n)});
    };
}

// A dealer listening on a free port; Join() adds a player, RawJoin() a bare TCP peer.
struct TTable : ::testing::Test {
    TServerPacketSocket server;
    std::vector<QTcpSocket*> accepted;
    std::vector<TReceived> atDealer, atPlayer;
    std::vector<QString> messages;

    void SetUp() override
    {
        server.SetPort(0);
        server.OnClientConnect = [this](QTcpSocket* s) { accepted.push_back(s); };
        server.OnClientPacketRead = Recorder(atDealer);
        server.OnMessage = [this](const QString& m) { messages.push_back(m); };
        ASSERT_TRUE(server.Open());
    }

    std::unique_ptr<TClientPacketSocket> Join()
    {
        auto client = std::make_unique<TClientPacketSocket>();
        client->OnPacketRead = Recorder(atPlayer);
        client->OnMessage = [this](const QString& m) { messages.push_back(m); };
        const std::size_t before = accepted.size();
        client->Open("localhost", server.Port());
        EXPECT_TRUE(WaitFor([&] { return client->Connected() && accepted.size() > before; }));
        return client;
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
