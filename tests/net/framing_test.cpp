// Cutting byte streams into frames, acknowledgement, repeats and stop-and-wait sending,
// on TPacketLink alone (no socket, no thread) and on a packet thread.
#include <mutex>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "wire_test_util.h"
#include "packetthread.h"

namespace {

// One end of a connection whose writes are collected instead of sent.
struct TEnd {
    std::vector<QByteArray> written;
    std::vector<QString> messages;
    TPacketLink link{QStringLiteral("TestSocket"), [this](const QByteArray& f) { written.push_back(f); },
                     [this](const QString& m) { messages.push_back(m); }};

    // Delivers everything that is complete; returns the types of the delivered frames.
    std::vector<QByteArray> Drain()
    {
        std::vector<QByteArray> delivered;
        while (link.CheckIncomingBuffer())
            delivered.push_back(link.RecvPacketBuffer());
        return delivered;
    }
};

const QByteArray kCard = DataFrame(CARD_PLAY, 1000, Hex("010203"));
const QByteArray kChoice = DataFrame(CONTRACT_CHOICE, 2000, Hex("05"));

} // namespace

TEST(Framing, TwoFramesInOneReadAreDeliveredInOrderAndAcknowledged)
{
    TEnd end;
    end.link.AppendIncoming(kCard + kChoice);
    ASSERT_TRUE(end.link.CheckIncomingBuffer());
    EXPECT_EQ(end.link.RecvType(), CARD_PLAY);
    EXPECT_EQ(end.link.RecvCount(), 3);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(end.link.RecvPayload()), 3), Hex("010203"));
    ASSERT_EQ(end.written.size(), 1u); // the ACK leaves before the owner sees the frame
    EXPECT_EQ(end.written[0], BuildControlFrame(ACK, 1000));
    ASSERT_TRUE(end.link.CheckIncomingBuffer());
    EXPECT_EQ(end.link.RecvPacketBuffer(), kChoice);
    EXPECT_FALSE(end.link.CheckIncomingBuffer());
    EXPECT_EQ(end.written.back(), BuildControlFrame(ACK, 2000));
    EXPECT_EQ(end.link.IncomingSize(), 0);
}

TEST(Framing, AFrameSplitAnywhereWaitsForItsLastByte)
{
    const QByteArray stream = kCard + kChoice;
    for (int cut = 1; cut < stream.size(); ++cut) {
        TEnd end;
        end.link.AppendIncoming(stream.left(cut));
        const auto first = end.Drain();
        EXPECT_EQ(first.size(), cut >= kCard.size() ? 1u : 0u) << "cut " << cut;
        EXPECT_EQ(end.written.size(), first.size()) << "cut " << cut;
        end.link.AppendIncoming(stream.mid(cut));
        const auto rest = end.Drain();
        ASSERT_EQ(first.size() + rest.size(), 2u) << "cut " << cut;
        EXPECT_EQ(rest.back(), kChoice);
    }
}

TEST(Framing, FifteenBytesAreNeverParsed)
{
    TEnd end;
    QByteArray impossible = BuildControlFrame(ACK, 7);
    impossible.replace(4, 4, Hex("FFFFFFFF")); // size -1 once all 16 bytes are there
    end.link.AppendIncoming(impossible.left(15));
    EXPECT_FALSE(end.link.CheckIncomingBuffer());
    EXPECT_FALSE(end.link.Broken());
    EXPECT_TRUE(end.written.empty());
    end.link.AppendIncoming(impossible.mid(15));
    EXPECT_FALSE(end.link.CheckIncomingBuffer());
    EXPECT_TRUE(end.link.Broken());
}

TEST(Framing, ImpossibleSizesBreakTheStreamAtOnce)
{
    for (int32_t size : {-2147483647 - 1, -1, 0, 15, kMaxFrameSize + 1, 2147483647}) {
        TEnd end;
        QByteArray frame = kChoice;
        std::memcpy(frame.data() + 4, &size, 4);
        end.link.AppendIncoming(frame);
        EXPECT_FALSE(end.link.CheckIncomingBuffer()) << size;
        EXPECT_TRUE(end.link.Broken()) << size;
        EXPECT_EQ(end.link.IncomingSize(), 0) << size;
        end.link.AppendIncoming(kCard); // nothing after it is looked at
        EXPECT_FALSE(end.link.CheckIncomingBuffer()) << size;
        EXPECT_TRUE(end.written.empty()) << size;
    }
    TEnd largest; // the largest frame accepted
    largest.link.AppendIncoming(DataFrame(CHAT_TEXT, 5, QByteArray(kMaxPayloadSize, 'x')));
    ASSERT_TRUE(largest.link.CheckIncomingBuffer());
    EXPECT_EQ(largest.link.RecvCount(), kMaxPayloadSize);
}

