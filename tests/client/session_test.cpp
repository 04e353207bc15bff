// The session's handling of the dealer's messages: what each one changes, and that short or
// damaged payloads change nothing.
#include <gtest/gtest.h>

#include <cstring>

#include "client_test_util.h"
#include "payload.h"
#include "session.h"

namespace {

void Deliver(TClientSession& s, TPacketType type, const QByteArray& payload)
{
    s.HandlePacket(type, reinterpret_cast<const uint8_t*>(payload.constData()),
                   static_cast<int32_t>(payload.size()));
}

} // namespace

TEST(ClientSession, JoinSeatNameAndStatusMessages)
{
    TClientSession s;
    int joinedSeat = -2, namedSeat = -2;
    QString joinText, name, status;
    QObject::connect(&s, &TClientSession::joinAccepted, [&](int seat, const QString& t) { joinedSeat = seat, joinText = t; });
    QObject::connect(&s, &TClientSession::seatName, [&](int seat, const QString& n) { namedSeat = seat, name = n; });
    QObject::connect(&s, &TClientSession::statusText, [&](const QString& t) { status = t; });
    EXPECT_EQ(s.MySeat, -1);

    Deliver(s, JOIN_ACCEPTED, JoinAcceptedPayload(2, QStringLiteral("Oyuna katıldın (3. oyuncu olarak)")));
    EXPECT_EQ(s.MySeat, 2);
    EXPECT_EQ(s.SeatByte(), 2);
    EXPECT_EQ(joinedSeat, 2);
    EXPECT_EQ(joinText, QStringLiteral("Oyuna katıldın (3. oyuncu olarak)"));

    TPayloadWriter seatName;
    seatName.Byte(3).Text(QStringLiteral("Gülşen"));
    Deliver(s, SEAT_NAME, seatName.Bytes());
    EXPECT_EQ(s.NamedSeat, 3);
    EXPECT_EQ(namedSeat, 3);
    EXPECT_EQ(name, QStringLiteral("Gülşen")); // Turkish letters survive code page 1254

    TPayloadWriter statusText;
    statusText.Text(QStringLiteral("bekleniyor"));
    Deliver(s, STATUS_TEXT, statusText.Bytes());
    EXPECT_EQ(status, QStringLiteral("bekleniyor"));
}

TEST(ClientSession, ShortOrDamagedPayloadsChangeNothing)
{
    TClientSession s;
    int notifications = 0;
    QObject::connect(&s, &TClientSession::joinAccepted, [&](int, const QString&) { ++notifications; });
    QObject::connect(&s, &TClientSession::seatName, [&](int, const QString&) { ++notifications; });
    QObject::connect(&s, &TClientSession::recordArrived, [&] { ++notifications; });
    QObject::connect(&s, &TClientSession::trickTaker, [&](int) { ++notifications; });
    QObject::connect(&s, &TClientSession::chat, [&](const QString&) { ++notifications; });

    // A text announcing more bytes than follow.
    QByteArray join = JoinAcceptedPayload(1, QStringLiteral("abc"));
    join.chop(1);
    Deliver(s, JOIN_ACCEPTED, join);
    EXPECT_EQ(s.MySeat, -1);
    // A seat name whose seat is outside the table.
    TPayloadWriter badSeat;
    badSeat.Byte(7).Text(QStringLiteral("X"));
    Deliver(s, SEAT_NAME, badSeat.Bytes());
    EXPECT_EQ(s.NamedSeat, 0);
    // A record one byte short.
    TGameInfo g = DealtRecord(3);
    QByteArray record = RecordPayload(g);
    record.chop(1);
    Deliver(s, GAME_RECORD, record);
    // A record of full length whose bytes the rules cannot work on (a turn of seat 9).
    g.Turn = 9;
    Deliver(s, GAME_RECORD, RecordPayload(g));
    Deliver(s, TRICK_TAKER, QByteArray());
    Deliver(s, CHAT_TEXT, QByteArray("\x05\x00\x00", 3));
    EXPECT_EQ(notifications, 0);
    EXPECT_EQ(s.Record().CardCount[0], 0);
}

