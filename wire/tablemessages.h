// The messages of a server with many tables: the list of its tables, a new table, watching
// one, and the time left for a move. Extension messages: the server sends TABLE_LIST,
// TABLE_CREATED and WATCHING only in answer to our program's own questions, and TURN_TIME
// only to a peer whose join block said kKnowsMessages or that watches. A join by a table's
// code that is not there, or by the key of a seat the host removed for this game, is
// answered with TABLE_FULL carrying the reason as a text (as in STATUS_TEXT); to a peer
// without the join block TABLE_FULL carries nothing. Texts are code page 1254 texts as in
// the other payloads, numbers little-endian. Readers follow the rules of payload.h: all
// fields present or false, outputs written only on success.
#pragma once

#include <array>
#include <cstdint>

#include <QByteArray>
#include <QList>
#include <QString>

#include "cards.h"
#include "packet.h"

constexpr TPacketType LIST_TABLES = TPacketType(29);   // program -> server: nothing
constexpr TPacketType TABLE_LIST = TPacketType(30);    // server -> program: the tables
constexpr TPacketType CREATE_TABLE = TPacketType(31);  // program -> server, before joining
constexpr TPacketType TABLE_CREATED = TPacketType(32); // server -> program: ok (1), code or refusal
constexpr TPacketType WATCH_TABLE = TPacketType(33);   // program -> server, before joining: code
constexpr TPacketType WATCHING = TPacketType(34);      // server -> program: ok (1), code or refusal
constexpr TPacketType TURN_TIME = TPacketType(35);     // server -> program: seat (1), ms left (4)

constexpr bool IsTableMessage(uint8_t type) { return type >= LIST_TABLES && type <= TURN_TIME; }

// A table's code: kTableCodeLength characters of kTableCodeAlphabet. It names the table
// and is its invite code. A join block may carry up to kMaxTableCodeBytes bytes of one.
constexpr int kTableCodeLength = 6;
constexpr int kMaxTableCodeBytes = 8;
constexpr char kTableCodeAlphabet[] = "ABCDEFGHJKLMNPQRSTUVWXYZ23456789";
static_assert(sizeof kTableCodeAlphabet - 1 == 32);

// A new code from the system's entropy.
QByteArray NewTableCode();
// Whether text has the form of a code (length and alphabet); lower case is not one.
bool IsTableCode(const QByteArray& text);

// What a table was created with (CREATE_TABLE) and what the list shows of it (TABLE_LIST).
struct TTableSettings {
    enum TFlags : uint8_t {
        kStarted = 1,      // list only: a game is under way
        kLocked = 2,       // list only: the host took new players off
        kPrivateHands = 4, // each player sees only its own hand
        kDefault = 8,      // list only: the table of peers that name none
    };
    QString Name;
    uint8_t Level = 0;      // 0 Acemi, 1 Usta
    uint16_t CardS = 0;     // seconds for a card; 0: no clock
    uint16_t ContractS = 0; // seconds for a contract
    uint8_t Flags = 0;
    bool operator==(const TTableSettings&) const = default;
};

struct TTableListing {
    QByteArray Code;
    TTableSettings Settings;
    uint8_t Watchers = 0;
    std::array<QByteArray, kSeatCount> Seats; // code page 1254 names; empty: a free seat
    bool operator==(const TTableListing&) const = default;
};

// TABLE_LIST: as many of the tables as fit in one message, in the order given.
QByteArray TableListPayload(const QList<TTableListing>& tables);
bool ReadTableList(const uint8_t* buf, int32_t count, QList<TTableListing>& tables);

QByteArray CreateTablePayload(const TTableSettings& settings);
bool ReadCreateTable(const uint8_t* buf, int32_t count, TTableSettings& settings);

// TABLE_CREATED and WATCHING: ok and the table's code, or not ok and the refusal.
QByteArray TableAnswerPayload(bool ok, const QString& codeOrRefusal);
bool ReadTableAnswer(const uint8_t* buf, int32_t count, bool& ok, QString& codeOrRefusal);

QByteArray WatchTablePayload(const QByteArray& code);
bool ReadWatchTable(const uint8_t* buf, int32_t count, QByteArray& code);

QByteArray TurnTimePayload(uint8_t seat, uint32_t msLeft);
bool ReadTurnTime(const uint8_t* buf, int32_t count, uint8_t& seat, uint32_t& msLeft);
