// The tables of a server with many tables, as every event-loop thread sees them: which
// thread runs a table, what the list shows of it, and the budgets for new tables. Any
// thread may call it; each call takes a short lock and calls nothing outside.
#pragma once

#include <deque>
#include <mutex>

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include "tablemessages.h"

struct TTableBudgets {
    int MaxTables = 5000;             // tables at once, the default table included
    int MaxTablesPerAddress = 3;      // tables at once created from one address
    int MaxCreatesPerHour = 20;       // tables created from one address within an hour
};

class TTableDirectory {
public:
    explicit TTableDirectory(int houses, const TTableBudgets& budgets = {});

    // A new table for a player at address, at nowMs: its code (unique, from the system's
    // entropy) and the thread (house) to run it, the one with the fewest tables; or a
    // refusal text for the player. The table is listed from now on (as not yet taken).
    struct TPlace {
        QByteArray Code;
        int House = -1;
        QString Refusal;
    };
    TPlace Reserve(const QString& address, qint64 nowMs);
    // A table that needs no budget (the default table, or one restored): listed on house.
    void Add(const QByteArray& code, int house, const TTableListing& listing);
    void Update(const TTableListing& listing);
    // The table is closed; its creator's address gets its share back.
    void Remove(const QByteArray& code);

    int HouseOf(const QByteArray& code) const; // -1 for an unknown code
    int Count() const;
    void SetDefaultCode(const QByteArray& code);
    QByteArray DefaultCode() const;
    // What the list shows: the default table first, then the tables with free seats, then
    // the others; tables that nobody has joined yet are left out.
    QList<TTableListing> List() const;
    // TABLE_LIST's payload of List(), made again at most once a second (asking for the
    // list often costs the server no more than asking once a second).
    QByteArray ListPayload(qint64 nowMs);

private:
    struct TEntry {
        int House = 0;
        QString Creator;
        TTableListing Listing;
    };
    struct TAddress {
        int Live = 0;
        std::deque<qint64> Created; // within the last hour
    };

    mutable std::mutex lock_;
    TTableBudgets budgets_;
    QHash<QByteArray, TEntry> tables_;
    QHash<QString, TAddress> addresses_;
    QList<int> perHouse_;
    QByteArray defaultCode_;
    std::mutex listLock_;
    QByteArray listPayload_;
    qint64 listMadeMs_ = -1;
};
