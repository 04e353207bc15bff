#include "autoplayer.h"

#include "computerplayer.h"
#include "payload.h"
#include "sendplayerpackets.h"

TAutoPlayer::TAutoPlayer(const QString& host, quint16 port, const QString& name, uint32_t seed)
    : random_(seed)
{
    Socket.OnMessage = [](const QString&) {};
    Socket.OnConnect = [this, name](QTcpSocket*) { SendJoinRequest(Socket, name); };
    Socket.OnDisconnect = [this](QTcpSocket*) { Disconnected = true; };
    Socket.OnPacketRead = [this](QTcpSocket*, TPacketType type, const uint8_t* buf, int32_t count) {
        Read(type, buf, count);
    };
    Socket.Open(host, port);
}

void TAutoPlayer::Read(TPacketType type, const uint8_t* buf, int32_t count)
{
    uint8_t seat = kNone;
    QString text;
    switch (type) {
    case GAME_RECORD: {
        TGameInfo g;
        if (!ReadGameRecord(buf, count, g))
            return;
        Records.push_back(g);
        Act(g);
        return;
    }
    case JOIN_ACCEPTED:
        if (ReadJoinAccepted(buf, count, seat, text))
            Seat = seat;
        return;
    case SEAT_NAME:
        if (ReadSeatName(buf, count, seat, text) && seat == 3 && OnTableComplete)
            OnTableComplete(*this);
        return;
    case TRICK_TAKER:
        if (ReadTrickTaker(buf, count, seat))
            Takers.push_back(seat);
        return;
    case TRICK_CLEAR:
        ++Clears;
        return;
    case CHAT_TEXT:
        ++Chats;
        return;
    case STATUS_TEXT:
        return;
    default:
        ++Others;
        return;
    }
}

void TAutoPlayer::Act(const TGameInfo& g)
{
    if (Paused || Seat < 0)
        return;
    if (g.Phase == psGameOver) {
        if (RestartWhenOver && Seat == 0)
            SendNewGame(Socket);
        return;
    }
    const bool choosing = g.Phase == psChoosing && g.Chooser == Seat;
    const bool playing = g.Phase == psPlaying && g.Turn == Seat && g.TrickCount < 4;
    if (!choosing && !playing)
        return;
    TGameInfo copy = g;
    TComputerPlayer me;
    const int acted = ComputerMove(me, Seat, copy, random_);
    if (acted == 2) {
        SendContractChoice(Socket, copy.Contract);
        ++Moves;
    } else if (acted == 1) {
        SendCardPlay(Socket, uint8_t(Seat), copy.TrickSuit[g.TrickCount], copy.TrickValue[g.TrickCount]);
        ++Moves;
    }
}
