// Peers that misbehave: one that stops acknowledging (at either end), one that floods the
// dealer with data frames, and a wall clock that steps backwards. A peer that follows the
// protocol must see none of it.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <set>
#include <thread>

#include "packetlink.h"
#include "senddealerpackets.h"
#include "socket_test_util.h"

namespace {

std::atomic<int64_t> testClockMs{0};

int64_t TestClock()
{
    return testClockMs.load();
}

// Puts the wall clock back when the test ends, however it ends.
struct TTestClock {
    explicit TTestClock(int64_t ms)
    {
        testClockMs = ms;
        SetFrameClock(&TestClock);
    }
    ~TTestClock() { SetFrameClock(nullptr); }
};

std::size_t CountFrom(const std::vector<TReceived>& received, QTcpSocket* socket)
{
    return std::size_t(std::count_if(received.begin(), received.end(),
                                     [socket](const TReceived& r) { return r.socket == socket; }));
}

QByteArray Frames(uint32_t firstStamp, int count)
{
    QByteArray frames;
    for (int i = 0; i < count; ++i)
        frames += DataFrame(WAIT_FOR_PLAYERS, firstStamp + uint32_t(i));
    return frames;
}

} // namespace

TEST(Resilience, TheBoundCountsFramesAndBytesUntilTheirAck)
{
    TPacketLink link(QStringLiteral("TestSocket"), {});
    for (int i = 0; i < kMaxPendingFrames; ++i) {
        ASSERT_TRUE(link.AdmitFrame(kHeaderSize)) << i;
        link.AppendWaiting(DataFrame(TRICK_CLEAR, uint32_t(100 + i)));
    }
    EXPECT_FALSE(link.AdmitFrame(kHeaderSize));
    link.SelectOutgoing();
    link.AppendIncoming(BuildControlFrame(ACK, 100));
    EXPECT_FALSE(link.CheckIncomingBuffer());
    EXPECT_EQ(link.PendingFrames(), kMaxPendingFrames - 1);
    EXPECT_TRUE(link.AdmitFrame(kHeaderSize)) << "the ACK made room for one";
    EXPECT_FALSE(link.AdmitFrame(kHeaderSize));
    EXPECT_EQ(link.PeakPendingFrames(), kMaxPendingFrames);

    // Seven of the largest frames fit in the bytes, an eighth does not; the bytes left
    // can still be filled to the last one.
    TPacketLink bytes(QStringLiteral("TestSocket"), {});
    const int fit = int(kMaxPendingBytes / kMaxFrameSize);
    for (int i = 0; i < fit; ++i) {
        ASSERT_TRUE(bytes.AdmitFrame(kMaxFrameSize)) << i;
        bytes.AppendWaiting(DataFrame(CHAT_TEXT, uint32_t(200 + i), QByteArray(kMaxPayloadSize, 'x')));
    }
    const qsizetype rest = kMaxPendingBytes - fit * qsizetype(kMaxFrameSize);
    EXPECT_FALSE(bytes.AdmitFrame(rest + 1));
    EXPECT_TRUE(bytes.AdmitFrame(rest));
    EXPECT_FALSE(bytes.AdmitFrame(1));
    bytes.SelectOutgoing();
    bytes.AppendIncoming(BuildControlFrame(ACK, 200));
    bytes.CheckIncomingBuffer();
    EXPECT_TRUE(bytes.AdmitFrame(kMaxFrameSize)) << "the ACK gave back the frame's bytes";
}

TEST_F(TTable, DealerClosesAPlayerThatStopsAcknowledgingAndServesTheOthers)
{
    auto good = Join();
    auto silent = RawJoin();
    QTcpSocket* player = accepted[0];
    QTcpSocket* stuck = accepted[1];
    std::vector<QTcpSocket*> gone;
    QObject::connect(&server, &TServerPacketSocket::clientDisconnected, [&](QTcpSocket* s) { gone.push_back(s); });

    for (int i = 0; i < kMaxPendingFrames; ++i)
        SendTrickClear(server, stuck);
    SendTrickTaker(server, player, 1);
    ASSERT_TRUE(WaitFor([&] { return atPlayer.size() == 1 && silent->bytesAvailable() == kHeaderSize; }));
    Settle(100);
    EXPECT_TRUE(gone.empty()) << "the bound itself is still allowed";
    EXPECT_EQ(silent->bytesAvailable(), kHeaderSize) << "one frame in flight, the rest queued";

    SendTrickClear(server, stuck);
    ASSERT_TRUE(WaitFor([&] { return !gone.empty(); }));
    EXPECT_EQ(gone, std::vector<QTcpSocket*>{stuck});
    EXPECT_EQ(server.GetServerPacketThread(stuck), nullptr);
    EXPECT_TRUE(WaitFor([&] { return silent->state() == QAbstractSocket::UnconnectedState; }));

    SendTrickTaker(server, player, 2);
    SendTrickClear(server, player);
    ASSERT_TRUE(WaitFor([&] { return atPlayer.size() == 3; }));
    EXPECT_TRUE(good->socket.Connected());
    EXPECT_EQ(server.ActiveConnections(), 1);
    EXPECT_TRUE(messages.empty());
}

