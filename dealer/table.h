// The game of one table with four seats, as plain code: no socket, no thread, no clock of
// its own. It seats players in the order in which they join, gives every seat a unique
// name, fills the free seats with computer players on request, runs the game on its one
// authoritative game record and sends every change of that record to all human players.
//
// Inputs: what a connection did (Connected, Received, Disconnected, Answered) and the
// clock's call when a timer is due (Tick). Outputs: messages to connections and closes
// through a TTableLink, the time through a TTableClock, "LastHand.rvo" through a
// TTableFiles, and one line per event through the zorbela.dealer logging category and the
// Event signal. The adapters: TDealerThread (TCP, real time) and TLocalTable (in process,
// manual time). Everything runs on the thread that created the table.
//
// Every message is handled for the connection it came from, and only what that
// connection's seat may do is applied; anything else is dropped with the state unchanged
// (and one line "dropped ..."):
//   - CARD_PLAY: the seat byte is the sender's own seat, a card is awaited from that seat
//     (psPlaying, Turn, fewer than four cards in the trick), the seat holds the card and
//     the legality rule accepts it;
//   - CONTRACT_CHOICE: the sender is the Chooser in psChoosing and the contract is
//     available to it;
//   - NEW_GAME, START_NOW, GAME_RECORD, WAIT_FOR_PLAYERS: only from the dealer's own user
//     (the connection of seat 0); a GAME_RECORD only where HostSendsRecords is set, and it
//     must be a consistent record. At a table with private hands a loaded game that has a
//     hand in progress gets that hand's cards dealt again, so a save shows nobody the
//     hands that were played from it;
//   - CHAT_TEXT and game moves only from a connection that holds a seat; JOIN_REQUEST only
//     from a connection that holds none.
//
// Connections that close, and connections that never join (tabledrops.cpp):
//   - while fewer than four seats are taken, a closed connection frees its seat: the
//     others are sent its seat with an empty name, the dealer's own user the new number
//     of missing players, and the next player to join takes the lowest free seat (a freed
//     seat 0 makes that player the dealer's own user);
//   - once the table is full, the seat keeps its name and the computer plays it, one
//     action per tick like a computer seat; the other players are told so in a chat line.
//     A seat given to our program goes back only to its key, from any address. Any
//     other seat goes back to a player who joins under its name (the one asked for, or
//     the unique one given) from the address that held it. Either way the player is sent
//     every seat's name, its seat and the record, and the seat gets a new key. A player
//     who asks for a seat whose connection still looks open takes it over the same way if
//     that connection does not answer a request for a sign of life within ProbeMs: it was
//     lost without the dealer noticing (a network that went away, or the program
//     restarted at once). A connection that answers keeps its seat, and the newcomer is
//     told TABLE_FULL (a second copy of the program under the same name never takes the
//     dealer's own seat);
//   - a connection that holds no seat JoinTimeoutMs after it was made is closed.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QLoggingCategory>
#include <QObject>
#include <QString>

#include "extension.h"
#include "gameinfo.h"
#include "movesource.h"
#include "packet.h"
#include "tableports.h"
#include "tablestate.h"
#include "turnclock.h"

Q_DECLARE_LOGGING_CATEGORY(lcDealer)

// The pacing of the game flow, in milliseconds.
constexpr int kComputerMoveMs = 1000;      // between two computer actions
constexpr int kQuickComputerMoveMs = 10;
constexpr int kTrickWinnerMs = 500;        // fourth card -> TRICK_TAKER
constexpr int kQuickTrickWinnerMs = 5;
constexpr int kTrickClearMs = 1000;        // TRICK_TAKER -> TRICK_CLEAR
constexpr int kQuickTrickClearMs = 10;
constexpr int kTrickResolveExtraMs = 500;  // TRICK_CLEAR -> resolved record, not shortened by "Hızlı"
constexpr int kJoinTimeoutMs = 20000;      // connection made -> JOIN_REQUEST at the latest
// A player joining under the name of a seat whose connection still looks open, from the
// same address, gets the seat only if that connection does not answer within this time.
constexpr int kProbeMs = 3000;
// A chat line is not relayed to a player with this many messages or bytes still
// unacknowledged (far below what closes a connection), so that bursts of chat, long lines
// included, cannot cost anyone the connection.
constexpr int kChatBacklogFrames = 32;
constexpr qint64 kChatBacklogBytes = 32 * 1024;
// What comings and goings tell the others (seat names, the players still missing, "left"
// and "came back" lines; see tablenews.cpp): this many tellings at once, then one more per
// kNewsRefillMs; what changes meanwhile is told together.
constexpr int kNewsBurst = 8;
constexpr int kNewsRefillMs = 1000;

