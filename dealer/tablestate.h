// What a table needs to go on after its server restarts: the game record, the taken seats
// with their names, keys and addresses, and the table's settings. The table hands a new
// state to its TTableStore after every change; the adapter writes it to disk off the
// table's thread, and a server started again builds the table from it (TTable::Restore).
//
// On disk a state is one file: the magic "ZTBL", a 16-bit version (1 or 2), the 32-bit length of
// the body and the body's CRC-32, then the body (numbers little-endian, texts as in the
// game messages). Every byte read back is checked: a file cut short, a wrong checksum, a
// version this program does not know, a field out of its range or a record the rules
// refuse gives no state at all, with the reason.
#pragma once

#include <cstdint>

#include <QByteArray>
#include <QList>
#include <QString>

#include "extension.h"
#include "gameinfo.h"
#include "turnclock.h"

// One taken seat as kept: the seat's player (or computer) without its connection.
struct TSeatState {
    uint8_t Seat = 0;
    uint8_t Kind = 1;      // SeatEntry::Human or SeatEntry::Computer
    QByteArray Name;       // the unique name, code page 1254
    QByteArray Requested;  // the name the player asked for
    QString Host;          // the address of the player's last connection
    TSeatKey Key{};
    bool Extended = false; // our program: only the key takes the seat back
    bool Removed = false;  // removed by the host for the rest of this game
    uint8_t TimeoutsInARow = 0; // the turn clock's, up to kTimeoutsInARow
    bool ComputerPlays = false; // until the player acts again (time-outs or the host)
    bool operator==(const TSeatState&) const = default;
};

struct TTableState {
    TGameInfo Record{};
    QList<TSeatState> Seats; // in seat order
    TTurnClockSetting TurnClock;
    uint8_t Level = 0;       // TComputerLevel: 0 Acemi, 1 Usta
    bool OpenHands = false;
    bool Locked = false;
    QString Code;            // the table's invite code; empty for the only table of a dealer
    QString Name;
    bool Default = false;    // the table of the peers that name none
    bool operator==(const TTableState& other) const;
};

// Version 2 added each seat's turn-clock time-outs; files of version 1 are still read.
inline constexpr uint16_t kTableStateVersion = 2;

// The file's bytes for the state.
QByteArray TableStateBytes(const TTableState& state);
// A body of version under the file's header: its length and checksum made right.
QByteArray SealTableState(const QByteArray& body, uint16_t version = kTableStateVersion);
// The state in bytes; false with why set (and state untouched) for anything not exactly
// as TableStateBytes writes it.
bool ReadTableState(const QByteArray& bytes, TTableState& state, QString& why);

// Reads the file at path; false with why set when it is missing, too large or refused.
bool ReadTableStateFile(const QString& path, TTableState& state, QString& why);

// Where a table's state is kept in folder: "<code>.table", "table.table" for a table
// without a code.
QString TableStatePath(const QString& folder, const QString& code);

// Where the table hands its state after every change.
class TTableStore {
public:
    virtual ~TTableStore() = default;
    virtual void Keep(const TTableState& state) = 0;
    // The table of that code is closed: nothing of it is to be restored.
    virtual void Forget(const QString& /*code*/) {}
};
