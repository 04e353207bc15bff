// The dealer: the game server of one table with four seats.
//
// It listens for players, seats them in the order in which they join, gives every seat a
// unique name, fills the free seats with computer players on request, runs the game on
// its one authoritative game record and sends every change of that record to all human
// players. The dealer's own user joins like any other player, through a client
// connection to "localhost", and takes seat 0 because it joins first.
//
// Use (main window of the dealer's copy, or the zorbela-dealer tool):
//
//   TDealerOptions options;               // port 33471, normal pacing
//   options.Quick = quickChecked;         // or later: dealer->ApplyQuick(on)
//   auto dealer = std::make_unique<TDealerThread>(options);
//   if (!dealer->Listening()) ...         // the port is taken: nobody can join
//   playerSocket.Open("localhost", dealer->Port());
//   ...
//   dealer->ApplyQuick(quickChecked);     // the "Hızlı" setting, whenever it changes
//
// Everything runs on the thread that created the dealer (the user-interface thread): the
// socket events of DealerSocket and the four timers are delivered there through its
// event loop. The name "thread" is historic: the only work done on a thread of its own is
// seeding the random source at creation (see the constructor).
//
// Every message is handled for the connection it came from, and only what that
// connection's seat may do is applied; anything else is dropped with the state unchanged
// (and one line through OnEvent):
//   - CARD_PLAY: the seat byte is the sender's own seat, a card is awaited from that seat
//     (psPlaying, Turn, fewer than four cards in the trick), the seat holds the card and
//     the legality rule accepts it;
//   - CONTRACT_CHOICE: the sender is the Chooser in psChoosing and the contract is
//     available to it;
//   - NEW_GAME, START_NOW, GAME_RECORD, WAIT_FOR_PLAYERS: only from the dealer's own user
//     (the connection of seat 0); a GAME_RECORD must also be a consistent record;
//   - CHAT_TEXT and game moves only from a connection that holds a seat; JOIN_REQUEST only
//     from a connection that holds none.
//
// Connections that close, and connections that never join (dealerdrops.cpp):
//   - while fewer than four seats are taken, a closed connection frees its seat: the
//     others are sent its seat with an empty name, the dealer's own user the new number
//     of missing players, and the next player to join takes the lowest free seat (a freed
//     seat 0 makes that player the dealer's own user);
//   - once the table is full, the seat keeps its name and the computer plays it, one
//     action per tick like a computer seat; the other players are told so in a chat line.
//     A player who joins under the seat's name (the one asked for, or the unique one
//     given) takes it back and is sent every seat's name, its seat and the record. A
//     player who joins under the name of a seat whose connection still looks open, from
//     the same address, takes it over the same way if that connection does not answer a
//     request for a sign of life within ProbeMs: it was lost without the dealer noticing
//     (a network that went away, or the program restarted at once). A connection that
//     answers keeps its seat, and the newcomer is told TABLE_FULL (a second copy of the
//     program under the same name never takes the dealer's own seat);
//   - a player's connection that sends more than MaxDataFrames data frames within
//     DataFrameWindowMs is closed, and so is one whose frame has waited AckTimeoutMs for
//     its ACK;
//   - a connection that holds no seat JoinTimeoutMs after it was made is closed.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QPointer>
#include <QString>
#include <QTcpSocket>
#include <QTimer>

#include "computerplayer.h"
#include "gameinfo.h"
#include "movesource.h"
#include "packet.h"
#include "packetsocket.h"
#include "serverpacketsocket.h"

// The pacing of the game flow, in milliseconds.
constexpr int kComputerMoveMs = 1000;      // between two computer actions
constexpr int kQuickComputerMoveMs = 10;
constexpr int kTrickWinnerMs = 500;        // fourth card -> TRICK_TAKER
constexpr int kQuickTrickWinnerMs = 5;
constexpr int kTrickClearMs = 1000;        // TRICK_TAKER -> TRICK_CLEAR
constexpr int kQuickTrickClearMs = 10;
constexpr int kTrickResolveExtraMs = 500;  // TRICK_CLEAR -> resolved record, not shortened by "Hızlı"
constexpr int kJoinTimeoutMs = 20000;      // connection made -> JOIN_REQUEST at the latest
// A player's connection that sends more data frames than this within the window is closed.
// A real player sends about twenty in that time even with "Hızlı"; tests that shorten the
// pacing below the real one must lift the limit (0).
constexpr int kMaxDataFrames = 100;
// A chat line is not relayed to a player with this many frames still unacknowledged (half
// of what closes a connection), so that bursts of chat cannot cost anyone the connection.
constexpr int kChatBacklogFrames = kMaxPendingFrames / 2;
constexpr int kDataFrameWindowMs = 10000;
// A player's connection whose frame waits this long for its ACK is closed: the program at
// the other end acknowledges every frame as it reads it, so that connection is lost (or
// its peer does not follow the protocol), and the computer takes the seat over.
constexpr int kAckTimeoutMs = 30000;
// A player joining under the name of a seat whose connection still looks open, from the
// same address, gets the seat only if that connection does not answer within this time.
constexpr int kProbeMs = 3000;