struct TTableOptions {
    bool Quick = false;                       // the "Hızlı" setting at creation
    int TrickResolveExtraMs = kTrickResolveExtraMs;
    // Deals and computer contracts. Null: the table draws from the system's entropy, so
    // that no player can work out the hands; a seeded source replays a game.
    TRandom* Random = nullptr;
    int JoinTimeoutMs = kJoinTimeoutMs;       // a connection without a seat is closed after it
    int ProbeMs = kProbeMs;                   // 0: a live seat is handed over without asking
    // The computer level of the computer seats and of dropped players' seats (see
    // movesource.h); it is given the table's random source. Empty: Acemi.
    std::function<std::unique_ptr<TMoveSource>(TRandom& random)> ComputerLevel;
    QByteArray ComputerName = "Acemi";        // computer seats are named ComputerName1..3
    // Every player is sent all four hands as they are, for peers that need them; otherwise
    // each is sent its own hand and the unseen cards (PrivateRecord).
    bool OpenHands = false;
    // Where the host's saved games are kept (SAVE_GAME, LOAD_GAME, LIST_GAMES); empty: the
    // table keeps none and refuses those messages.
    QString GamesFolder;
    // The source of seat keys; empty: the system's random source.
    std::function<TSeatKey()> SeatKeys;
    // Seconds for a card and for a contract; off unless set (see turnclock.h).
    TTurnClockSetting TurnClock;
    // The host may send a whole record (GAME_RECORD), as the program's own user does with a
    // game loaded from its disk. Off where the host is just the first to join: games come
    // only from the games folder then, so no host can deal the cards it likes.
    bool HostSendsRecords = true;
    // The table's code at a server of many tables, given back in JOIN_ACCEPTED's block.
    QByteArray Code;
    // Handed the table's state after every change (see tablestate.h); null: none kept.
    TTableStore* Store = nullptr;
    uint8_t Level = 0;                        // the computer level, as kept: 0 Acemi, 1 Usta
    QString Name;                             // the table's name, as kept
    bool Default = false;                     // the table of the peers that name none, as kept
};

// After a restart the computer does not play a returning player's seat for this long: the
// programs reconnect by themselves within seconds.
constexpr int kRestoreGraceMs = 15000;

// One taken seat.
struct SeatEntry {
    enum TKind : uint8_t { Human = 1, Computer = 2 };

    TConnectionId Connection = kNoConnection; // the player's connection; none for a computer
                                              // player and once the player's connection has
                                              // closed (the computer then plays the seat)
    uint8_t Seat = kNone;            // 0..3
    uint8_t Kind = Human;
    QByteArray Name;                 // the unique name, code page 1254
    QByteArray Requested;            // the name the player asked for, cut to the field
    QString Host;                    // the address of the player's last connection
    TSeatKey Key{};                  // given to the player; a new one whenever the seat changes
                                     // hands
    bool Extended = false;           // the player's program knows the messages of type 20 and
                                     // up, and was given the key: only the key takes it back
    bool Removed = false;            // the host removed the player for the rest of this game

    bool ComputerPlays() const { return Kind == Computer || Connection == kNoConnection; }
};

// One of the table's timers, read the way a QTimer is.
struct TTableTimer {
    int Interval = 0;
    qint64 At = -1; // when it fires; -1 while it is stopped
    int interval() const { return Interval; }
    bool isActive() const { return At >= 0; }
};

class TTable : public QObject {
    Q_OBJECT

public:
    // Initialises the game record and the computer level, sets the timers' intervals from
    // options.Quick, and draws three numbers below 10 from the random source.
    TTable(TTableLink& link, TTableClock& clock, TTableFiles& files, const TTableOptions& options = {});
    ~TTable() override;
    TTable(const TTable&) = delete;
    TTable& operator=(const TTable&) = delete;

