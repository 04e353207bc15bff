// The packet sockets over loopback TCP: every message end to end, stop-and-wait on the
// wire, connections coming and going.
#include <algorithm>
#include <cstring>
#include <memory>

#include <QHostAddress>
#include <QTcpServer>

#include <gtest/gtest.h>

#include "extension.h"
#include "payload.h"
#include "senddealerpackets.h"
#include "socket_test_util.h"

TEST_F(TTable, EveryMessageArrivesWithItsExactLength)
{
    auto player = Join();
    TGameInfo record{};
    record.Phase = psPlaying;
    std::strcpy(record.PlayerName[0], "\xDD" "pek"); // İpek in code page 1254

    TSession& ali = player->session;
    ali.SendGameRecord(record);
    ali.SendChatLine(QString::fromUtf8("Günaydın"));
    ali.SendNewGame();
    ali.SendStartNow();
    ali.SendContractChoice(3);
    ali.SendCardPlay(2, 12);
    ali.SendJoinRequest();
    ali.SendWaitForPlayers();
    ASSERT_TRUE(WaitFor([&] { return atDealer.size() == 8; }));
    const int joinBlock = int(JoinExtensionBytes(TJoinExtension{}).size());
    const std::vector<std::pair<TPacketType, int>> dealerExpects = {
        {GAME_RECORD, 456}, {CHAT_TEXT, 16 + 4 + 13}, {NEW_GAME, 16}, {START_NOW, 16},
        {CONTRACT_CHOICE, 17}, {CARD_PLAY, 19}, {JOIN_REQUEST, 23 + joinBlock}, {WAIT_FOR_PLAYERS, 16}};
    for (std::size_t i = 0; i < dealerExpects.size(); ++i) {
        EXPECT_EQ(atDealer[i].type, dealerExpects[i].first) << i;
        EXPECT_EQ(16 + atDealer[i].payload.size(), dealerExpects[i].second) << i;
        EXPECT_EQ(atDealer[i].socket, accepted[0]);
    }
    EXPECT_TRUE(atDealer[6].payload.startsWith(QByteArray("\x03\0\0\0Ali", 7)));
    QString text;
    ASSERT_TRUE(ReadChatText(reinterpret_cast<const uint8_t*>(atDealer[1].payload.constData()), 17, text));
    EXPECT_EQ(text, QString::fromUtf8("Ali> Günaydın"));
    EXPECT_EQ(atDealer[0].payload, QByteArray(reinterpret_cast<const char*>(&record), 440));

    QTcpSocket* c = accepted[0];
    SendGameRecord(server, c, record);
    SendChatText(server, c, "x");
    SendJoinAccepted(server, c, 0, QString::fromUtf8("Oyuna katıldın (1. oyuncu olarak)"));
    SendStatusText(server, c, "");
    SendSeatName(server, c, 3, "Acemi1");
    SendTableFull(server, c);
    SendTrickTaker(server, c, 2);
    SendTrickClear(server, c);
    ASSERT_TRUE(WaitFor([&] { return atPlayer.size() == 8; }));
    const std::vector<std::pair<TPacketType, int>> playerExpects = {
        {GAME_RECORD, 456}, {CHAT_TEXT, 21}, {JOIN_ACCEPTED, 16 + 5 + 33}, {STATUS_TEXT, 20},
        {SEAT_NAME, 16 + 5 + 6}, {TABLE_FULL, 16}, {TRICK_TAKER, 17}, {TRICK_CLEAR, 16}};
    for (std::size_t i = 0; i < playerExpects.size(); ++i) {
        EXPECT_EQ(atPlayer[i].type, playerExpects[i].first) << i;
        EXPECT_EQ(16 + atPlayer[i].payload.size(), playerExpects[i].second) << i;
        EXPECT_EQ(atPlayer[i].socket, player->socket.Socket());
    }
    uint8_t seat = 9;
    ASSERT_TRUE(ReadJoinAccepted(reinterpret_cast<const uint8_t*>(atPlayer[2].payload.constData()),
                                 int32_t(atPlayer[2].payload.size()), seat, text));
    EXPECT_EQ(text, QString::fromUtf8("Oyuna katıldın (1. oyuncu olarak)"));
    EXPECT_TRUE(messages.empty());
}

