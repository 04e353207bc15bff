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
    // Not seated any more.
    void ForgetSeat();
    // A fresh record (InitGameInfo over zeros), as after "Yeni Oyuncuları Bekle".
    void ResetRecord();

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
    void tableFull();
    void trickTaker(int seat);
    void trickClear();
    void unknownPacket();
    // The server's turn clock: the awaited seat (-1: none) has msLeft milliseconds for its
    // move (0: no clock runs).
    void turnTime(int seat, int msLeft);
    void gameList(const QStringList& names);           // the dealer's saved games
    void gameFileResult(bool ok, const QString& text); // a save or load done
    // Every message handed to the link, by type.
    void sent(TPacketType type);

private:
    void Send(TPacketType type, const QByteArray& payload = {});

    TSessionLink& link_;
    alignas(8) TGameInfo record_; // packed: aligned here so the rules may bind references to its numbers
    uint8_t seatByte_ = kNoSeat;
};