    // ---- Inputs ----
    // A new connection from host (an IPv4 address for a mapped one) and port.
    void Connected(TConnectionId id, const QString& host, quint16 port);
    void Disconnected(TConnectionId id);
    // One message of the connection; buf is valid during the call only.
    void Received(TConnectionId id, TPacketType type, const uint8_t* buf, int32_t count);
    // The connection gave a sign of life after TTableLink::Probe.
    void Answered(TConnectionId id);
    // The clock has reached the time asked for: fires every timer that is due, in order.
    void Tick();

    // Applies the "Hızlı" setting, in this order: ComputerMoveTimer 10 ms (else 1000; at
    // least the move source's ThinkMs),
    // TrickWinnerTimer 5 ms (500), TrickClearTimer 10 ms (1000), then TrickResolveTimer as
    // the sum of the two before it and the fixed 500 ms (515 or 2000). Running timers are
    // restarted with their new interval.
    void ApplyQuick(bool quick);
    // What the table needs to go on after a restart; and the table built from it again,
    // before any connection: the seats wait for their players (by key, or by name from
    // their address), and a game in progress goes on once one of them is back.
    TTableState State() const;
    void Restore(const TTableState& state);
    // The server is stopping: every player is told that the game goes on after it.
    void Closing();

    // Replaces the computer level; an answer the old one still owes is discarded.
    void SetMoveSource(std::unique_ptr<TMoveSource> source);
    // The name of the computer seats filled from now on (numbered 1..3 after it).
    void SetComputerName(const QByteArray& name) { computerName_ = name; }

    // ---- State, read-only ----
    const TGameInfo& GameInfo() const { return game_; }
    int SeatCount() const { return int(seats_.size()); }  // seats taken, 0..4
    int ComputerCount() const { return computerCount_; }   // of them computer seats
    const QList<SeatEntry>& Seats() const { return seats_; } // the taken seats, in seat order
    const TTableTimer& ComputerMoveTimer() const { return computerMoveTimer_; }
    const TTableTimer& TrickWinnerTimer() const { return trickWinnerTimer_; }
    const TTableTimer& TrickClearTimer() const { return trickClearTimer_; }
    const TTableTimer& TrickResolveTimer() const { return trickResolveTimer_; }
    const TTableTimer& TurnTimer() const { return turnTimer_; } // the awaited seat's time
    const TTurnClock& TurnClock() const { return turnClock_; }
    bool Locked() const { return locked_; } // the host took new players off
    // Where "LastHand.rvo" was last written; empty before the first broadcast.
    const QString& LastHandPath() const { return lastHandPath_; }
    // One line of the dealer's log: the zorbela.dealer category and the Event signal.
    void Log(const QString& line);
    // Whether the connection is being asked for a sign of life for its seat.
    bool Probed(TConnectionId id) const;
    // The seat of a connection, kNoSeat for one without a seat.
    int SeatOf(TConnectionId id) const;

    // ---- Watchers (tableaudience.cpp) ----
    // The connection watches the table from now on: it is sent every seat's name, the
    // record with no hand at all (only the trick and the taken cards), the end of every
    // trick, every chat line and the time left of a clocked turn; nothing it sends is acted on. It holds no seat and never
    // takes one; Disconnected (or Unwatch) ends it.
    void Watch(TConnectionId id);
    void Unwatch(TConnectionId id);
    int WatcherCount() const { return int(watchers_.size()); }
    const QByteArray& Code() const { return code_; }

signals:
    // One line for every connection, seat and game event, and for every message dropped
    // (English, for the dealer's log).
    void Event(const QString& line);

private:
    // What a player's or watcher's connection was last told of the seats (tablenews.cpp).
    struct TToldNews {
        QByteArray Names[kSeatCount];
        int Missing = -1;               // the host only
        bool Dropped[kSeatCount] = {};  // the computer plays the seat for its dropped player
    };
    struct TConnection {
        QString Host;
        quint16 Port = 0;
        qint64 JoinBy = -1; // closed then unless it holds a seat
        bool Refused = false;
    };
    struct TProbe {
        TConnectionId Old = kNoConnection;      // the seat's connection, asked
        TConnectionId Newcomer = kNoConnection; // who asks for the seat
        QByteArray Name;
        TJoinExtension Extension;
        qint64 Until = 0;
    };

