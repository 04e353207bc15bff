#include "sendplayerpackets.h"

#include "payload.h"

namespace {

void Send(TClientPacketSocket& socket, TPacketType type, const TPayloadWriter& payload)
{
    socket.PacketMakeAndSend(type, payload.Data(), payload.Size());
}

void SendEmpty(TClientPacketSocket& socket, TPacketType type)
{
    socket.PacketMakeAndSend(type, nullptr, 0);
}

} // namespace

void SendGameRecord(TClientPacketSocket& socket, const TGameInfo& record)
{
    Send(socket, GAME_RECORD, TPayloadWriter().Record(record));
}

void SendChatText(TClientPacketSocket& socket, const QString& text)
{
    Send(socket, CHAT_TEXT, TPayloadWriter().Text(text));
}

void SendNewGame(TClientPacketSocket& socket)
{
    SendEmpty(socket, NEW_GAME);
}

void SendStartNow(TClientPacketSocket& socket)
{
    SendEmpty(socket, START_NOW);
}

void SendContractChoice(TClientPacketSocket& socket, uint8_t contract)
{
    Send(socket, CONTRACT_CHOICE, TPayloadWriter().Byte(contract));
}

void SendCardPlay(TClientPacketSocket& socket, uint8_t seat, uint8_t suit, uint8_t value)
{
    Send(socket, CARD_PLAY, TPayloadWriter().Byte(seat).Byte(suit).Byte(value));
}

void SendJoinRequest(TClientPacketSocket& socket, const QString& name)
{
    Send(socket, JOIN_REQUEST, TPayloadWriter().Text(name));
}

void SendWaitForPlayers(TClientPacketSocket& socket)
{
    SendEmpty(socket, WAIT_FOR_PLAYERS);
}
