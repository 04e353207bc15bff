// Reading and writing the payloads of the game messages.
#include <cstring>

#include <gtest/gtest.h>

#include "cp1254.h"
#include "wire_test_util.h"
#include "payload.h"

namespace {

const uint8_t* Data(const QByteArray& b)
{
    return reinterpret_cast<const uint8_t*>(b.constData());
}

QByteArray TextField(int32_t length, const QByteArray& bytes)
{
    return QByteArray(reinterpret_cast<const char*>(&length), 4) + bytes;
}

} // namespace

TEST(Payload, WriterLaysOutFieldsInOrder)
{
    TPayloadWriter w;
    w.Byte(2).Text(QString::fromUtf8("Ayşe")).Byte(7);
    EXPECT_EQ(w.Bytes(), Hex("02" "04000000" "4179FE65" "07"));
    EXPECT_EQ(TPayloadWriter().Text(QString()).Bytes(), Hex("00000000"));
    // A text too long for any receiver is cut to the longest one accepted.
    const QByteArray longText(kMaxTextLength + 10, 'a');
    const TPayloadWriter cut = TPayloadWriter().Text(longText);
    EXPECT_EQ(cut.Size(), 4 + kMaxTextLength);
    QString read;
    EXPECT_TRUE(ReadChatText(cut.Data(), cut.Size(), read));
}

TEST(Payload, ExactAndLongerPayloadsAreRead)
{
    uint8_t seat = 9, suit = 9, value = 9;
    const QByteArray card = Hex("02030CFF"); // one byte more than needed
    ASSERT_TRUE(ReadCardPlay(Data(card), 4, seat, suit, value));
    EXPECT_EQ((std::vector<int>{seat, suit, value}), (std::vector<int>{2, 3, 12}));

    QString text;
    const QByteArray seatName = Hex("01") + TextField(3, ToCp1254(QString::fromUtf8("Işıl")).left(3));
    ASSERT_TRUE(ReadSeatName(Data(seatName), int32_t(seatName.size()), seat, text));
    EXPECT_EQ(seat, 1);
    EXPECT_EQ(text, QString::fromUtf8("Işı"));

    const QByteArray full = TextField(kMaxTextLength, QByteArray(kMaxTextLength, 'z'));
    ASSERT_TRUE(ReadJoinRequest(Data(full), int32_t(full.size()), text));
    EXPECT_EQ(text.size(), kMaxTextLength);

    TGameInfo record{};
    record.Phase = psChoosing;
    std::strcpy(record.PlayerName[3], "Acemi1");
    const TPayloadWriter w = TPayloadWriter().Record(record);
    TGameInfo back{};
    ASSERT_TRUE(ReadGameRecord(w.Data(), w.Size(), back));
    EXPECT_EQ(std::memcmp(&back, &record, sizeof record), 0);
}

TEST(Payload, ShortPayloadsAndBadTextLengthsAreNotActedOn)
{
    const QByteArray zeros(440, '\0');
    uint8_t a = 77, b = 77, c = 77;
    QString text = "unchanged";
    TGameInfo record{};
    record.Turn = 3;
    EXPECT_FALSE(ReadGameRecord(Data(zeros), 439, record));
    EXPECT_FALSE(ReadCardPlay(Data(zeros), 2, a, b, c));
    EXPECT_FALSE(ReadContractChoice(Data(zeros), 0, a));
    EXPECT_FALSE(ReadTrickTaker(nullptr, 0, a));
    EXPECT_FALSE(ReadChatText(Data(zeros), 3, text));
    EXPECT_FALSE(ReadJoinAccepted(Data(zeros), 4, a, text)); // the seat, then 3 length bytes
    EXPECT_FALSE(ReadContractChoice(Data(zeros), -5, a));

    const QByteArray bad[] = {
        TextField(-1, "abc"),                 // negative
        TextField(-4, "abc"),                 // negative, and 4 + length would fit
        TextField(4, "abc"),                  // more than the bytes left
        TextField(kMaxTextLength + 1, QByteArray(kMaxTextLength + 1, 'x')), // too long to hold
        TextField(0x7FFFFFFF, "abc"),
    };
    for (const QByteArray& field : bad) {
        EXPECT_FALSE(ReadStatusText(Data(field), int32_t(field.size()), text));
        const QByteArray withSeat = Hex("01") + field;
        EXPECT_FALSE(ReadSeatName(Data(withSeat), int32_t(withSeat.size()), a, text));
    }
    EXPECT_EQ(text, "unchanged");
    EXPECT_EQ(a, 77);
    EXPECT_EQ(record.Turn, 3);
}
