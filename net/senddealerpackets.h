// The dealer's messages, one sender per message, each to one connection of the dealer's
// server socket (a message for every human player is sent once per connection). Each
// builds its payload, queues one frame and returns at once; for a connection that is gone
// nothing is sent.
#pragma once

#include <cstdint>

#include <QString>
#include <QTcpSocket>

#include "gameinfo.h"
#include "serverpacketsocket.h"

void SendGameRecord(TServerPacketSocket& server, QTcpSocket* connection, const TGameInfo& record); // GAME_RECORD
void SendChatText(TServerPacketSocket& server, QTcpSocket* connection, const QString& text); // CHAT_TEXT
void SendJoinAccepted(TServerPacketSocket& server, QTcpSocket* connection, uint8_t seat,
                      const QString& text);                                              // JOIN_ACCEPTED
void SendStatusText(TServerPacketSocket& server, QTcpSocket* connection, const QString& text); // STATUS_TEXT
void SendSeatName(TServerPacketSocket& server, QTcpSocket* connection, uint8_t seat,
                  const QString& name);                                                  // SEAT_NAME
void SendTableFull(TServerPacketSocket& server, QTcpSocket* connection);                 // TABLE_FULL
void SendTrickTaker(TServerPacketSocket& server, QTcpSocket* connection, uint8_t seat);  // TRICK_TAKER
void SendTrickClear(TServerPacketSocket& server, QTcpSocket* connection);                // TRICK_CLEAR
