// A peer that sends one frame the other end answers and resets the connection at once:
// the answer's write fails inside the read, and neither end may freeze or lose track of
// its connections. A frozen event loop cannot be waited for from inside it, so a watchdog
// ends the process with a message instead of leaving CI hanging.
#include "freezeguard.h"
#include "payload.h"
#include "senddealerpackets.h"
#include "socket_test_util.h"

namespace {

QByteArray BadCrcFrame()
{
    QByteArray frame = DataFrame(CHAT_TEXT, 7, TPayloadWriter().Text(QStringLiteral("x")).Bytes());
    frame[frame.size() - 1] = 'y';
    return frame;
}

} // namespace

TEST_F(TTable, AFrameAnsweredAndAResetFreezeNeitherTheDealerNorThePlayer)
{
    TWatchdog watchdog("the frame-and-reset test", std::chrono::seconds(60));
    // The dealer answers every frame as a table does: a chat line to everyone, the sender too.
    QObject::connect(&server, &TPacketSocket::packetRead, &server, [this](QTcpSocket*, TPacketType type) {
        for (int i = 0; i < server.ActiveConnections(); ++i)
            SendChatText(server, server.Connection(i), QStringLiteral("got %1").arg(int(type)));
    });
    auto seated = Join(); // a player who sees every answer and must keep its connection
    const std::pair<const char*, QByteArray> kinds[] = {
        {"JOIN_REQUEST", DataFrame(JOIN_REQUEST, 1, TPayloadWriter().Text(QStringLiteral("Ali")).Bytes())},
        {"CHAT_TEXT", DataFrame(CHAT_TEXT, 2, TPayloadWriter().Text(QStringLiteral("Ali> selam")).Bytes())},
        {"CRCERROR", BuildControlFrame(CRCERROR, ACK)},
        {"a frame failing its CRC", BadCrcFrame()},
    };
    for (int round = 0; round < 3; ++round) {
        for (const auto& [name, frame] : kinds) {
            auto peer = RawJoin();
            ASSERT_TRUE(WaitFor([&] { return server.ActiveConnections() == 2; })) << name;
            WriteAndReset(*peer, frame);
            ASSERT_TRUE(WaitFor([&] { return server.ActiveConnections() == 1; })) << name;
        }
    }
    // The dealer still serves: the seated player's frame is answered, and its connection held.
    const std::size_t before = atPlayer.size();
    seated->session.SendChatLine(QStringLiteral("hâlâ burada mısın?"));
    ASSERT_TRUE(WaitFor([&] { return atPlayer.size() > before; }));
    EXPECT_TRUE(seated->socket.Connected());

    // The player's end: the dealer sends a frame and resets at once; the player's ACK fails,
    // and so does the chat line its program answers with.
    for (int round = 0; round < 3; ++round) {
        TRawPeer dealer;
        TNetPlayer player;
        bool gone = false;
        QObject::connect(&player.session, &TSession::trickClear, [&] { player.session.SendChatLine(QStringLiteral("tamam")); });
        QObject::connect(&player.session, &TSession::disconnected, [&] { gone = true; });
        player.link.SetAddress(QStringLiteral("127.0.0.1"), dealer.listener.serverPort());
        player.session.Open();
        ASSERT_TRUE(WaitFor([&] { return dealer.received.size() >= kHeaderSize; })); // JOIN_REQUEST
        const QByteArray ack = BuildControlFrame(ACK, HeaderOf(dealer.received).timestamp);
        WriteAndReset(*dealer.socket, ack + DataFrame(TRICK_CLEAR, 3) + DataFrame(TRICK_CLEAR, 4));
        ASSERT_TRUE(WaitFor([&] { return gone; }));
        EXPECT_EQ(player.socket.PacketThread(), nullptr);
        EXPECT_FALSE(player.session.Active());
    }
}