struct TDealerOptions {
    quint16 Port = kGamePort;                 // 0: any free port (tests); see Port()
    bool Quick = false;                       // the "Hızlı" setting at creation
    int TrickResolveExtraMs = kTrickResolveExtraMs;
    QString LastHandFolder;                   // empty: the folder of the executable
    TRandom* Random = nullptr;                // deals and computer contracts; null: GameRandom()
    int JoinTimeoutMs = kJoinTimeoutMs;       // a connection without a seat is closed after it
    int MaxDataFrames = kMaxDataFrames;       // per connection and window; 0: no limit
    int DataFrameWindowMs = kDataFrameWindowMs;
    int AckTimeoutMs = kAckTimeoutMs;         // 0: connections are never closed for it
    int ProbeMs = kProbeMs;                   // 0: a live seat is handed over without asking
    // The computer level of the computer seats and of dropped players' seats (see
    // movesource.h); it is given the dealer's random source. Empty: Acemi.
    std::function<std::unique_ptr<TMoveSource>(TRandom& random)> ComputerLevel;
    QByteArray ComputerName = "Acemi";        // computer seats are named ComputerName1..3
};

// One taken seat.
struct SeatEntry {
    enum TKind : uint8_t { Human = 1, Computer = 2 };

    QPointer<QTcpSocket> Connection; // the player's connection; null for a computer player
                                     // and once the player's connection has closed (the
                                     // computer then plays the seat)
    uint8_t Seat = kNone;            // 0..3
    uint8_t Kind = Human;
    QByteArray Name;                 // the unique name, code page 1254
    QByteArray Requested;            // the name the player asked for, cut to the field

    bool ComputerPlays() const { return Kind == Computer || !Connection; }
};

class TDealerThread {
public:
    // Creates DealerSocket and starts listening, creates the four timers stopped with the
    // intervals of options.Quick, initialises the game record and the computer player,
    // and runs the dealer's thread, which seeds the random source from the clock (a source
    // made with a fixed seed keeps it), draws three numbers below 10 and ends; the
    // constructor returns after it has ended.
    explicit TDealerThread(const TDealerOptions& options = {});
    ~TDealerThread(); // drops every connection; no message is sent
    TDealerThread(const TDealerThread&) = delete;
    TDealerThread& operator=(const TDealerThread&) = delete;

    // Whether DealerSocket listens; false when the port could not be used.
    bool Listening() const { return socket_.Active(); }
    // The port listened on (the one chosen when the options asked for 0).
    quint16 Port() const { return socket_.Port(); }

    // Applies the "Hızlı" setting, in this order: ComputerMoveTimer 10 ms (else 1000),
    // TrickWinnerTimer 5 ms (500), TrickClearTimer 10 ms (1000), then TrickResolveTimer as
    // the sum of the two before it and the fixed 500 ms (515 or 2000). Running timers are
    // restarted with their new interval.
    void ApplyQuick(bool quick);

    // Replaces the computer level; an answer the old one still owes is discarded.
    void SetMoveSource(std::unique_ptr<TMoveSource> source);
    // The name of the computer seats filled from now on (numbered 1..3 after it).
    void SetComputerName(const QByteArray& name) { computerName_ = name; }

    // One line for every connection, seat and game event, and for every message dropped
    // (English, for the log of the zorbela-dealer tool). Empty: no lines.
    std::function<void(const QString& line)> OnEvent;

