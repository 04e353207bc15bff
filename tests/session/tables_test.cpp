// The session at a server of many tables: the list before any seat, a table created and
// joined as its host, the host's acts, watching, a refusal; and a dealer of one table that
// is never sent what it does not know.
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "session_test_util.h"

using namespace session_test;

namespace {

// A link that connects at once and keeps what was sent.
class TRecordingLink : public TSessionLink {
public:
    int Opens = 0;
    bool Connected = false;
    std::vector<std::pair<TPacketType, QByteArray>> Sent;
    void Open() override { Close(), ++Opens, Connected = true, emit connected(); }
    void Close() override
    {
        if (std::exchange(Connected, false))
            emit disconnected();
    }
    bool Active() const override { return Connected; }
    void Send(TPacketType type, const QByteArray& payload) override { Sent.emplace_back(type, payload); }
    QString Host() const override { return QStringLiteral("masalar.example"); }
    TPacketType LastType() const { return Sent.empty() ? TPacketType(0) : Sent.back().first; }
};

TJoinExtension JoinBlock(const QByteArray& join)
{
    TJoinExtension extension;
    EXPECT_TRUE(ReadJoinRequestExtension(reinterpret_cast<const uint8_t*>(join.constData()), int32_t(join.size()), extension));
    return extension;
}

TTableListing Listing(const QByteArray& code, const QString& name, uint8_t flags)
{
    return {code, {name, 1, 30, 45, flags}, 0, {"Ay\xfe" "e", "", "", ""}}; // names in code page 1254
}

} // namespace