TEST(Resilience, PlayerDropsADealerThatStopsAcknowledgingLikeALostConnection)
{
    TRawPeer dealer;
    TClientPacketSocket player;
    std::vector<QString> messages;
    int disconnects = 0;
    QObject::connect(&player, &TPacketSocket::message, [&](const QString& m) { messages.push_back(m); });
    QObject::connect(&player, &TClientPacketSocket::disconnected, [&] {
        ++disconnects;
        EXPECT_EQ(player.PacketThread(), nullptr);
    });
    player.Open("127.0.0.1", dealer.listener.serverPort());
    ASSERT_TRUE(WaitFor([&] { return player.Connected() && dealer.socket != nullptr; }));

    for (int i = 0; i < kMaxPendingFrames; ++i)
        SendOn(player, NEW_GAME);
    ASSERT_TRUE(WaitFor([&] { return dealer.received.size() == kHeaderSize; }));
    Settle(100);
    EXPECT_EQ(disconnects, 0);
    EXPECT_TRUE(player.Connected());

    SendOn(player, NEW_GAME);
    ASSERT_TRUE(WaitFor([&] { return disconnects == 1; }));
    EXPECT_FALSE(player.Active());
    EXPECT_TRUE(WaitFor([&] { return dealer.socket->state() == QAbstractSocket::UnconnectedState; }));
    SendOn(player, NEW_GAME); // without a connection nothing happens
    Settle(50);
    EXPECT_EQ(disconnects, 1);
    EXPECT_EQ(dealer.received.size(), kHeaderSize);
    EXPECT_TRUE(messages.empty()) << "a lost connection shows no message";
}

TEST(Resilience, StampsKeepRisingWhenTheClockStandsOrStepsBack)
{
    using namespace std::chrono;
    // A minute ahead of every stamp made so far, so the clock leads at first.
    const int64_t start = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count() + 60000;
    TTestClock clock(start);
    EXPECT_EQ(FrameStamp(), uint32_t(start)) << "a clock that leads is taken as it is";
    testClockMs = start - 3600000; // an hour back
    const std::vector<uint32_t> back = {FrameStamp(), FrameStamp(), FrameStamp()};
    EXPECT_EQ(back, (std::vector<uint32_t>{uint32_t(start + 1), uint32_t(start + 2), uint32_t(start + 3)}));
    testClockMs = start + 1000;
    EXPECT_EQ(FrameStamp(), uint32_t(start + 1000));

    // Threads stamping at once on a standing clock never share a stamp.
    std::vector<std::vector<uint32_t>> stamps(4);
    std::vector<std::thread> threads;
    for (auto& out : stamps)
        threads.emplace_back([&out] {
            for (int i = 0; i < 20; ++i)
                out.push_back(FrameStamp());
        });
    for (auto& t : threads)
        t.join();
    std::set<uint32_t> all;
    for (const auto& out : stamps) {
        EXPECT_TRUE(std::is_sorted(out.begin(), out.end()));
        all.insert(out.begin(), out.end());
    }
    ASSERT_EQ(all.size(), 80u);
    EXPECT_EQ(*all.begin(), uint32_t(start + 1001));
    EXPECT_EQ(*all.rbegin(), uint32_t(start + 1080));
}

TEST_F(TTable, DealerClosesAPlayerThatSendsMoreDataFramesThanTheLimit)
{
    server.SetDataFrameLimit(100, 10000); // set before the connections: they get it too
    auto calm = Join();
    auto flood = RawJoin();
    QTcpSocket* calmSocket = accepted[0];
    QTcpSocket* flooding = accepted[1];
    std::vector<QTcpSocket*> gone;
    QObject::connect(&server, &TServerPacketSocket::clientDisconnected, [&](QTcpSocket* s) { gone.push_back(s); });

    flood->write(Frames(1, 100));
    for (int i = 0; i < 20; ++i)
        calm->session.SendStartNow();
    ASSERT_TRUE(WaitFor([&] { return CountFrom(atDealer, flooding) == 100 && CountFrom(atDealer, calmSocket) == 20; }));
    Settle(100);
    EXPECT_TRUE(gone.empty()) << "the limit itself is still allowed";

    flood->write(Frames(101, 1));
    ASSERT_TRUE(WaitFor([&] { return !gone.empty(); }));
    EXPECT_EQ(gone, std::vector<QTcpSocket*>{flooding});
    EXPECT_EQ(CountFrom(atDealer, flooding), 100u) << "the frame past the limit is not delivered";
    calm->session.SendStartNow();
    ASSERT_TRUE(WaitFor([&] { return CountFrom(atDealer, calmSocket) == 21; }));
    EXPECT_TRUE(calm->socket.Connected());
}