TEST(PacketSocket, FramesGoOutOneAtATimeEachAfterTheLastAck)
{
    TRawPeer peer;
    TClientPacketSocket player;
    std::vector<QTcpSocket*> disconnected;
    QObject::connect(&player, &TClientPacketSocket::disconnected, [&](QTcpSocket* s) { disconnected.push_back(s); });
    player.Open("127.0.0.1", peer.listener.serverPort());
    ASSERT_TRUE(WaitFor([&] { return player.Connected() && peer.socket != nullptr; }));
    const auto sendCard = [&](uint8_t value) { SendOn(player, CARD_PLAY, TPayloadWriter().Byte(0).Byte(1).Byte(value).Bytes()); };
    for (uint8_t card = 0; card < 3; ++card)
        sendCard(card);
    for (uint8_t card = 0; card < 2; ++card) {
        ASSERT_TRUE(WaitFor([&] { return peer.received.size() >= 19; }));
        Settle();
        ASSERT_EQ(peer.received.size(), 19) << "only the frame in flight is on the wire";
        ASSERT_TRUE(VerifyFrame(peer.received.constData(), 19));
        EXPECT_EQ(peer.received[18], char(card));
        peer.socket->write(BuildControlFrame(ACK, HeaderOf(peer.received).timestamp));
        peer.received.clear();
    }
    ASSERT_TRUE(WaitFor([&] { return peer.received.size() >= 19; }));
    EXPECT_EQ(peer.received[18], char(2));

    // Closed with two more frames queued and none acknowledged: they go with the thread.
    sendCard(3);
    sendCard(4);
    QTcpSocket* socket = player.Socket();
    player.Close();
    EXPECT_EQ(player.PacketThread(), nullptr);
    EXPECT_EQ(disconnected, std::vector<QTcpSocket*>{socket});
    sendCard(5); // without a connection nothing happens
    EXPECT_FALSE(player.Active());
}

TEST(PacketSocket, ImpossibleFrameSizeClosesTheConnection)
{
    TRawPeer peer;
    TClientPacketSocket player;
    std::vector<TReceived> got;
    bool disconnected = false;
    Record(player, got);
    QObject::connect(&player, &TClientPacketSocket::disconnected, [&] { disconnected = true; });
    player.Open("127.0.0.1", peer.listener.serverPort());
    ASSERT_TRUE(WaitFor([&] { return player.Connected() && peer.socket != nullptr; }));
    QByteArray frame = BuildControlFrame(TRICK_CLEAR, 5);
    const int32_t huge = 1 << 30;
    std::memcpy(frame.data() + 4, &huge, 4);
    peer.socket->write(BuildControlFrame(TRICK_CLEAR, 4) + frame);
    ASSERT_TRUE(WaitFor([&] { return disconnected; }));
    ASSERT_EQ(got.size(), 1u); // the good frame before it still counts
    EXPECT_EQ(got[0].type, TRICK_CLEAR);
    EXPECT_EQ(player.PacketThread(), nullptr);
}

TEST_F(TTable, ClientsLeavingInReverseOrderLeaveTheRightThreads)
{
    std::vector<QTcpSocket*> gone;
    QObject::connect(&server, &TServerPacketSocket::clientDisconnected, [&](QTcpSocket* s) {
        EXPECT_EQ(server.GetServerPacketThread(s), nullptr);
        gone.push_back(s);
    });
    auto a = Join(), b = Join(), c = Join();
    ASSERT_EQ(server.PacketThreads().size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(server.Connection(i), accepted[std::size_t(i)]);
        EXPECT_EQ(server.PacketThreads()[std::size_t(i)]->Socket(), accepted[std::size_t(i)]);
    }
    c->session.Close();
    ASSERT_TRUE(WaitFor([&] { return gone.size() == 1; }));
    b->session.Close();
    ASSERT_TRUE(WaitFor([&] { return gone.size() == 2; }));
    EXPECT_EQ(gone, (std::vector<QTcpSocket*>{accepted[2], accepted[1]}));
    ASSERT_EQ(server.PacketThreads().size(), 1u);
    EXPECT_EQ(server.PacketThreads()[0]->Socket(), accepted[0]);
    EXPECT_EQ(server.ActiveConnections(), 1);
    EXPECT_EQ(server.Connection(1), nullptr);
    SendTrickClear(server, accepted[1]); // a connection that is gone: nothing happens
    SendTrickClear(server, accepted[0]);
    ASSERT_TRUE(WaitFor([&] { return atPlayer.size() == 1; }));
}

TEST_F(TTable, ClosingTheServerEndsItsThreadsBeforeListeningAgain)
{
    auto a = Join(), b = Join();
    bool aGone = false;
    QObject::connect(&a->session, &TSession::disconnected, [&] { aGone = true; });
    server.Close();
    EXPECT_FALSE(server.Active());
    EXPECT_TRUE(server.PacketThreads().empty());
    EXPECT_EQ(server.ActiveConnections(), 0);
    ASSERT_TRUE(WaitFor([&] { return aGone && !b->socket.Connected(); }));

    ASSERT_TRUE(server.Open());
    auto c = Join();
    ASSERT_EQ(server.PacketThreads().size(), 1u);
    c->session.SendStartNow();
    ASSERT_TRUE(WaitFor([&] { return atDealer.size() == 1; }));
    EXPECT_EQ(atDealer[0].socket, server.Connection(0));
}

