// The player's messages to the dealer, one sender per message, all through the player's
// client socket. Each builds its payload, queues one frame and returns at once; without a
// connection nothing is sent.
#pragma once

#include <cstdint>

#include <QString>

#include "clientpacketsocket.h"
#include "gameinfo.h"

void SendGameRecord(TClientPacketSocket& socket, const TGameInfo& record);      // GAME_RECORD
void SendChatText(TClientPacketSocket& socket, const QString& text);            // CHAT_TEXT
void SendNewGame(TClientPacketSocket& socket);                                  // NEW_GAME
void SendStartNow(TClientPacketSocket& socket);                                 // START_NOW
void SendContractChoice(TClientPacketSocket& socket, uint8_t contract);         // CONTRACT_CHOICE
void SendCardPlay(TClientPacketSocket& socket, uint8_t seat, uint8_t suit, uint8_t value); // CARD_PLAY
void SendJoinRequest(TClientPacketSocket& socket, const QString& name);         // JOIN_REQUEST
void SendWaitForPlayers(TClientPacketSocket& socket);                           // WAIT_FOR_PLAYERS
