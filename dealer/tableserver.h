// zorbela-dealer's server of many tables on one port: the tables spread over a few
// event-loop threads (a table always on one thread, with the connections of everyone at
// it), a shared directory of tables, and the listening socket on the thread that made the
// server. See tablehouse.h for what a connection may do before it is at a table, and
// serverloop.h for one thread.
//
//   TTableServerOptions options;      // port 33471, one thread per core
//   TTableServer server(options);
//   if (!server.Listening()) ...      // the port is taken
//
// Connections are given to the threads by their address, so that the limits per address
// (connections without a table, tables created) are kept by one thread; a connection
// moves to the thread of the table it joins or watches.
#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QTcpServer>
#include <QThread>

#include "statefiles.h"
#include "tabledirectory.h"
#include "tablehouse.h"

class TServerLoop;

struct TTableServerOptions {
    quint16 Port = 33471;             // 0: a free port (tests); see Port()
    int Threads = 0;                  // event-loop threads; 0: one per core
    // The event-loop threads ask for real-time scheduling (loopscheduling.h), so that a busy
    // machine does not make the players wait; where it is not permitted they run as before.
    bool RealTime = false;
    THouseOptions House;
    TTableBudgets Budgets;
    int MaxConnections = 19000;       // at once, over all threads; a newer one is closed at once
    // The transport's limits per connection, as at the dealer of one table.
    int MaxDataFrames = 100;
    int DataFrameWindowMs = 10000;
    qint64 MaxDataBytes = 256 * 1024;
    int AckTimeoutMs = 30000;         // 0: connections are never closed for it
    QString LastHandFolder;           // the default table's "LastHand.rvo"
    // Where "LastHand.rvo" and the tables' states are written, off the tables' threads;
    // null: "LastHand.rvo" is written on the default table's thread, no state is kept.
    // Set House.Table.Store to it as well for the tables to keep their states.
    TStateFiles* Files = nullptr;
    // Tables kept by the last run (TStateFiles::ReadAll), spread over the threads.
    std::vector<TTableState> Kept;
};

class TTableServer final : public QTcpServer {
public:
    explicit TTableServer(const TTableServerOptions& options = {});
    ~TTableServer() override; // every connection dropped, the threads stopped

    bool Listening() const { return isListening(); }
    quint16 Port() const { return serverPort(); }
    int Threads() const { return int(loops_.size()); }
    // With options.RealTime: empty when every event-loop thread runs at real-time priority,
    // otherwise why they do not.
    const QString& RealTimeRefusal() const { return realTimeRefusal_; }
    TTableDirectory& Directory() { return directory_; }
    // The server stops: every table tells its players and keeps its state as it is, and
    // none changes any more. Returns once every thread has done so.
    void Closing();
    const TTableServerOptions& Options() const { return options_; }

    // ---- For the threads ----
    TServerLoop* Loop(int index) const { return loops_[std::size_t(index)]; }
    qint64 NowMs() const { return clock_.elapsed(); }
    TConnectionId NewId() { return ++lastId_; }
    void Closed() { --open_; }

protected:
    void incomingConnection(qintptr fd) override;

private:
    TTableServerOptions options_;
    TTableDirectory directory_;
    QElapsedTimer clock_;
    QString realTimeRefusal_;
    std::vector<QThread*> threads_;
    std::vector<TServerLoop*> loops_;
    std::atomic<TConnectionId> lastId_{0};
    std::atomic<int> open_{0};
    qint64 refusedLogged_ = -1;
};
