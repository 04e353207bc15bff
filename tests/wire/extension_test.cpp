// The extension block of JOIN_REQUEST and JOIN_ACCEPTED, and the payloads of the messages
// that only peers with the extension exchange.
#include <gtest/gtest.h>

#include "extension.h"
#include "payload.h"
#include "tablemessages.h"

namespace {

const uint8_t* Data(const QByteArray& bytes) { return reinterpret_cast<const uint8_t*>(bytes.constData()); }

TJoinExtension SampleExtension()
{
    TJoinExtension e;
    e.Flags = TJoinExtension::kKnowsMessages | TJoinExtension::kHost;
    for (int i = 0; i < 16; ++i)
        e.Key[i] = uint8_t(0xA0 + i);
    e.TableCode = "K7M2QX";
    return e;
}

} // namespace

TEST(JoinExtension, PlainReadersSeeTheOldMessageAndOurReadersTheBlock)
{
    const TJoinExtension sent = SampleExtension();
    const QByteArray request = TPayloadWriter().Text(QStringLiteral("Ayşe")).Bytes() + JoinExtensionBytes(sent);
    const QByteArray accepted =
        TPayloadWriter().Byte(2).Text(QStringLiteral("Oyuna katıldın (3. oyuncu olarak)")).Bytes() +
        JoinExtensionBytes(sent);

    QString name, text;
    uint8_t seat = 0;
    ASSERT_TRUE(ReadJoinRequest(Data(request), int32_t(request.size()), name));
    EXPECT_EQ(name, QStringLiteral("Ayşe"));
    ASSERT_TRUE(ReadJoinAccepted(Data(accepted), int32_t(accepted.size()), seat, text));
    EXPECT_EQ(seat, 2);
    EXPECT_EQ(text, QStringLiteral("Oyuna katıldın (3. oyuncu olarak)"));

    TJoinExtension got;
    ASSERT_TRUE(ReadJoinRequestExtension(Data(request), int32_t(request.size()), got));
    EXPECT_EQ(got, sent);
    EXPECT_TRUE(got.HasKey());
    got = {};
    ASSERT_TRUE(ReadJoinAcceptedExtension(Data(accepted), int32_t(accepted.size()), got));
    EXPECT_EQ(got, sent);

    // A later version's longer block is read as far as our fields go.
    QByteArray longer = TPayloadWriter().Text(QStringLiteral("Can")).Bytes() + JoinExtensionBytes(sent);
    const int lengthAt = 4 + 3 + 4;
    longer[lengthAt] = char(JoinExtensionBytes(sent).size() - 6 + 5);
    longer.append("\x01\x02\x03\x04\x05", 5);
    got = {};
    EXPECT_TRUE(ReadJoinRequestExtension(Data(longer), int32_t(longer.size()), got));
    EXPECT_EQ(got, sent);
}

TEST(JoinExtension, MissingCutOrForeignBlocksAreNone)
{
    const QByteArray plain = TPayloadWriter().Text(QStringLiteral("Can")).Bytes();
    const QByteArray full = plain + JoinExtensionBytes(SampleExtension());
    TJoinExtension untouched;
    untouched.Flags = 99;
    TJoinExtension e = untouched;
    EXPECT_FALSE(ReadJoinRequestExtension(Data(plain), int32_t(plain.size()), e));
    for (int cut = int(plain.size()); cut < full.size(); ++cut)
        EXPECT_FALSE(ReadJoinRequestExtension(Data(full), cut, e)) << cut;
    QByteArray foreign = full;
    foreign[int(plain.size())] = 'X';
    EXPECT_FALSE(ReadJoinRequestExtension(Data(foreign), int32_t(foreign.size()), e));
    QByteArray shortBody = full;
    shortBody[int(plain.size()) + 4] = char(16);
    EXPECT_FALSE(ReadJoinRequestExtension(Data(shortBody), int32_t(shortBody.size()), e));
    EXPECT_EQ(e, untouched);
    EXPECT_FALSE(TJoinExtension{}.HasKey());
}

