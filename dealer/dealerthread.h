// The dealer over TCP: the table of dealer/table.h behind the listening socket
// "DealerSocket", on the real clock, writing "LastHand.rvo" into a folder. It is what the
// program's own dealer and the zorbela-dealer tool run. The dealer's own user joins like
// any other player, through a client connection to "localhost", and takes seat 0 because
// it joins first.
//
// Use (main window of the dealer's copy, or the zorbela-dealer tool):
//
//   TDealerOptions options;               // port 33471, normal pacing
//   options.Quick = quickChecked;         // or later: dealer->ApplyQuick(on)
//   auto dealer = std::make_unique<TDealerThread>(options);
//   if (!dealer->Listening()) ...         // the port is taken: nobody can join
//   playerSocket.Open("localhost", dealer->Port());
//   QObject::connect(&dealer->Table(), &TTable::Event, receiver, [](const QString& line) { ... });
//
// Everything runs on the thread that created the dealer (the user-interface thread): the
// socket events of DealerSocket and the table's timer are delivered there through its
// event loop. The name "thread" is historic.
//
// What belongs to the transport stays here: the data-frame limit per connection, the
// connections that stop acknowledging, TABLE_FULL delivered before a refused connection
// closes, the request for a sign of life, which transport messages are shown, and the
// slots: a connection is never refused for the number of connections open. When all are
// taken, the oldest connection without a seat from the address that holds the most of
// them makes room, so a player coming back with its key always gets in.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>

#include <QElapsedTimer>
#include <QHash>
#include <QHostAddress>
#include <QPointer>
#include <QString>
#include <QTcpSocket>
#include <QTimer>

#include "statefiles.h"
#include "serverpacketsocket.h"
#include "table.h"

// A player's connection that sends more data frames than this within the window is closed.
// A real player sends about twenty in that time even with "Hızlı"; tests that shorten the
// pacing below the real one must lift the limit (0).
// Control frames count too (all but the ACK of a frame the dealer sent), and so do the
// bytes: a chat line of the largest size costs about eight thousand of them.
constexpr int kMaxDataFrames = 100;
constexpr int kDataFrameWindowMs = 10000;
constexpr qint64 kMaxDataBytes = 256 * 1024;
// A player's connection whose frame waits this long for its ACK is closed: the program at
// the other end acknowledges every frame as it reads it, so that connection is lost (or
// its peer does not follow the protocol), and the computer takes the seat over.
constexpr int kAckTimeoutMs = 30000;

// Connections without a seat: at most this many from one address (a newer one closes the
// oldest), and this long to join. A player's program joins the moment it connects, so
// neither ever meets it; a crowd of idle connections cannot keep it out.
constexpr int kMaxUnjoinedPerAddress = 4;
constexpr int kDealerJoinTimeoutMs = 5000;

struct TDealerOptions : TTableOptions {
    TDealerOptions() { JoinTimeoutMs = kDealerJoinTimeoutMs; }
    quint16 Port = kGamePort;                 // 0: any free port (tests); see Port()
    QString LastHandFolder;                   // empty: the folder of the executable
    int MaxDataFrames = kMaxDataFrames;       // per connection and window; 0: no limit
    int DataFrameWindowMs = kDataFrameWindowMs;
    qint64 MaxDataBytes = kMaxDataBytes;      // per connection and window; 0: no limit
    int AckTimeoutMs = kAckTimeoutMs;         // 0: connections are never closed for it
    int MaxUnjoinedPerAddress = kMaxUnjoinedPerAddress; // 0: no limit
};

class TDealerThread : private TTableLink, private TTableClock, private TTableFiles, private TConnectionRoom {
public:
    // Creates DealerSocket and starts listening, then the table (see TTable).
    explicit TDealerThread(const TDealerOptions& options = {});
    ~TDealerThread() override; // drops every connection; no message is sent
    TDealerThread(const TDealerThread&) = delete;
    TDealerThread& operator=(const TDealerThread&) = delete;