TEST(Framing, CorruptedFrameIsAnsweredWithCrcErrorAndDropped)
{
    TEnd end;
    QByteArray bad = kCard;
    bad[1] = 'x'; // padding is covered by the CRC
    end.link.AppendIncoming(bad + kChoice);
    const auto delivered = end.Drain();
    ASSERT_EQ(delivered.size(), 1u);
    EXPECT_EQ(delivered[0], kChoice);
    ASSERT_EQ(end.written.size(), 2u);
    EXPECT_EQ(end.written[0], BuildControlFrame(CRCERROR, CARD_PLAY));
    EXPECT_EQ(end.link.LastCrcError(), end.written[0]);
    EXPECT_EQ(end.written[1], BuildControlFrame(ACK, 2000));
}

TEST(Framing, RepeatIsAcknowledgedAgainButNotDelivered)
{
    TEnd end;
    end.link.AppendIncoming(kCard + kCard);
    EXPECT_EQ(end.Drain().size(), 1u);
    ASSERT_EQ(end.written.size(), 2u);
    EXPECT_EQ(end.written[0], end.written[1]);
    end.link.AppendIncoming(DataFrame(CARD_PLAY, 1001, Hex("010203"))); // new stamp: new frame
    EXPECT_EQ(end.Drain().size(), 1u);
    // A received DISCARD_PREDATA is a data frame like any other.
    end.link.AppendIncoming(BuildControlFrame(DISCARD_PREDATA, 0xFFFFFFFFu));
    ASSERT_EQ(end.Drain().size(), 1u);
    EXPECT_EQ(end.link.RecvType(), DISCARD_PREDATA);
    EXPECT_EQ(end.link.RecvCount(), 0);
}

TEST(Framing, CrcErrorNamingControlTypesRepeatsThemByteForByte)
{
    TEnd end;
    end.link.AppendIncoming(kCard);
    end.Drain();
    QByteArray bad = kChoice;
    bad[16] = 9;
    end.link.AppendIncoming(bad);
    end.Drain();
    const QByteArray ack = end.link.LastAck(), crcError = end.link.LastCrcError();
    ASSERT_EQ(ack, BuildControlFrame(ACK, 1000));
    ASSERT_EQ(crcError, BuildControlFrame(CRCERROR, CONTRACT_CHOICE));
    end.written.clear();
    end.link.AppendIncoming(BuildControlFrame(CRCERROR, ACK) + BuildControlFrame(CRCERROR, CRCERROR)
                            + BuildControlFrame(CRCERROR, DISCARD_PREDATA));
    EXPECT_TRUE(end.Drain().empty());
    ASSERT_EQ(end.written.size(), 3u);
    EXPECT_EQ(end.written[0], ack);
    EXPECT_EQ(end.written[1], crcError);
    EXPECT_EQ(end.written[2], BuildControlFrame(DISCARD_PREDATA, 0xFFFFFFFFu));
    // Nothing in flight: neither a CRCERROR nor an ACK finds a frame.
    end.link.AppendIncoming(BuildControlFrame(CRCERROR, CARD_PLAY) + BuildControlFrame(ACK, 1));
    end.Drain();
    EXPECT_EQ(end.written.size(), 3u);
    EXPECT_EQ(end.messages, (std::vector<QString>{"Cannot locate CRCERROR type!",
                                                  "timestamp of ACK and OutgoingPacket is not equal!"}));
}

TEST(Framing, AMessageBoxThatLetsFurtherReadsRunSeesEachFrameOnce)
{
    // A message box runs the event loop: the next read event processes the buffer while
    // the first message is still open.
    std::vector<QByteArray> written, delivered;
    std::vector<QString> messages;
    bool nested = false;
    TPacketLink* self = nullptr;
    TPacketLink link(QStringLiteral("TestSocket"), [&](const QByteArray& f) { written.push_back(f); },
                     [&](const QString& m) {
                         messages.push_back(m);
                         if (nested)
                             return;
                         nested = true;
                         self->AppendIncoming(kCard + kChoice.left(10));
                         while (self->CheckIncomingBuffer())
                             delivered.push_back(self->RecvPacketBuffer());
                     });
    self = &link;
    link.AppendIncoming(BuildControlFrame(ACK, 5) + BuildControlFrame(CRCERROR, CARD_PLAY));
    while (link.CheckIncomingBuffer())
        delivered.push_back(link.RecvPacketBuffer());
    link.AppendIncoming(kChoice.mid(10));
    while (link.CheckIncomingBuffer())
        delivered.push_back(link.RecvPacketBuffer());

    EXPECT_EQ(messages, (std::vector<QString>{"timestamp of ACK and OutgoingPacket is not equal!",
                                              "Cannot locate CRCERROR type!"}));
    EXPECT_EQ(delivered, (std::vector<QByteArray>{kCard, kChoice}));
    EXPECT_EQ(written, (std::vector<QByteArray>{BuildControlFrame(ACK, 1000), BuildControlFrame(ACK, 2000)}));
    EXPECT_EQ(link.IncomingSize(), 0);
}

