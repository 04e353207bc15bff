// The tables of one event-loop thread of a server with many tables, as plain code: no
// socket, no thread, no clock of its own (like TTable, which it holds any number of).
//
// A connection starts in the lobby of the house it was given. There it may ask for the
// list of tables (LIST_TABLES), create a table (CREATE_TABLE), watch one (WATCH_TABLE) or
// join one (JOIN_REQUEST; the join block's table code names it, none: the default table,
// so a peer of the original protocol plays there exactly as at a dealer of one table; a
// block with kTablesFirst and no code asks for the list instead and stays in the lobby).
// A connection whose table runs on another house is handed to it (THouseLink::Move) with
// the message that named it; that house goes on as if the message had come to it. Once
// at its table, a connection talks to the table alone, except for LIST_TABLES.
//
// Limits: a connection that neither joins nor watches within JoinTimeoutMs is closed, and
// so is the oldest one of an address with MaxUnjoinedPerAddress of them already; a table
// has at most MaxWatchers watchers; tables are created within the budgets of the
// directory; table names are held to what a seat's name may be. A table other than the
// default one is closed once nobody has been at it (player or watcher) for EmptyCloseMs.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <vector>

#include <QByteArray>
#include <QHash>
#include <QString>

#include "table.h"
#include "tabledirectory.h"
#include "tablemessages.h"

struct THouseOptions {
    // What every table is made with; the turn clock, level and hands of a created table
    // come from its CREATE_TABLE.
    TTableOptions Table;
    int MaxWatchers = 20;
    int JoinTimeoutMs = 5000;
    int MaxUnjoinedPerAddress = 4;    // 0: no limit
    qint64 EmptyCloseMs = 10 * 60 * 1000;
    int HousekeepingMs = 1000;        // how often join times and empty tables are looked at
    // The default table (house 0 only): its name and whether it has one at all.
    bool DefaultTable = true;
    QString DefaultName = QStringLiteral("Genel");
    // Tables kept by the last run, to be restored on this house (the default table's only
    // on house 0); each goes on with its code, settings, seats and game.
    std::vector<TTableState> Kept;
};

// What a house talks to besides its tables' ports: its connections, and the other houses.
class THouseLink : public TTableLink {
public:
    // Hands the connection, with its message, to house (another one): from now on it
    // belongs there, and this house hears nothing more of it.
    virtual void Move(TConnectionId id, int house, TPacketType type, const QByteArray& payload) = 0;
    // Makes the table on house (another one); it was reserved in the directory.
    virtual void Create(int house, const QByteArray& code, const TTableSettings& settings) = 0;
};

class TTableHouse {
public:
    // index: this house's number in the directory (0 holds the default table).
    // lastHand: where the default table keeps "LastHand.rvo"; the other tables keep none.
    TTableHouse(int index, THouseLink& link, TTableClock& clock, TTableFiles& lastHand,
                TTableDirectory& directory, const THouseOptions& options = {});
    ~TTableHouse();
    TTableHouse(const TTableHouse&) = delete;
    TTableHouse& operator=(const TTableHouse&) = delete;

    // ---- Inputs ----
    void Connected(TConnectionId id, const QString& host, quint16 port);
    void Received(TConnectionId id, TPacketType type, const uint8_t* buf, int32_t count);
    void Disconnected(TConnectionId id);
    void Answered(TConnectionId id);
    // A connection handed over by another house, with the message that brought it here.
    void Adopt(TConnectionId id, const QString& host, quint16 port, TPacketType type, const QByteArray& payload);
    // A table reserved in the directory for this house.
    void Create(const QByteArray& code, const TTableSettings& settings);
    void Tick(); // the clock reached the time asked for
    // The server stops: every table tells its players and keeps its state as it is.
    void Closing();

    // ---- State, read-only ----
    int Index() const { return index_; }
    int TableCount() const { return int(tables_.size()); }
    TTable* Table(const QByteArray& code) const;
    int Connections() const { return int(guests_.size()); }

private:
    struct TSlot;
    struct TGuest {
        QString Host;
        quint16 Port = 0;
        TSlot* Table = nullptr;
        bool Watcher = false;
        qint64 JoinBy = -1;
    };

    void Lobby(TConnectionId id, TGuest& guest, TPacketType type, const uint8_t* buf, int32_t count);
    void CreateTable(TConnectionId id, const TGuest& guest, const uint8_t* buf, int32_t count);
    void WatchTable(TConnectionId id, TGuest& guest, const uint8_t* buf, int32_t count);
    void JoinTable(TConnectionId id, TGuest& guest, const uint8_t* buf, int32_t count);
    void Route(TConnectionId id, TGuest& guest, const QByteArray& code, TPacketType type, const uint8_t* buf,
               int32_t count);
    void Answer(TConnectionId id, TPacketType type, bool ok, const QString& text);
    void SendList(TConnectionId id);
    void Refresh(TSlot& slot); // the directory's listing, and whether anybody is at the table
    TSlot& MakeTable(const QByteArray& code, const TTableSettings& settings, bool isDefault);
    void RestoreTable(const TTableState& state);
    void Housekeeping();
    void CloseTable(TSlot& slot);
    void Schedule(TSlot& slot, qint64 atMs);
    void WakeHouse();
    void LeaveLobby(TConnectionId id, TGuest& guest);
    void Log(const QString& line) const;

    int index_;
    THouseLink& link_;
    TTableClock& clock_;
    TTableFiles& lastHand_;
    TTableDirectory& directory_;
    THouseOptions options_;
    std::map<QByteArray, std::unique_ptr<TSlot>> tables_;
    QHash<TConnectionId, TGuest> guests_;
    QHash<QString, std::set<TConnectionId>> lobby_; // connections without a table, per address
    std::set<std::pair<qint64, TSlot*>> timers_;     // the tables' next due times
    qint64 nextHousekeeping_ = 0;
    bool ticking_ = false;
};
