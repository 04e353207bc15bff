// The player's side of the connection to the dealer, without any window: the socket
// "PlayerSocket", the copy of the game record, the seat, and every message in and out.
// The main window listens to the notifications below and turns them into pictures.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>

#include "clientpacketsocket.h"
#include "extension.h"
#include "gameinfo.h"

class TClientSession : public QObject {
    Q_OBJECT
public:
    explicit TClientSession(QObject* parent = nullptr);
    ~TClientSession();
    TClientSession(const TClientSession&) = delete;
    TClientSession& operator=(const TClientSession&) = delete;

    // ---- Connection ----
    TClientPacketSocket& PlayerSocket() { return socket_; }
    void SetHost(const QString& host) { socket_.SetHost(host); }
    QString Host() const { return socket_.Host(); }
    void SetPort(quint16 port) { socket_.SetPort(port); }
    void Open() { socket_.Open(); }
    void Close() { socket_.Close(); }

    // ---- State ----
    TGameInfo& Record() { return record_; }
    const TGameInfo& Record() const { return record_; }
    // Own seat from JOIN_ACCEPTED; -1 while not seated.
    int8_t MySeat = -1;
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
    // The seat as the contract dialog wants it (a byte, 255 while not seated); it follows
    // MySeat.
    const uint8_t& SeatByte() const { return seatByte_; }
    // Not seated any more: MySeat -1 and the seat byte 255.
    void ForgetSeat();
    // A fresh record (InitGameInfo over zeros), as after "Yeni Oyuncuları Bekle".
    void ResetRecord();

    // ---- Messages from the dealer ----
    // Handles one received message; a payload shorter than its type needs is ignored.
    void HandlePacket(TPacketType type, const uint8_t* buf, int32_t count);

    // ---- Messages to the dealer ----
    void SendJoinRequest();
    void SendCardPlay(uint8_t suit, uint8_t value);
    void SendContractChoice(uint8_t contract);
    void SendChatLine(const QString& line); // the user name, "> " and the line
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
    void connected();
    void disconnected();
    // A connection attempt ended without a connection (after the transport's own text);
    // socketError is the QAbstractSocket::SocketError that ended it.
    void connectFailed(int socketError);
    void recordArrived(); // GAME_RECORD: the copy was replaced
    void chat(const QString& text);
    void joinAccepted(int seat, const QString& text);
    void statusText(const QString& text);
    void seatName(int seat, const QString& name);
    void tableFull();
    void trickTaker(int seat);
    void trickClear();
    void unknownPacket();
    void gameList(const QStringList& names);             // the dealer's saved games
    void gameFileResult(bool ok, const QString& text);   // a save or load done
    // Every message handed to the socket, by type (for the window's tests and traces).
    void sent(TPacketType type);

private:
    void SendExtension(TPacketType type, const QByteArray& payload);

    TClientPacketSocket socket_;
    TGameInfo record_;
    uint8_t seatByte_ = kNone;
};