TEST(SessionTables, ListCreateJoinActWatchAndRefusals)
{
    TRecordingLink link;
    TSession s(link);
    s.UserName = QStringLiteral("Ayşe");
    s.TablesFirst = true;
    QList<TTableListing> listed;
    std::vector<std::pair<bool, QString>> created, watched;
    QObject::connect(&s, &TSession::tableList, [&](const QList<TTableListing>& t) { listed = t; });
    QObject::connect(&s, &TSession::tableCreated, [&](bool ok, const QString& t) { created.emplace_back(ok, t); });
    QObject::connect(&s, &TSession::watching, [&](bool ok, const QString& t) { watched.emplace_back(ok, t); });

    // The first word is the name, as every dealer reads it; only the block asks for the list.
    s.Open();
    ASSERT_EQ(link.LastType(), JOIN_REQUEST);
    EXPECT_EQ(JoinBlock(link.Sent.back().second).Flags, TJoinExtension::kKnowsMessages | TJoinExtension::kTablesFirst);
    const QList<TTableListing> tables{Listing("ABCDEF", QStringLiteral("Çay ocağı"), TTableSettings::kStarted),
                                      Listing("QRSTUV", QStringLiteral("Genel"), TTableSettings::kDefault)};
    Deliver(s, TABLE_LIST, TableListPayload(tables));
    EXPECT_EQ(listed, tables);
    EXPECT_TRUE(s.InLobby());
    EXPECT_FALSE(link.Active()); // the lobby holds no connection

    // A refused table: the refusal, and no seat asked for.
    TTableSettings settings;
    settings.Name = QStringLiteral("Akşam");
    settings.CardS = 20;
    settings.ContractS = 40;
    s.CreateTable(settings);
    EXPECT_EQ(link.Sent.back(), std::pair(CREATE_TABLE, CreateTablePayload(settings)));
    Deliver(s, TABLE_CREATED, TableAnswerPayload(false, QStringLiteral("Masa adı geçersiz.")));
    EXPECT_EQ(created.back(), std::pair(false, QStringLiteral("Masa adı geçersiz.")));
    EXPECT_EQ(link.LastType(), CREATE_TABLE);
    EXPECT_FALSE(link.Active());
    // A table's code that is not there: the server's reason, not a full table.
    std::vector<QString> full;
    QObject::connect(&s, &TSession::tableFull, [&](const QString& why) { full.push_back(why); });
    Deliver(s, TABLE_FULL, TPayloadWriter().Text(QStringLiteral("Böyle bir masa yok.")).Bytes());
    Deliver(s, TABLE_FULL, {});
    EXPECT_EQ(full, (std::vector<QString>{QStringLiteral("Böyle bir masa yok."), QString()}));

    // Created: the creator joins it by its code, and is its host. "Yenile" pressed before
    // the answer keeps the connection that joins it.
    s.CreateTable(settings);
    s.ListTables();
    EXPECT_EQ(link.LastType(), LIST_TABLES);
    Deliver(s, TABLE_CREATED, TableAnswerPayload(true, QStringLiteral("HJKLMN")));
    EXPECT_EQ(created.back(), std::pair(true, QStringLiteral("HJKLMN")));
    ASSERT_EQ(link.LastType(), JOIN_REQUEST);
    Deliver(s, TABLE_LIST, TableListPayload(tables));
    EXPECT_TRUE(link.Active());
    const TJoinExtension asked = JoinBlock(link.Sent.back().second);
    EXPECT_EQ(asked.TableCode, "HJKLMN");
    EXPECT_FALSE(asked.Flags & TJoinExtension::kTablesFirst);
    TJoinExtension accepted;
    accepted.Flags = TJoinExtension::kKnowsMessages | TJoinExtension::kHost;
    accepted.TableCode = "HJKLMN";
    Deliver(s, JOIN_ACCEPTED, JoinAcceptedPayload(0, QStringLiteral("Oyuna katıldın")) + JoinExtensionBytes(accepted));
    EXPECT_TRUE(s.IsHost());
    EXPECT_EQ(s.AtTable(), "HJKLMN");

    // The host's acts, byte for byte; the list again on the same connection.
    const int opens = link.Opens;
    link.Sent.clear();
    s.SendSeatToComputer(2);
    s.SendRemovePlayer(3);
    s.SendLockTable(true);
    s.SendTurnClock(30, 300);
    s.ListTables();
    const std::vector<std::pair<TPacketType, QByteArray>> acts{
        {SEAT_TO_COMPUTER, QByteArray("\x02", 1)}, {REMOVE_PLAYER, QByteArray("\x03", 1)}, {LOCK_TABLE, QByteArray("\x01", 1)},
        {SET_TURN_CLOCK, QByteArray("\x1e\x00\x2c\x01", 4)}, {LIST_TABLES, QByteArray()}};
    EXPECT_EQ(link.Sent, acts);
    EXPECT_EQ(link.Opens, opens);

    // Watching another table: no seat, and nothing goes out but the question for the list.
    s.WatchTable("QRSTUV");
    EXPECT_EQ(link.Sent.back(), std::pair(WATCH_TABLE, WatchTablePayload("QRSTUV")));
    Deliver(s, WATCHING, TableAnswerPayload(true, QStringLiteral("QRSTUV")));
    EXPECT_EQ(watched.back(), std::pair(true, QStringLiteral("QRSTUV")));
    EXPECT_TRUE(s.Watching());
    EXPECT_FALSE(s.Seated());
    link.Sent.clear();
    s.SendCardPlay(0, 0);
    s.SendChatLine(QStringLiteral("merhaba"));
    s.SendNewGame();
    s.ListTables();
    ASSERT_EQ(link.Sent.size(), 1u);
    EXPECT_EQ(link.LastType(), LIST_TABLES);
}

TEST(SessionTables, ADealerOfOneTableIsAskedNothingNew)
{
    TRecordingLink link;
    TSession s(link);
    s.TablesFirst = true;
    s.IsDealer = true; // the program's own dealer: the plain join
    s.Open();
    EXPECT_EQ(JoinBlock(link.Sent.back().second).Flags, TJoinExtension::kKnowsMessages);
    s.IsDealer = false;
    Deliver(s, JOIN_ACCEPTED, JoinAcceptedPayload(1, QStringLiteral("Oyuna katıldın (2. oyuncu olarak)")));
    link.Sent.clear();
    s.ListTables(); // an old dealer would show a box for a message it does not know
    EXPECT_TRUE(link.Sent.empty());
    EXPECT_FALSE(s.ServerHasTables());
}