    // table.cpp: connections, seats and time
    void Handle(TConnectionId id, TPacketType type, const uint8_t* buf, int32_t count); // of Received
    void JoinRequest(TConnectionId id, const uint8_t* buf, int32_t count);
    void StartNow();
    void AddSeat(SeatEntry entry);
    int FreeSeat() const;                     // the lowest seat not taken; kSeatCount for none
    void SendMissing();                       // STATUS_TEXT to the dealer's own user
    // TABLE_FULL, then the connection closes. `why` goes with it to our program only (a peer
    // without the extension reads an empty TABLE_FULL, as ever).
    void Refuse(TConnectionId id, const QString& why = {});
    QList<TConnectionId> HumanConnections() const; // live connections of the human seats
    TConnectionId OwnUser() const;            // the connection of seat 0, if live
    QString Peer(TConnectionId id) const;
    void Drop(const char* message, const QString& why);
    void Start(TTableTimer& timer);
    void Stop(TTableTimer& timer);
    void Reschedule();
    void Send(TConnectionId id, TPacketType type, const QByteArray& payload = {});
    void SendSeatName(TConnectionId id, int seat, const QString& name);
    void SendText(TConnectionId id, TPacketType type, const QString& text);
    void SendRecord(TConnectionId id);
    // tableaudience.cpp: the seated players' live connections and the watchers
    QList<TConnectionId> Audience() const;
    void SendWatchers(TPacketType type, const QByteArray& payload);
    // TURN_TIME to a player whose program knows it: the awaited seat and the time left
    // (0: no clock runs). Watchers are sent the same (they know the message: they asked to watch).
    QByteArray TurnTimeNow() const;
    void SendTurnTime(const SeatEntry& entry);
    void Changed() { ++version_; } // the record, or who plays a seat
    void Keep();                   // hands a changed state to the store
    // A restored table's seat whose player has not come back yet: the computer's move
    // for it waits until the grace after the restart is over.
    bool WaitsForReturn(const SeatEntry& entry);
    int ComputerPaceMs() const;    // between two computer actions

    // tabledrops.cpp: connections that close or never join
    void JoinTimeouts();
    void ProbeTimeouts();
    bool SeatDropped() const;                 // a human seat of a full table has no connection
    bool SeatFromSameAddress(TConnectionId id) const; // a live human seat's peer shares it
    void FreeSeatOf(int index);               // before the game: the seat is given up
    void ComputerTakesOver(SeatEntry& entry); // during the game: the computer plays it
    bool Rejoin(TConnectionId id, const QByteArray& name, const TJoinExtension& extension, bool probe = true);
    void HandOver(SeatEntry& entry, TConnectionId id, const TJoinExtension& extension);
    void StartProbe(const SeatEntry& entry, TConnectionId newcomer, const QByteArray& name,
                    const TJoinExtension& extension);
    void TellOthers(TConnectionId except, const QString& line); // skips backed-up links
    bool BackedUp(TConnectionId id) const
    {
        return link_.Backlog(id) >= kChatBacklogFrames || link_.BacklogBytes(id) >= kChatBacklogBytes;
    }

    // tablenews.cpp: what comings and goings tell the others
    void TellNews(bool force = false); // now while the budget lasts (or forced), else later
    void NewsTimeout();
    void FlushNews();
    // Sends (when send is set) what the connection was not told yet; whether there is any.
    bool SendNews(TConnectionId id, TToldNews& told, bool send);
    void MarkTold(TConnectionId id);   // the connection was just sent how things stand

    // tablehost.cpp: keys, private records, the host's saved games, a table left alone
    QByteArray JoinAcceptedPayload(const SeatEntry& entry) const;
    // Notes the seat's address and program; a new key when renew is set or it has none.
    void GiveKey(SeatEntry& entry, TConnectionId id, const TJoinExtension& extension, bool renew = false);
    SeatEntry* SeatOfKey(const TJoinExtension& extension);
    void HostMessage(TConnectionId id, uint8_t type, const uint8_t* buf, int32_t count);
    void SendGameFileResult(TConnectionId id, bool ok, const QString& text);
    bool EveryPlayerGone() const;             // a full table whose human seats have no connection

