// A player without a window: a session over TCP that joins a dealer, records what the
// dealer sends, and lets the computer player choose for its own seat on its own copy of
// every record, sending the move the rules allow as a user's move would be sent.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include <QString>

#include "cards.h"
#include "gameinfo.h"
#include "session.h"
#include "tcplink.h"

class TAutoPlayer {
public:
    // Connects to host:port and sends JOIN_REQUEST with name once connected. seed drives
    // the computer player's contract choice on this copy.
    TAutoPlayer(const QString& host, quint16 port, const QString& name, uint32_t seed);

    TTcpLink Link;
    TSession Session{Link};
    int Seat = kNoSeat;                    // from JOIN_ACCEPTED
    bool Disconnected = false;
    bool Paused = false;                   // true: receives, but makes no move
    bool RestartWhenOver = false;          // seat 0: a new game after the end of one
    std::vector<TGameInfo> Records;        // every GAME_RECORD, in order of arrival
    std::vector<uint8_t> Takers;           // every TRICK_TAKER, in order
    int Clears = 0;                        // TRICK_CLEAR messages
    int Chats = 0;                         // CHAT_TEXT messages
    int SeatNames = 0;                     // SEAT_NAME messages
    int Others = 0;                        // any other message (TABLE_FULL, unknown types)
    int Moves = 0;                         // contracts and cards sent

    // Raised when this player's copy learns that seat 3 is named: the table is complete
    // (the dealer's own user then starts a game or loads one).
    std::function<void(TAutoPlayer&)> OnTableComplete;

    const TGameInfo* Last() const { return Records.empty() ? nullptr : &Records.back(); }

private:
    void Act(const TGameInfo& g);

    TRandom random_;
};
