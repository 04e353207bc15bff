// The player's side of the connection to a table, without any window: the copy of the game
// record, the seat, and every message in and out. It decodes each message of the table
// once and tells what it meant through its signals; it sends through a link, over TCP to a
// dealer or in process to a local table.
//
//   TTcpLink link;
//   TSession session(link);
//   connect(&session, &TSession::recordChanged, view, &TView::Redraw);
//   link.SetHost("localhost");
//   session.UserName = "Ayşe";
//   session.Open();                // JOIN_REQUEST follows every connection
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>

#include "extension.h"
#include "gameinfo.h"
#include "sessionlink.h"
#include "tablemessages.h"

class TSession : public QObject {
    Q_OBJECT
public:
    // The link must outlive the session.
    explicit TSession(TSessionLink& link, QObject* parent = nullptr);

    // ---- Connection ----
    TSessionLink& Link() { return link_; }
    void Open() { link_.Open(); }
    void Close() { link_.Close(); }
    bool Active() const { return link_.Active(); }
    QString Host() const { return link_.Host(); }

    // ---- State ----
    TGameInfo& Record() { return record_; }
    const TGameInfo& Record() const { return record_; }
    // Own seat from JOIN_ACCEPTED; kNoSeat while not seated.
    int MySeat = kNoSeat;
    bool Seated() const { return MySeat != kNoSeat; }
    // A card has been sent and no record has arrived since.
    bool CardSent = false;
    // A contract has been sent and no record has arrived since.
    bool ContractSent = false;
    // The highest seat named so far (a seat given up lowers it): 3 once the table is complete.
    uint8_t NamedSeat = 0;
    // This copy runs the dealer.
    bool IsDealer = false;
    // The key of the seat to take back, sent with JOIN_REQUEST (all zero: none).
    TSeatKey JoinKey{};
    // What the dealer's JOIN_ACCEPTED said of itself and of the seat (all zero from a dealer
    // that adds nothing to it); cleared at every new connection.
    TJoinExtension Joined;
    // This seat runs the table: the dealer is this copy, or the dealer made it the host.
    bool IsHost() const { return IsDealer || (Joined.Flags & TJoinExtension::kHost) != 0; }
    // The records of the dealer hold the other hands as the unseen cards, not as dealt.
    bool PrivateHands() const { return (Joined.Flags & TJoinExtension::kPrivateHands) != 0; }
    // The dealer handles the saved-game messages (saving and loading on its machine).
    bool DealerKeepsGames() const { return (Joined.Flags & TJoinExtension::kKnowsMessages) != 0; }
    // The player's name as sent in JOIN_REQUEST.
    QString UserName;
    // The seat as a byte (kNoSeat while not seated), for those that keep a reference to it.
    const uint8_t& SeatByte() const { return seatByte_; }
    // Not seated (nor watching) any more; the table's code is forgotten too, so that the
    // next connection the user makes asks a server of many tables for its list.
    void ForgetSeat();
    // A fresh record (InitGameInfo over zeros), as after "Yeni Oyuncuları Bekle".
    void ResetRecord();

    // ---- A server of many tables ----
    // The table to join (its invite code; empty: the server's default table, or, with
    // TablesFirst, the server's list first). A dealer of one table seats the program as ever.
    QByteArray TableCode;
    // Ask a server of many tables for its list before taking any seat (the join block says
    // so; a dealer of one table, which does not read it, seats the program as ever).
    bool TablesFirst = false;
    // The server sent its list of tables: it has many.
    bool ServerHasTables() const { return serverHasTables_; }
    // At such a server, at no table: the list came, the lobby's connection is closed.
    bool InLobby() const { return serverHasTables_ && !Seated() && !watching_; }
    // Watching a table: no seat, records without hands, and nothing sent but LIST_TABLES.
    bool Watching() const { return watching_; }
    // The code of the table the session is at (joined or watched); empty at a dealer of one table.
    QByteArray AtTable() const { return watching_ ? TableCode : Joined.TableCode; }
    // The list again: on the connection there is, or on a new one (the lobby's).
    void ListTables();
    // A new connection that creates a table and joins it (as its host), joins the table of
    // that code, or watches it. The seat held now, if any, is left.
    void CreateTable(const TTableSettings& settings);
    void JoinTable(const QByteArray& code);
    void WatchTable(const QByteArray& code);
    // The host's acts; the table checks the right and tells everyone.
    void SendSeatToComputer(int seat);
    void SendRemovePlayer(int seat);
    void SendLockTable(bool locked);
    void SendTurnClock(int cardS, int contractS);

    // ---- Messages from the table ----
    // Handles one received message; a payload shorter than its type needs is ignored.
    void HandlePacket(TPacketType type, const QByteArray& payload);

    // ---- Messages to the table ----
    void SendJoinRequest();
    void SendCardPlay(uint8_t suit, uint8_t value); // also sets CardSent
    void SendContractChoice(uint8_t contract);      // also sets ContractSent
    void SendChatLine(const QString& line);         // the user name, "> " and the line
    void SendStartNow();
    void SendNewGame();
    void SendGameRecord(const TGameInfo& g);
    void SendWaitForPlayers();
    // Saved games on the dealer's machine; nothing is sent to a dealer that does not keep them.
    void SendSaveGame(const QString& name);
    void SendLoadGame(const QString& name);
    void SendListGames();

signals:
    void connecting();
    void connected(); // JOIN_REQUEST has been sent
    void connectFailed();
    void disconnected();
    void recordChanged(); // GAME_RECORD: the copy was replaced
    void chat(const QString& text);
    void joinAccepted(int seat, const QString& text);
    void statusText(const QString& text);
    void seatName(int seat, const QString& name);
    // Refused: reason is empty for a full or locked table, or the server's text (a table's
    // code that is not there).
    void tableFull(const QString& reason);
    void trickTaker(int seat);
    void trickClear();
    void unknownPacket();
    // The server's turn clock: the awaited seat (kNoSeat: none) has msLeft milliseconds for its
    // move (0: no clock runs).
    void turnTime(int seat, int msLeft);
    void gameList(const QStringList& names);           // the dealer's saved games
    void gameFileResult(bool ok, const QString& text); // a save or load done
    // The server's tables (TABLE_LIST).
    void tableList(const QList<TTableListing>& tables);
    // TABLE_CREATED and WATCHING: ok and the code, or the server's refusal.
    void tableCreated(bool ok, const QString& codeOrRefusal);
    void watching(bool ok, const QString& codeOrRefusal);
    // Every message handed to the link, by type.
    void sent(TPacketType type);
    // A new connection for a table the user chose (the list, a new table, a code, watching).
    void reopening();

private:
    enum class TOpening { Join, Create, Watch };
    void Send(TPacketType type, const QByteArray& payload = {});
    void Opened();
    void Reopen(TOpening opening);
    void TableAnswer(TPacketType type, const QByteArray& payload);

    TSessionLink& link_;
    alignas(8) TGameInfo record_; // packed: aligned here so the rules may bind references to its numbers
    uint8_t seatByte_ = kNoSeat;
    TOpening opening_ = TOpening::Join; // what the next connection sends first
    TTableSettings creating_;
    bool serverHasTables_ = false;
    bool watching_ = false;
    bool listOnly_ = false; // this connection asked only for the list of tables
};
