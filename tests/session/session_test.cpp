// The session's handling of the table's messages: what each one changes, and that short or
// damaged payloads change nothing; and players on sessions at a table in process.
#include <gtest/gtest.h>

#include "session_test_util.h"

using namespace session_test;

TEST(Session, JoinSeatNameAndStatusMessages)
{
    TNoLink link;
    TSession s(link);
    int joinedSeat = -2, namedSeat = -2;
    QString joinText, name, status;
    QObject::connect(&s, &TSession::joinAccepted, [&](int seat, const QString& t) { joinedSeat = seat, joinText = t; });
    QObject::connect(&s, &TSession::seatName, [&](int seat, const QString& n) { namedSeat = seat, name = n; });
    QObject::connect(&s, &TSession::statusText, [&](const QString& t) { status = t; });
    EXPECT_FALSE(s.Seated());

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

TEST(Session, ShortOrDamagedPayloadsChangeNothing)
{
    TNoLink link;
    TSession s(link);
    int notifications = 0;
    QObject::connect(&s, &TSession::joinAccepted, [&](int, const QString&) { ++notifications; });
    QObject::connect(&s, &TSession::seatName, [&](int, const QString&) { ++notifications; });
    QObject::connect(&s, &TSession::recordChanged, [&] { ++notifications; });
    QObject::connect(&s, &TSession::trickTaker, [&](int) { ++notifications; });
    QObject::connect(&s, &TSession::chat, [&](const QString&) { ++notifications; });

    // A text announcing more bytes than follow.
    QByteArray join = JoinAcceptedPayload(1, QStringLiteral("abc"));
    join.chop(1);
    Deliver(s, JOIN_ACCEPTED, join);
    EXPECT_FALSE(s.Seated());
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

TEST(Session, RecordReplacesTheCopyAndClearsTheSentMarks)
{
    TNoLink link;
    TSession s(link);
    int records = 0;
    QObject::connect(&s, &TSession::recordChanged, [&] { ++records; });
    s.CardSent = true;
    s.ContractSent = true;
    const TGameInfo g = DealtRecord(8);
    QByteArray payload = RecordPayload(g);
    payload.append("trailing bytes are not looked at");
    Deliver(s, GAME_RECORD, payload);
    EXPECT_EQ(records, 1);
    EXPECT_TRUE(SameRecord(s.Record(), g));
    EXPECT_FALSE(s.CardSent);
    EXPECT_FALSE(s.ContractSent);
}

TEST(Session, UnknownTypesAndTrickMessages)
{
    TNoLink link;
    TSession s(link);
    int unknown = 0, clears = 0, full = 0, taker = -1;
    QObject::connect(&s, &TSession::unknownPacket, [&] { ++unknown; });
    QObject::connect(&s, &TSession::trickClear, [&] { ++clears; });
    QObject::connect(&s, &TSession::tableFull, [&] { ++full; });
    QObject::connect(&s, &TSession::trickTaker, [&](int seat) { taker = seat; });
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

TEST(Session, DealersThatKeepGamesAndKeysAreToldApartFromOthers)
{
    TNoLink link;
    TSession s(link);
    int unknown = 0, lists = 0, results = 0;
    QStringList names;
    bool ok = false;
    QString text;
    QObject::connect(&s, &TSession::unknownPacket, [&] { ++unknown; });
    QObject::connect(&s, &TSession::gameList, [&](const QStringList& n) { ++lists, names = n; });
    QObject::connect(&s, &TSession::gameFileResult, [&](bool o, const QString& t) { ++results, ok = o, text = t; });

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