TEST_F(TTable, HandlerMayDropTheConnectionInTheMiddleOfARead)
{
    auto player = Join();
    // After the fixture's recorder, the dealer closes the connection at the first frame.
    QObject::connect(&server, &TPacketSocket::packetRead, [this](QTcpSocket* s) { server.CloseConnection(s); });
    // Two frames in one write: the second is never delivered once the first closed it.
    QByteArray frames = DataFrame(NEW_GAME, 1) + DataFrame(START_NOW, 2);
    player->socket.Socket()->write(frames);
    ASSERT_TRUE(WaitFor([&] { return !player->socket.Connected(); }));
    Settle(50);
    ASSERT_EQ(atDealer.size(), 1u);
    EXPECT_EQ(atDealer[0].type, NEW_GAME);
    EXPECT_TRUE(server.PacketThreads().empty());
}

// What a message box does to a packet handler: it runs the event loop until it is closed.
static void ShowBox(int ms = 100)
{
    Settle(ms);
}

TEST_F(TTable, FramesThatArriveWhileAHandlerShowsABoxAreDeliveredAfterIt)
{
    auto player = Join();
    QTcpSocket* c = accepted[0];
    // The second frame goes out as soon as the first is acknowledged, that is before the
    // first one's handler runs, and reaches each end while that handler's box is open.
    // Listeners after the fixture's recorders.
    QObject::connect(&player->socket, &TPacketSocket::packetRead, [&] {
        if (atPlayer.size() == 1)
            ShowBox();
    });
    QObject::connect(&server, &TPacketSocket::packetRead, [&] {
        if (atDealer.size() == 1)
            ShowBox();
    });
    SendTrickTaker(server, c, 2);
    SendTrickClear(server, c);
    ASSERT_TRUE(WaitFor([&] { return atPlayer.size() == 2; }, 3000));
    EXPECT_EQ(atPlayer[1].type, TRICK_CLEAR);
    player->session.SendNewGame();
    player->session.SendStartNow();
    ASSERT_TRUE(WaitFor([&] { return atDealer.size() == 2; }, 3000));
    EXPECT_EQ(atDealer[1].type, START_NOW);
}

namespace {
QStringList netLog;
void RecordNetLog(QtMsgType, const QMessageLogContext& context, const QString& text)
{
    if (QLatin1String(context.category) == QLatin1String("zorbela.net"))
        netLog.append(text);
}
} // namespace

TEST_F(TTable, ATransportMessageIsLoggedAndHandedOverOncePerConnectionWithItsCount)
{
    QTcpSocket first, second;
    for (QTcpSocket* peer : {&first, &second})
        peer->connectToHost(QHostAddress::LocalHost, server.Port());
    ASSERT_TRUE(WaitFor([&] { return accepted.size() == 2; }));
    netLog.clear();
    const QtMessageHandler previous = qInstallMessageHandler(RecordNetLog);
    QByteArray flood;
    for (uint32_t i = 0; i < 40; ++i)
        flood += BuildControlFrame(ACK, 100 + i); // acknowledges nothing
    first.write(flood);
    second.write(BuildControlFrame(ACK, 2)); // nor does this one
    const bool both = WaitFor([&] { return messages.size() == 2; });
    Settle(50);
    const QStringList whileOpen = netLog;
    first.abort();
    second.abort();
    WaitFor([&] { return server.ActiveConnections() == 0 && netLog.size() > 2; });
    Settle(50);
    qInstallMessageHandler(previous);
    ASSERT_TRUE(both);
    EXPECT_EQ(messages.size(), 2u);
    const QString text = QStringLiteral("timestamp of ACK and OutgoingPacket is not equal!");
    EXPECT_EQ(messages[0], text);
    EXPECT_EQ(whileOpen, (QStringList{text, text}));
    ASSERT_EQ(netLog.size(), 3) << netLog.join(u'\n').toStdString();
    EXPECT_TRUE(netLog[2].endsWith(text + QStringLiteral(" (39 more times)"))) << netLog[2].toStdString();
}