TEST(ExtensionMessages, GameListAndFileResultRoundTripAndRefuseShortPayloads)
{
    const QStringList names{QStringLiteral("Akşam oyunu"), QStringLiteral("Çarşamba-2"), QString()};
    const QByteArray list = GameListPayload(names);
    QStringList read{QStringLiteral("old")};
    ASSERT_TRUE(ReadGameList(Data(list), int32_t(list.size()), read));
    EXPECT_EQ(read, names);
    for (int cut = 0; cut < list.size(); ++cut)
        EXPECT_FALSE(ReadGameList(Data(list), cut, read)) << cut;
    EXPECT_EQ(read, names);
    const QByteArray tooMany("\xF5\x01", 2); // 501 names announced
    EXPECT_FALSE(ReadGameList(Data(tooMany), 2, read));

    const QByteArray result = GameFileResultPayload(false, QStringLiteral("Dosya açılamıyor!"));
    bool ok = true;
    QString text;
    ASSERT_TRUE(ReadGameFileResult(Data(result), int32_t(result.size()), ok, text));
    EXPECT_FALSE(ok);
    EXPECT_EQ(text, QStringLiteral("Dosya açılamıyor!"));
    EXPECT_FALSE(ReadGameFileResult(Data(result), 3, ok, text));
}

TEST(ExtensionMessages, SavedGameNamesCannotLeaveTheFolder)
{
    for (const char* good : {"Akşam oyunu", "Çarşamba-2", "ilk_oyun", "Ğ"})
        EXPECT_TRUE(IsSafeGameName(QString::fromUtf8(good))) << good;
    for (const char* bad : {"", " baş", ".gizli", "../LastHand", "a/b", "a\\b", "x.rvo", "a:b", "tab\there"})
        EXPECT_FALSE(IsSafeGameName(QString::fromUtf8(bad))) << bad;
    EXPECT_TRUE(IsSafeGameName(QString(kMaxGameNameLength, u'a')));
    EXPECT_FALSE(IsSafeGameName(QString(kMaxGameNameLength + 1, u'a')));
}

TEST(JoinExtension, TheTableCodeIsOptionalAndBounded)
{
    const QByteArray plain = TPayloadWriter().Text(QStringLiteral("Can")).Bytes();
    const int at = int(plain.size());
    // A block of the last version (no code field): the default table.
    QByteArray old = plain + JoinExtensionBytes(SampleExtension());
    old[at + 4] = char(17);
    TJoinExtension e;
    ASSERT_TRUE(ReadJoinRequestExtension(Data(old), int32_t(old.size()), e));
    EXPECT_TRUE(e.TableCode.isEmpty());
    // A code longer than 8 bytes, or one with control bytes, makes the block unreadable.
    QByteArray tooLong = plain + JoinExtensionBytes(SampleExtension());
    tooLong[at + 6 + 17] = char(9);
    tooLong.append("ABC");
    tooLong[at + 4] = char(17 + 1 + 9);
    EXPECT_FALSE(ReadJoinRequestExtension(Data(tooLong), int32_t(tooLong.size()), e));
    QByteArray control = plain + JoinExtensionBytes(SampleExtension());
    control[at + 6 + 18] = '\n';
    EXPECT_FALSE(ReadJoinRequestExtension(Data(control), int32_t(control.size()), e));
}

TEST(TableMessages, AListTakesAsManyTablesAsFitInOneMessage)
{
    QList<TTableListing> tables;
    for (int i = 0; i < 400; ++i) {
        TTableListing t;
        t.Code = NewTableCode();
        t.Settings = {QStringLiteral("Masa %1 çay").arg(i), 1, 30, 45, TTableSettings::kStarted};
        t.Seats = {"Ayşe", "", "Usta2", "Mehmet"};
        tables.append(t);
    }
    const QByteArray payload = TableListPayload(tables);
    EXPECT_LE(payload.size(), kMaxPayloadSize);
    QList<TTableListing> read;
    ASSERT_TRUE(ReadTableList(Data(payload), int32_t(payload.size()), read));
    ASSERT_GT(read.size(), 50);
    ASSERT_LT(read.size(), tables.size());
    EXPECT_EQ(read, tables.mid(0, read.size()));
    EXPECT_FALSE(ReadTableList(Data(payload), int32_t(payload.size()) - 1, read));
    EXPECT_TRUE(IsTableCode(read[0].Code));
    EXPECT_FALSE(IsTableCode("K7M2Q0")); // 0 and O, 1 and I are left out
    EXPECT_FALSE(IsTableCode("k7m2qx"));
}
