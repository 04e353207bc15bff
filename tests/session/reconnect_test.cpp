// The program's way back to its table after a dropped connection, on a clock turned by hand
// and a link whose events the test makes happen.
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "reconnect.h"
#include "session_test_util.h"

using namespace session_test;

namespace {

class TScriptedLink : public TSessionLink {
public:
    int Opens = 0;
    bool Connected = false;
    std::vector<QByteArray> Joins; // the JOIN_REQUEST payloads
    void Open() override { ++Opens; emit connecting(); }
    void Close() override
    {
        if (std::exchange(Connected, false))
            emit disconnected();
    }
    bool Active() const override { return Connected; }
    void Send(TPacketType type, const QByteArray& payload) override
    {
        if (type == JOIN_REQUEST)
            Joins.push_back(payload);
    }
    QString Host() const override { return QStringLiteral("masa.example"); }
    void Connect() { Connected = true; emit connected(); }
    void Fail() { emit connectFailed(); }
    void Drop() { Close(); }
};

struct TManualClock : TReconnectClock {
    qint64 Now = 0;
    qint64 Wake = -1;
    qint64 NowMs() const override { return Now; }
    void WakeAt(qint64 atMs) override { Wake = atMs; }
    // Moves the time on by ms, calling the reconnector at every moment it asked for.
    void Run(TReconnector& r, qint64 ms)
    {
        const qint64 until = Now + ms;
        while (Wake >= 0 && Wake <= until) {
            Now = Wake;
            Wake = -1;
            r.Tick();
        }
        Now = until;
    }
};

QByteArray AcceptedWithKey(uint8_t seat, const TSeatKey& key)
{
    TJoinExtension extension;
    extension.Flags = TJoinExtension::kKnowsMessages;
    extension.Key = key;
    extension.TableCode = "QRSTUV"; // a table of a server of many
    return JoinAcceptedPayload(seat, QStringLiteral("Oyuna katıldın")) + JoinExtensionBytes(extension);
}

TJoinExtension BlockSent(const QByteArray& join)
{
    TJoinExtension extension;
    ReadJoinRequestExtension(reinterpret_cast<const uint8_t*>(join.constData()), int32_t(join.size()), extension);
    return extension;
}

TEST(Reconnect, ADroppedProgramTriesAgainWithItsKeyBackingOffUntilSeatedOrStopped)
{
    TScriptedLink link;
    TSession session(link);
    TManualClock clock;
    TReconnector reconnector(session, clock);
    std::vector<int> shown; // every "(N sn)" the status line would show
    int backs = 0, stops = 0;
    QObject::connect(&reconnector, &TReconnector::waiting, [&](int s) { shown.push_back(s); });
    QObject::connect(&reconnector, &TReconnector::back, [&] { ++backs; });
    QObject::connect(&reconnector, &TReconnector::stopped, [&] { ++stops; });
    const TSeatKey key{7, 7, 7};
    session.UserName = QStringLiteral("Ayşe");
    link.Connect();
    session.HandlePacket(JOIN_ACCEPTED, AcceptedWithKey(2, key));

    // The connection drops: one second, then 2, 4 ... 30 s between attempts that fail.
    link.Drop();
    EXPECT_TRUE(reconnector.Active());
    EXPECT_FALSE(session.Seated());
    clock.Run(reconnector, 999);
    EXPECT_EQ(link.Opens, 0);
    clock.Run(reconnector, 1);
    EXPECT_EQ(link.Opens, 1);
    std::vector<int> waits{1};
    for (int expected : {2, 4, 8, 16, 30, 30}) {
        link.Fail();
        EXPECT_EQ(reconnector.WaitS(), expected);
        const int opens = link.Opens;
        clock.Run(reconnector, expected * 1000 - 1);
        EXPECT_EQ(link.Opens, opens) << expected;
        clock.Run(reconnector, 1);
        EXPECT_EQ(link.Opens, opens + 1) << expected;
        waits.push_back(expected);
    }
    // The status counts every wait down second by second.
    std::vector<int> countdown;
    for (int w : waits)
        for (int s = w; s >= 1; --s)
            countdown.push_back(s);
    EXPECT_EQ(shown, countdown);

    // A connection that closes before the seat is given counts as a failed attempt too.
    link.Connect();
    link.Drop();
    EXPECT_EQ(reconnector.WaitS(), 30);
    clock.Run(reconnector, 30000);
    // Connected: the name goes with the seat's key, and the seat is given back.
    link.Connect();
    ASSERT_FALSE(link.Joins.empty());
    EXPECT_EQ(BlockSent(link.Joins.back()).Key, key);
    EXPECT_EQ(BlockSent(link.Joins.back()).TableCode, "QRSTUV"); // back to the same table
    session.HandlePacket(JOIN_ACCEPTED, AcceptedWithKey(2, TSeatKey{8}));
    EXPECT_EQ(backs, 1);
    EXPECT_FALSE(reconnector.Active());
    EXPECT_EQ(clock.Wake, -1);

    // Dropped again, the user stops it: nothing more is tried; the new key is the one kept.
    link.Drop();
    clock.Run(reconnector, 1000);
    link.Connect();
    EXPECT_EQ(BlockSent(link.Joins.back()).Key, TSeatKey{8});
    reconnector.Stop();
    EXPECT_EQ(stops, 1);
    EXPECT_FALSE(link.Connected);
    const int opens = link.Opens;
    clock.Run(reconnector, 120000);
    EXPECT_EQ(link.Opens, opens);

    // A table that refuses the seat ends the attempts as well.
    link.Connect();
    session.HandlePacket(JOIN_ACCEPTED, AcceptedWithKey(2, key));
    link.Drop();
    clock.Run(reconnector, 1000);
    link.Connect();
    session.HandlePacket(TABLE_FULL, {});
    EXPECT_EQ(stops, 2);
    EXPECT_FALSE(reconnector.Active());

    // Nothing is taken up again that the program closed on purpose (its seat is forgotten
    // first), nor the dealer's own connection to itself.
    link.Connect();
    session.HandlePacket(JOIN_ACCEPTED, AcceptedWithKey(2, key));
    session.ForgetSeat();
    link.Drop();
    EXPECT_FALSE(reconnector.Active());
    session.IsDealer = true;
    link.Connect();
    session.HandlePacket(JOIN_ACCEPTED, AcceptedWithKey(0, key));
    link.Drop();
    EXPECT_FALSE(reconnector.Active());
}

TEST(Reconnect, ATableChosenWhileWaitingEndsTheAttemptsForTheSeatLeftBehind)
{
    TScriptedLink link;
    TSession session(link);
    TManualClock clock;
    TReconnector reconnector(session, clock);
    session.UserName = QStringLiteral("Ayşe");
    link.Connect();
    session.HandlePacket(JOIN_ACCEPTED, AcceptedWithKey(2, TSeatKey{7, 7, 7}));
    link.Drop();
    ASSERT_TRUE(reconnector.Active());
    // Before the first attempt the user watches another table from "Masalar".
    session.WatchTable("BBBBBB");
    link.Connect();
    session.HandlePacket(WATCHING, TableAnswerPayload(true, QStringLiteral("BBBBBB")));
    const int opens = link.Opens;
    clock.Run(reconnector, 1000);
    EXPECT_FALSE(reconnector.Active());
    EXPECT_EQ(link.Opens, opens);
    EXPECT_TRUE(link.Connected && session.Watching());
}

} // namespace