TEST(Framing, SenderWaitsForEachAckAndRepeatsOnlyOnCrcError)
{
    TEnd end;
    const QByteArray third = DataFrame(CHAT_TEXT, 3000, Hex("00000000"));
    for (const QByteArray& f : {kCard, kChoice, third})
        end.link.AppendWaiting(f);
    end.link.SelectOutgoing();
    end.link.SelectOutgoing(); // still in flight: nothing more
    ASSERT_EQ(end.written, std::vector<QByteArray>{kCard});
    EXPECT_EQ(end.link.WaitingCount(), 3);

    end.link.AppendIncoming(BuildControlFrame(CRCERROR, CONTRACT_CHOICE)); // not the frame in flight
    end.link.AppendIncoming(BuildControlFrame(CRCERROR, CARD_PLAY));
    end.link.AppendIncoming(BuildControlFrame(ACK, 999)); // a stale ACK
    end.Drain();
    ASSERT_EQ(end.written.size(), 2u);
    EXPECT_EQ(end.written[1], kCard);
    EXPECT_EQ(end.link.OutgoingPacket(), kCard);
    EXPECT_EQ(end.messages.size(), 2u);

    end.link.AppendIncoming(BuildControlFrame(ACK, 1000));
    end.Drain();
    ASSERT_EQ(end.written.size(), 3u);
    EXPECT_EQ(end.written[2], kChoice);
    end.link.AppendIncoming(BuildControlFrame(ACK, 2000) + BuildControlFrame(ACK, 3000));
    end.Drain();
    ASSERT_EQ(end.written.size(), 4u);
    EXPECT_EQ(end.written[3], third);
    EXPECT_EQ(end.link.WaitingCount(), 0);
    EXPECT_FALSE(end.link.HasOutgoing());
}

TEST(PacketThread, SendsOneFrameAtATimeOnItsOwnThreadAndFreesTheRestWhenDestroyed)
{
    std::vector<QByteArray> written;
    std::vector<QThread*> writers;
    auto payloadOf = [&](std::size_t i) { return uint8_t(written[i].at(kHeaderSize)); };
    {
        TPacketThread thread(QStringLiteral("TestSocket"),
                             [&](const QByteArray& f) {
                                 written.push_back(f);
                                 writers.push_back(QThread::currentThread());
                             },
                             {});
        EXPECT_TRUE(thread.ThreadName().startsWith("TestSocket "));
        EXPECT_FALSE(thread.ThreadName().contains(':'));
        // Queued on another thread: handed over to this one, in order, and written from
        // its event loop.
        std::thread([&] {
            for (uint8_t i = 0; i < 3; ++i)
                thread.MakeFrame(CARD_PLAY, &i, 1);
        }).join();
        EXPECT_TRUE(written.empty());
        ASSERT_TRUE(WaitFor([&] { return !written.empty(); }));
        Settle(50);
        ASSERT_EQ(written.size(), 1u) << "one frame in flight";
        EXPECT_EQ(writers[0], QThread::currentThread());
        EXPECT_EQ(payloadOf(0), 0);
        EXPECT_EQ(HeaderOf(written[0]).size, 17);

        // Its ACK sends the next one at once, within the read that brought it.
        thread.Link().AppendIncoming(BuildControlFrame(ACK, HeaderOf(written[0]).timestamp));
        EXPECT_FALSE(thread.CheckIncomingBuffer());
        ASSERT_EQ(written.size(), 2u);
        EXPECT_EQ(payloadOf(1), 1);
        EXPECT_GT(HeaderOf(written[1]).timestamp, HeaderOf(written[0]).timestamp);
        EXPECT_EQ(thread.Link().WaitingCount(), 2);

        const uint8_t late = 9;
        std::thread([&] { thread.MakeFrame(CARD_PLAY, &late, 1); }).join();
    } // destroyed with two frames queued and one on its way: they go with it (the leak checker watches)
    Settle(50);
    EXPECT_EQ(written.size(), 2u);
}