    // tableacts.cpp: the turn clock and the host's acts
    SeatEntry* EntryOf(int seat);
    QString NameOf(int seat) const;
    bool ComputerMovesFor(const SeatEntry& entry) const; // a computer seat, a dropped player, the clock
    void RestartTurnClock();                  // after every change of the record
    void TurnClockTick();
    void PlayerActs(int seat);                // a move or a chat line of the seat's player
    void SetTurnClock(const TTurnClockSetting& setting);
    void AnnounceTurnClock();
    void HostAct(TConnectionId id, uint8_t type, const uint8_t* buf, int32_t count);

    // tableflow.cpp: the course of a game
    void GameRecordMessage(int seat, const uint8_t* buf, int32_t count);
    void TakeLoadedGame(const TGameInfo& loaded);
    void ChatText(int seat, const uint8_t* buf, int32_t count);
    void NewGameMessage(int seat);
    void ContractChoice(int seat, const uint8_t* buf, int32_t count);
    void CardPlay(int seat, const uint8_t* buf, int32_t count);
    void WaitForPlayers(int seat);
    void ApplyMove(int seat, const TMove& move, const QString& who);
    void BroadcastGameRecord();
    void StartTrickTimers();
    void StopTrickTimers();
    void PaceComputer(); // starts the computer-move timer and asks the computer at once
    void AskComputer();
    void ComputerMayAct(); // the computer now plays a seat that may be the awaited one
    void ComputerMoveTick();
    void ComputerAnswer(quint64 ticket, int seat, const TMove& move);
    void TrickWinnerTick();
    void TrickClearTick();
    void TrickResolveTick();

    TTableLink& link_;
    TTableClock& clock_;
    TTableFiles& files_;
    TTableTimer computerMoveTimer_;
    TTableTimer trickWinnerTimer_;
    TTableTimer trickClearTimer_;
    TTableTimer trickResolveTimer_;
    TTableTimer turnTimer_;
    TTurnClock turnClock_;
    bool locked_ = false;
    bool quick_ = false;
    alignas(8) TGameInfo game_{}; // packed: aligned here so the rules may bind references to its numbers
    int computerCount_ = 0;
    QList<SeatEntry> seats_;
    QHash<TConnectionId, TConnection> connections_;
    std::vector<TProbe> probes_;
    TRandom ownRandom_; // the system's entropy, when no source is given
    TRandom* random_;
    int trickResolveExtraMs_;
    int joinTimeoutMs_;
    int probeMs_;
    QByteArray computerName_;
    bool openHands_;
    bool hostSendsRecords_;
    QString gamesFolder_;
    std::function<TSeatKey()> seatKeys_;
    qint64 newsCredit_ = qint64(kNewsBurst) * kNewsRefillMs; // the budget of tellings, in ms
    qint64 newsCreditAt_ = 0;
    qint64 newsAt_ = -1;     // when what waits is told; -1: nothing waits
    QHash<TConnectionId, TToldNews> told_; // of the players' and watchers' connections
    bool leftAlone_ = false; // every player has left a game in progress: the computers wait
    QString lastHandPath_;
    TTableStore* store_;
    TTableState kept_;       // what the store was handed last
    uint8_t level_;
    QString name_;
    bool default_;
    bool closed_ = false;    // the server stops: nothing changes the table any more
    qint64 graceUntil_ = -1; // a restored table's dropped seats wait for their players
    quint64 version_ = 1; // counts the changes of the record (and of who plays a seat)
    quint64 asked_ = 0;   // the version the computer was last asked about
    qint64 askedAt_ = 0;
    std::array<int, 32> thinkTimes_{}; // how long the last decisions took, in ms
    std::size_t thinkTimeAt_ = 0;
    bool answered_ = false; // it has answered, and answer_ holds the move unless refused
    std::optional<std::pair<int, TMove>> answer_; // seat and move, applied on the next tick
    bool ticking_ = false;
    QByteArray code_;
    QList<TConnectionId> watchers_;
    std::unique_ptr<TMoveSource> source_; // last: goes first, with any answer it still owes
};