TEST_F(TTable, EveryFrameButTheAckOfTheFrameInFlightCountsAgainstTheLimit)
{
    auto peer = RawJoin();
    server.SetDataFrameLimit(6, 10000); // an open connection gets it as well
    bool gone = false;
    QObject::connect(&server, &TServerPacketSocket::clientDisconnected, [&] { gone = true; });
    // Acknowledged frames of the dealer's: their good ACKs are free, however many.
    for (int i = 0; i < 20; ++i) {
        SendTrickClear(server, accepted[0]);
        ASSERT_TRUE(WaitFor([&] { return peer->bytesAvailable() >= kHeaderSize; }));
        peer->write(BuildControlFrame(ACK, HeaderOf(peer->read(kHeaderSize)).timestamp));
    }
    const QByteArray frame = DataFrame(NEW_GAME, 7);
    QByteArray spoilt = DataFrame(START_NOW, 8);
    spoilt[1] = 'x';
    // A data frame, its repeat, a spoilt frame, an ACK of nothing and a CRCERROR: five.
    peer->write(frame + frame + spoilt + BuildControlFrame(ACK, 1000) + BuildControlFrame(CRCERROR, CARD_PLAY));
    ASSERT_TRUE(WaitFor([&] { return peer->bytesAvailable() >= 3 * kHeaderSize; })); // ACK, ACK, CRCERROR
    Settle(100);
    EXPECT_FALSE(gone);
    EXPECT_EQ(atDealer.size(), 1u);
    peer->write(BuildControlFrame(CRCERROR, CARD_PLAY) + BuildControlFrame(ACK, 1001));
    ASSERT_TRUE(WaitFor([&] { return gone; }));

    // Bytes count as well: two chat lines of the largest size pass a limit of 12 KiB.
    auto chatter = RawJoin();
    server.SetDataFrameLimit(100, 10000, 12 * 1024);
    gone = false;
    const QByteArray line = DataFrame(CHAT_TEXT, 20, QByteArray(kMaxPayloadSize, 'x'));
    chatter->write(line);
    ASSERT_TRUE(WaitFor([&] { return atDealer.size() == 2; }));
    EXPECT_FALSE(gone);
    chatter->write(DataFrame(CHAT_TEXT, 21, QByteArray(kMaxPayloadSize, 'y')));
    ASSERT_TRUE(WaitFor([&] { return gone; }));
    EXPECT_EQ(atDealer.size(), 2u);
}

TEST_F(TTable, TheLimitForgetsFramesOlderThanItsWindow)
{
    server.SetDataFrameLimit(5, 300);
    auto peer = RawJoin();
    bool gone = false;
    QObject::connect(&server, &TServerPacketSocket::clientDisconnected, [&] { gone = true; });
    peer->write(Frames(1, 5));
    ASSERT_TRUE(WaitFor([&] { return atDealer.size() == 5; }));
    Settle(400);
    peer->write(Frames(6, 5));
    ASSERT_TRUE(WaitFor([&] { return atDealer.size() == 10; }));
    EXPECT_FALSE(gone);
    peer->write(Frames(11, 1));
    ASSERT_TRUE(WaitFor([&] { return gone; }));
    EXPECT_EQ(atDealer.size(), 10u);
}

TEST_F(TTable, HundredsOfAcknowledgedMessagesNeverMeetEitherBound)
{
    auto player = Join();
    QTcpSocket* c = accepted[0];
    // Each batch is queued without the event loop running, as a handler of the dealer or
    // the window does; then the loop runs and every frame is acknowledged.
    constexpr int kBatches = 4, kBatch = 40;
    for (int b = 1; b <= kBatches; ++b) {
        for (int i = 0; i < kBatch; ++i) {
            SendTrickTaker(server, c, uint8_t(i % kSeatCount));
            player->session.SendContractChoice(uint8_t(i % 10));
        }
        ASSERT_TRUE(WaitFor([&] {
            return atPlayer.size() == std::size_t(b * kBatch) && atDealer.size() == std::size_t(b * kBatch);
        })) << "batch " << b;
    }
    EXPECT_TRUE(player->socket.Connected());
    EXPECT_EQ(server.ActiveConnections(), 1);
    const TPacketLink& dealerSide = server.PacketThreads()[0]->Link();
    EXPECT_EQ(dealerSide.PendingFrames(), 0);
    EXPECT_EQ(player->socket.PacketThread()->Link().PendingFrames(), 0);
    EXPECT_LE(dealerSide.PeakPendingFrames(), kBatch);
    EXPECT_TRUE(messages.empty());
}