TEST_F(TTable, APeerThatAsksForRepeatsButReadsNothingIsDropped)
{
    QTcpSocket peer;
    peer.setReadBufferSize(64); // it stops reading almost at once
    peer.connectToHost(QHostAddress::LocalHost, server.Port());
    ASSERT_TRUE(WaitFor([&] { return accepted.size() == 1; }));
    bool gone = false;
    QObject::connect(&server, &TServerPacketSocket::clientDisconnected, [&] { gone = true; });
    SendGameRecord(server, accepted[0], TGameInfo{}); // in flight, never acknowledged
    // Every 16-byte CRCERROR naming it asks for the whole 456-byte frame again.
    QByteArray burst;
    for (int i = 0; i < 1000; ++i)
        burst += BuildControlFrame(CRCERROR, GAME_RECORD);
    for (int round = 0; round < 200 && !gone; ++round) {
        peer.write(burst);
        WaitFor([&] { return gone || peer.bytesToWrite() == 0; }, 1000);
    }
    ASSERT_TRUE(WaitFor([&] { return gone; }, 1000));
    EXPECT_EQ(server.ActiveConnections(), 0);
    EXPECT_TRUE(server.PacketThreads().empty());
}

TEST_F(TTable, ConnectionsBeyondTheLimitAreClosedAtOnce)
{
    server.SetMaxConnections(3);
    std::vector<std::unique_ptr<QTcpSocket>> peers;
    int closed = 0;
    for (int i = 0; i < 5; ++i) {
        auto& peer = peers.emplace_back(std::make_unique<QTcpSocket>());
        QObject::connect(peer.get(), &QTcpSocket::disconnected, [&] { ++closed; });
        peer->connectToHost(QHostAddress::LocalHost, server.Port());
    }
    ASSERT_TRUE(WaitFor([&] { return closed == 2; }));
    Settle(50);
    EXPECT_EQ(accepted.size(), 3u);
    EXPECT_EQ(server.PacketThreads().size(), 3u);
    const auto open = std::find_if(peers.begin(), peers.end(), [](const auto& p) {
        return p->state() == QAbstractSocket::ConnectedState;
    });
    ASSERT_NE(open, peers.end());
    (*open)->abort(); // room for one more
    ASSERT_TRUE(WaitFor([&] { return server.ActiveConnections() == 2; }));
    auto player = Join();
    EXPECT_EQ(server.ActiveConnections(), 3);
    EXPECT_TRUE(player->socket.Connected());
}

TEST(PacketSocket, FailedConnectionShowsTheConnectText)
{
    QTcpServer probe; // find a port nobody listens on
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    TClientPacketSocket player;
    std::vector<QString> messages;
    QObject::connect(&player, &TPacketSocket::message, [&](const QString& m) { messages.push_back(m); });
    player.Open("127.0.0.1", port);
    ASSERT_TRUE(WaitFor([&] { return !messages.empty(); }));
    EXPECT_EQ(messages[0], SocketErrorText("PlayerSocket", eeConnect));
    EXPECT_TRUE(messages[0].contains(QChar(0x2019))); // "can’t"
    EXPECT_FALSE(player.Active());
    EXPECT_EQ(player.PacketThread(), nullptr);
    EXPECT_EQ(SocketErrorText("DealerSocket", 6), QString());
}

// Destroying a component, with connections open, frames queued and bytes waiting, emits
// none of its signals.
TEST_F(TTable, DestroyingAComponentRaisesNoEvent)
{
    auto server2 = std::make_unique<TServerPacketSocket>();
    server2->SetPort(0);
    ASSERT_TRUE(server2->Open());
    int serverEvents = 0, playerEvents = 0;
    auto player = std::make_unique<TClientPacketSocket>();
    player->Open("localhost", server2->Port());
    ASSERT_TRUE(WaitFor([&] { return player->Connected() && server2->ActiveConnections() == 1; }));
    const auto count = [](int& events) { return [&events] { ++events; }; };
    QObject::connect(server2.get(), &TServerPacketSocket::clientDisconnected, count(serverEvents));
    QObject::connect(server2.get(), &TPacketSocket::packetRead, count(serverEvents));
    QObject::connect(server2.get(), &TPacketSocket::message, count(serverEvents));
    QObject::connect(server2.get(), &TServerPacketSocket::connectionMessage, count(serverEvents));
    QObject::connect(player.get(), &TClientPacketSocket::disconnected, count(playerEvents));
    QObject::connect(player.get(), &TPacketSocket::packetRead, count(playerEvents));
    QObject::connect(player.get(), &TPacketSocket::message, count(playerEvents));
    for (int i = 0; i < 3; ++i) {
        SendOn(*player, NEW_GAME);
        SendTrickClear(*server2, server2->Connection(0));
    }
    player->Socket()->flush();
    server2.reset();
    player.reset();
    Settle(50);
    EXPECT_EQ(serverEvents, 0);
    EXPECT_EQ(playerEvents, 0);
}