    // Whether DealerSocket listens; false when the port could not be used.
    bool Listening() const { return socket_.Active(); }
    // The port listened on (the one chosen when the options asked for 0).
    quint16 Port() const { return socket_.Port(); }

    void ApplyQuick(bool quick) { table_->ApplyQuick(quick); }
    void SetMoveSource(std::unique_ptr<TMoveSource> source) { table_->SetMoveSource(std::move(source)); }
    // The name of the computer seats filled from now on (numbered 1..3 after it).
    void SetComputerName(const QByteArray& name) { table_->SetComputerName(name); }

    // ---- State, read-only ----
    TTable& Table() { return *table_; }
    const TGameInfo& GameInfo() const { return table_->GameInfo(); }
    int SeatCount() const { return table_->SeatCount(); }
    int ComputerCount() const { return table_->ComputerCount(); }
    const QList<SeatEntry>& Seats() const { return table_->Seats(); }
    const TServerPacketSocket& DealerSocket() const { return socket_; }
    const TTableTimer& ComputerMoveTimer() const { return table_->ComputerMoveTimer(); }
    const TTableTimer& TrickWinnerTimer() const { return table_->TrickWinnerTimer(); }
    const TTableTimer& TrickClearTimer() const { return table_->TrickClearTimer(); }
    const TTableTimer& TrickResolveTimer() const { return table_->TrickResolveTimer(); }
    // Where "LastHand.rvo" was last written: the folder given, or the application data
    // folder when that one could not be written; empty before the first broadcast.
    const QString& LastHandPath() const { return table_->LastHandPath(); }
    QString LastHandFolder() const { return lastHandFolder_; }
    // The files ("LastHand.rvo", the table's state) are written off this thread; Idle once
    // every one asked for is on disk.
    TFileKeeper& Files() { return files_.Keeper(); }

private:
    // TTableLink
    void Send(TConnectionId id, TPacketType type, const QByteArray& payload) override;
    void Close(TConnectionId id, bool afterDelivery) override;
    void Probe(TConnectionId id) override;
    int Backlog(TConnectionId id) const override;
    qint64 BacklogBytes(TConnectionId id) const override;
    void Notice(const QString& text) override;
    // TTableClock
    qint64 NowMs() const override { return clock_.elapsed(); }
    void WakeAt(qint64 atMs) override;
    // TTableFiles: returns where the record goes; it is written later, off this thread.
    QString WriteLastHand(const TGameInfo& g) override;
    // TConnectionRoom: the oldest connection without a seat, from the address that holds
    // the most of them.
    QTcpSocket* MakeRoomFor(const QTcpSocket* newcomer) override;

    void ClientConnect(QTcpSocket* connection);
    void ClientDisconnect(QTcpSocket* connection);
    void ConnectionMessage(QTcpSocket* connection, const QString& text);
    void CloseUnacknowledging();                    // connections past AckTimeoutMs
    // The oldest connection without a seat from address (empty: from the address holding
    // the most of them), and how many that address holds; nullptr when there is none.
    std::pair<QTcpSocket*, int> OldestUnjoined(const QString& address) const;
    QTcpSocket* SocketOf(TConnectionId id) const;
    static QHostAddress PeerAddress(const QTcpSocket* connection); // IPv4 for a mapped one

    TServerPacketSocket socket_;
    QElapsedTimer clock_;
    QTimer wake_;     // the table's next due timer
    QTimer ackWatch_; // looks for connections that stopped acknowledging
    QHash<QTcpSocket*, TConnectionId> ids_;
    QHash<TConnectionId, QPointer<QTcpSocket>> sockets_;
    TConnectionId lastId_ = kNoConnection;
    int ackTimeoutMs_;
    int maxUnjoinedPerAddress_;
    QString lastHandFolder_;
    QString lastHandPath_;   // where the last write of "LastHand.rvo" went
    TStateFiles files_;      // before the table: writes what the table asked for to the end
    std::unique_ptr<TTable> table_;
};