    // ---- State, read-only ----
    const TGameInfo& GameInfo() const { return game_; }
    int SeatCount() const { return seatCount_; }         // seats taken, 0..4
    int ComputerCount() const { return computerCount_; } // of them computer seats
    const QList<SeatEntry>& Seats() const { return seats_; } // the taken seats, in seat order
    const TServerPacketSocket& DealerSocket() const { return socket_; }
    const QTimer& ComputerMoveTimer() const { return computerMoveTimer_; }
    const QTimer& TrickWinnerTimer() const { return trickWinnerTimer_; }
    const QTimer& TrickClearTimer() const { return trickClearTimer_; }
    const QTimer& TrickResolveTimer() const { return trickResolveTimer_; }
    // Where "LastHand.rvo" was last written: the folder given, or the application data
    // folder when that one could not be written; empty before the first broadcast.
    const QString& LastHandPath() const { return lastHandPath_; }
    QString LastHandFolder() const { return lastHandFolder_; }

private:
    // dealerthread.cpp: connections and seats
    void ClientConnect(QTcpSocket* connection);
    void ClientDisconnect(QTcpSocket* connection);
    void ClientPacketRead(QTcpSocket* connection, TPacketType type, const uint8_t* buf,
                          int32_t count);
    void JoinRequest(QTcpSocket* connection, const uint8_t* buf, int32_t count);
    void StartNow();
    void AddSeat(SeatEntry entry);
    int FreeSeat() const;                           // the lowest seat not taken; 4 for none
    void SendMissing();                             // STATUS_TEXT to the dealer's own user
    void RefuseConnection(QTcpSocket* connection);
    bool Refused(const QTcpSocket* connection) const;
    int SeatOf(const QTcpSocket* connection) const; // -1 for a connection without a seat
    QList<QTcpSocket*> HumanConnections() const;    // live connections of the human seats
    QTcpSocket* OwnUser() const;                    // the connection of seat 0, if live
    static QString Peer(const QTcpSocket* connection);
    static QHostAddress PeerAddress(const QTcpSocket* connection); // IPv4 for a mapped one
    void Log(const QString& line) const;
    void Drop(const char* message, const QString& why) const;
    void DropConnectionTimers();

    // dealerdrops.cpp: connections that close or never join
    void StartJoinTimeout(QTcpSocket* connection);
    void CloseUnacknowledging();                    // connections past AckTimeoutMs
    bool SeatDropped() const;                       // a human seat of a full table has no connection
    bool SeatFromSameAddress(const QTcpSocket* connection) const; // a live human seat's peer shares it
    void FreeSeatOf(int index);                     // before the game: the seat is given up
    void ComputerTakesOver(SeatEntry& entry);       // during the game: the computer plays it
    // A player who joins under the name of a seat of a full table: true when the seat is
    // given back to it, or when its old connection, still open, is being asked first.
    bool Rejoin(QTcpSocket* connection, const QByteArray& name, bool probe = true);
    void HandOver(SeatEntry& entry, QTcpSocket* connection);
    void StartProbe(const SeatEntry& entry, QTcpSocket* newcomer, const QByteArray& name);
    bool Probed(const QTcpSocket* connection) const; // asked for a sign of life now
    void TellOthers(const QTcpSocket* except, const QString& line);

    // dealerflow.cpp: the course of a game
    void GameRecordMessage(int seat, const uint8_t* buf, int32_t count);
    void ChatText(int seat, const uint8_t* buf, int32_t count);
    void NewGameMessage(int seat);
    void ContractChoice(int seat, const uint8_t* buf, int32_t count);
    void CardPlay(int seat, const uint8_t* buf, int32_t count);
    void WaitForPlayers(int seat);
    void BroadcastGameRecord();
    void StartTrickTimers();
    void StopTrickTimers();
    void ApplyMove(int seat, const TMove& move, const QString& who);
    void ComputerMoveTick();
    void ComputerAnswer(quint64 ticket, int seat, const TMove& move);
    void TrickWinnerTick();
    void TrickClearTick();
    void TrickResolveTick();

    TServerPacketSocket socket_;
    QTimer computerMoveTimer_;
    QTimer trickResolveTimer_;
    QTimer trickWinnerTimer_;
    QTimer trickClearTimer_;
    QTimer ackWatch_; // looks for connections that stopped acknowledging
    TGameInfo game_{};
    int seatCount_ = 0;
    int computerCount_ = 0;
    QList<SeatEntry> seats_;
    QList<QPointer<QTimer>> probes_;           // seats whose open connection is being asked
    QList<QPointer<QTimer>> connectionTimers_; // join timeouts, and the polls that close refused
                                               // connections once TABLE_FULL is through
    TRandom* random_;
    bool noticeOpen_ = false; // the unknown-message box is being shown
    int trickResolveExtraMs_;
    int joinTimeoutMs_;
    int ackTimeoutMs_;
    int probeMs_;
    QString lastHandFolder_;
    QString lastHandPath_;
    QByteArray computerName_;
    quint64 version_ = 1; // counts the changes of the record (and of who plays a seat)
    quint64 asked_ = 0;   // the version the computer was last asked about
    std::unique_ptr<TMoveSource> source_; // last: goes first, with any answer it still owes
};
