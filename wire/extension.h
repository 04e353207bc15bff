// What our peers add to the game messages, so that a table can keep hands private, give
// seats back only to their owners and let its host save and load games on the dealer's
// machine. A peer that knows none of it is never harmed:
//   - JOIN_REQUEST and JOIN_ACCEPTED may carry an extension block after their fields.
//     Receivers look at no byte beyond the fields they need, so a peer without the
//     extension reads the message as it always did.
//   - The messages of type 20 and above are sent only to a peer whose own block said that
//     it knows them (kKnowsMessages), so a peer without the extension never receives one.
//
// The block: the four bytes "ZRB1", a 16-bit little-endian length n, then n bytes:
//   0: flags (kKnowsMessages, kPrivateHands, kHost, kTablesFirst)
//   1: the seat key, 16 bytes (all zero: none)
//  17: the table's code: a length (0..8), then that many ASCII bytes; 0 (or a block that
//      ends before it): the server's default table. JOIN_ACCEPTED: the table joined.
// A longer block is read as far as these fields go, so later versions can add fields.
#pragma once

#include <array>
#include <cstdint>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "packet.h"

// Messages between peers that both know the extension.
constexpr TPacketType SAVE_GAME = TPacketType(20);      // host -> dealer: text (a name)
constexpr TPacketType LOAD_GAME = TPacketType(21);      // host -> dealer: text (a name)
constexpr TPacketType LIST_GAMES = TPacketType(22);     // host -> dealer: nothing
constexpr TPacketType GAME_LIST = TPacketType(23);      // dealer -> host: count (2), texts
constexpr TPacketType GAME_FILE_RESULT = TPacketType(24); // dealer -> host: ok (1), text
// The host's acts at the table, each told to the table as a chat line.
constexpr TPacketType SEAT_TO_COMPUTER = TPacketType(25); // host -> dealer: seat (1)
constexpr TPacketType REMOVE_PLAYER = TPacketType(26);  // host -> dealer: seat (1)
constexpr TPacketType LOCK_TABLE = TPacketType(27);     // host -> dealer: locked (1)
constexpr TPacketType SET_TURN_CLOCK = TPacketType(28); // host -> dealer: card s (2), contract s (2); 0: no limit

// Whether a type is one of the messages above.
constexpr bool IsHostAct(uint8_t type) { return type >= SEAT_TO_COMPUTER && type <= SET_TURN_CLOCK; }
constexpr bool IsExtensionMessage(uint8_t type) { return type >= SAVE_GAME && type <= SET_TURN_CLOCK; }

using TSeatKey = std::array<uint8_t, 16>;

struct TJoinExtension {
    enum TFlags : uint8_t {
        kKnowsMessages = 1, // the sender handles the messages of type 20 and above
        kPrivateHands = 2,  // JOIN_ACCEPTED: the other hands in the records are not the real ones
        kHost = 4,          // JOIN_ACCEPTED: this seat runs the table (new game, load, save)
        kTablesFirst = 8,   // JOIN_REQUEST without a table's code: a server of many tables answers
                            // with its list (TABLE_LIST) and seats nobody yet

    };
    uint8_t Flags = 0;
    TSeatKey Key{}; // JOIN_REQUEST: the key of the seat to take back; JOIN_ACCEPTED: the seat's key
    QByteArray TableCode; // JOIN_REQUEST: the table asked for (empty: the default one); JOIN_ACCEPTED: joined

    bool HasKey() const;
    bool operator==(const TJoinExtension&) const = default;
};

// The block, to be appended to a JOIN_REQUEST or JOIN_ACCEPTED payload.
QByteArray JoinExtensionBytes(const TJoinExtension& extension);

// The block after the fields of a JOIN_REQUEST (name) or a JOIN_ACCEPTED (seat, text).
// False, with extension untouched, when the message carries none (a peer without the
// extension) or a broken one; the message itself is read as before either way.
bool ReadJoinRequestExtension(const uint8_t* buf, int32_t count, TJoinExtension& extension);
bool ReadJoinAcceptedExtension(const uint8_t* buf, int32_t count, TJoinExtension& extension);

// Payloads of the extension messages. Readers follow the rules of the other payloads: all
// fields present or false; outputs written only on success.
QByteArray GameListPayload(const QStringList& names);
bool ReadGameList(const uint8_t* buf, int32_t count, QStringList& names);
QByteArray GameFileResultPayload(bool ok, const QString& text);
bool ReadGameFileResult(const uint8_t* buf, int32_t count, bool& ok, QString& text);

// The longest name of a saved game, and whether a name may be one: 1 to 40 letters, digits,
// spaces, '-' and '_' (Turkish letters too), not starting with a space or a dot.
constexpr int kMaxGameNameLength = 40;
bool IsSafeGameName(const QString& name);
