// A peer that sends one frame the other end answers and resets the connection at once:
// the answer's write fails inside the read, and neither end may freeze or lose track of
// its connections. A frozen event loop cannot be waited for from inside it, so a watchdog
// ends the process with a message instead of leaving CI hanging.
#include "freezeguard.h"
#include "payload.h"
#include "senddealerpackets.h"
#include "sendplayerpackets.h"
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
    server.OnClientPacketRead = [this](QTcpSocket*, TPacketType type, const uint8_t*, int32_t) {
        for (int i = 0; i < server.ActiveConnections(); ++i)
            SendChatText(server, server.Connection(i), QStringLiteral("got %1").arg(int(type)));
    };
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
    SendChatText(*seated, QStringLiteral("Veli> hâlâ burada mısın?"));
    ASSERT_TRUE(WaitFor([&] { return atPlayer.size() > before; }));
    EXPECT_TRUE(seated->Connected());

    // The player's end: the dealer sends a frame and resets at once; the player's ACK fails.
    for (int round = 0; round < 3; ++round) {
        TRawPeer dealer;
        TClientPacketSocket player;
        bool gone = false;
        player.OnPacketRead = [&](QTcpSocket*, TPacketType, const uint8_t*, int32_t) {
            SendChatText(player, QStringLiteral("Ali> tamam"));
        };
        player.OnDisconnect = [&](QTcpSocket*) { gone = true; };
        player.Open("127.0.0.1", dealer.listener.serverPort());
        ASSERT_TRUE(WaitFor([&] { return player.Connected() && dealer.socket != nullptr; }));
        WriteAndReset(*dealer.socket, DataFrame(TRICK_CLEAR, 3) + DataFrame(TRICK_CLEAR, 4));
        ASSERT_TRUE(WaitFor([&] { return gone; }));
        EXPECT_EQ(player.PacketThread(), nullptr);
        EXPECT_FALSE(player.Active());
    }
}
