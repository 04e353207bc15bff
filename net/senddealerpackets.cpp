#include "senddealerpackets.h"

#include "payload.h"

namespace {

void Send(TServerPacketSocket& server, QTcpSocket* connection, TPacketType type,
          const TPayloadWriter& payload)
{
    server.PacketMakeAndSend(connection, type, payload.Data(), payload.Size());
}

} // namespace

void SendGameRecord(TServerPacketSocket& server, QTcpSocket* connection, const TGameInfo& record)
{
    Send(server, connection, GAME_RECORD, TPayloadWriter().Record(record));
}

void SendChatText(TServerPacketSocket& server, QTcpSocket* connection, const QString& text)
{
    Send(server, connection, CHAT_TEXT, TPayloadWriter().Text(text));
}

void SendJoinAccepted(TServerPacketSocket& server, QTcpSocket* connection, uint8_t seat,
                      const QString& text)
{
    Send(server, connection, JOIN_ACCEPTED, TPayloadWriter().Byte(seat).Text(text));
}

void SendStatusText(TServerPacketSocket& server, QTcpSocket* connection, const QString& text)
{
    Send(server, connection, STATUS_TEXT, TPayloadWriter().Text(text));
}

void SendSeatName(TServerPacketSocket& server, QTcpSocket* connection, uint8_t seat,
                  const QString& name)
{
    Send(server, connection, SEAT_NAME, TPayloadWriter().Byte(seat).Text(name));
}

void SendTableFull(TServerPacketSocket& server, QTcpSocket* connection)
{
    server.PacketMakeAndSend(connection, TABLE_FULL, nullptr, 0);
}

void SendTrickTaker(TServerPacketSocket& server, QTcpSocket* connection, uint8_t seat)
{
    Send(server, connection, TRICK_TAKER, TPayloadWriter().Byte(seat));
}

void SendTrickClear(TServerPacketSocket& server, QTcpSocket* connection)
{
    server.PacketMakeAndSend(connection, TRICK_CLEAR, nullptr, 0);
}