TEST(ClientSession, RecordReplacesTheCopy)
{
    TClientSession s;
    int records = 0;
    QObject::connect(&s, &TClientSession::recordArrived, [&] { ++records; });
    const TGameInfo g = DealtRecord(8);
    QByteArray payload = RecordPayload(g);
    payload.append("trailing bytes are not looked at");
    Deliver(s, GAME_RECORD, payload);
    EXPECT_EQ(records, 1);
    EXPECT_TRUE(SameRecord(s.Record(), g));
}

TEST(ClientSession, UnknownTypesAndTrickMessages)
{
    TClientSession s;
    int unknown = 0, clears = 0, full = 0, taker = -1;
    QObject::connect(&s, &TClientSession::unknownPacket, [&] { ++unknown; });
    QObject::connect(&s, &TClientSession::trickClear, [&] { ++clears; });
    QObject::connect(&s, &TClientSession::tableFull, [&] { ++full; });
    QObject::connect(&s, &TClientSession::trickTaker, [&](int seat) { taker = seat; });
    Deliver(s, NEW_GAME, {});   // a message only the dealer handles
    Deliver(s, static_cast<TPacketType>(20), {});
    Deliver(s, TRICK_CLEAR, {});
    Deliver(s, TABLE_FULL, {});
    Deliver(s, TRICK_TAKER, QByteArray(1, '\x02'));
    EXPECT_EQ(unknown, 2);
    EXPECT_EQ(clears, 1);
    EXPECT_EQ(full, 1);
    EXPECT_EQ(taker, 2);
}

TEST(ClientSession, DealersThatKeepGamesAndKeysAreToldApartFromOthers)
{
    TClientSession s;
    int unknown = 0, lists = 0, results = 0;
    QStringList names;
    bool ok = false;
    QString text;
    QObject::connect(&s, &TClientSession::unknownPacket, [&] { ++unknown; });
    QObject::connect(&s, &TClientSession::gameList, [&](const QStringList& n) { ++lists, names = n; });
    QObject::connect(&s, &TClientSession::gameFileResult, [&](bool o, const QString& t) { ++results, ok = o, text = t; });

    // A dealer that adds nothing to JOIN_ACCEPTED: no host, whole hands, and the saved-game
    // messages are strangers.
    const QByteArray plain = JoinAcceptedPayload(0, QStringLiteral("Oyuna katıldın (1. oyuncu olarak)"));
    Deliver(s, JOIN_ACCEPTED, plain);
    EXPECT_FALSE(s.IsHost());
    EXPECT_FALSE(s.PrivateHands());
    Deliver(s, GAME_LIST, GameListPayload({QStringLiteral("x")}));
    EXPECT_EQ(unknown, 1);
    EXPECT_EQ(lists, 0);

    // Our headless dealer: the host of a table with private hands, and a key for the seat.
    TJoinExtension e;
    e.Flags = TJoinExtension::kKnowsMessages | TJoinExtension::kPrivateHands | TJoinExtension::kHost;
    e.Key.fill(0x5A);
    Deliver(s, JOIN_ACCEPTED, plain + JoinExtensionBytes(e));
    EXPECT_EQ(s.MySeat, 0);
    EXPECT_TRUE(s.IsHost());
    EXPECT_TRUE(s.PrivateHands());
    EXPECT_EQ(s.Joined.Key, e.Key);
    Deliver(s, GAME_LIST, GameListPayload({QStringLiteral("Akşam oyunu"), QStringLiteral("Pazar")}));
    EXPECT_EQ(lists, 1);
    EXPECT_EQ(names, (QStringList{QStringLiteral("Akşam oyunu"), QStringLiteral("Pazar")}));
    Deliver(s, GAME_FILE_RESULT, GameFileResultPayload(false, QStringLiteral("Dosya açılamıyor!")));
    EXPECT_EQ(results, 1);
    EXPECT_FALSE(ok);
    EXPECT_EQ(text, QStringLiteral("Dosya açılamıyor!"));
    Deliver(s, GAME_FILE_RESULT, QByteArray("\x01", 1)); // short: nothing
    EXPECT_EQ(results, 1);
    EXPECT_EQ(unknown, 1);
}
