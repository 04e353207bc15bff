#include "autoplayer.h"

#include "computerplayer.h"

TAutoPlayer::TAutoPlayer(const QString& host, quint16 port, const QString& name, uint32_t seed)
    : random_(seed)
{
    Session.UserName = name;
    QObject::connect(&Session, &TSession::disconnected, [this] { Disconnected = true; });
    QObject::connect(&Session, &TSession::recordChanged, [this] {
        Records.push_back(Session.Record());
        Act(Session.Record());
    });
    QObject::connect(&Session, &TSession::joinAccepted, [this](int seat, const QString&) { Seat = seat; });
    QObject::connect(&Session, &TSession::seatName, [this](int seat, const QString&) {
        ++SeatNames;
        if (seat == kSeatCount - 1 && OnTableComplete)
            OnTableComplete(*this);
    });
    QObject::connect(&Session, &TSession::trickTaker, [this](int seat) { Takers.push_back(uint8_t(seat)); });
    QObject::connect(&Session, &TSession::trickClear, [this] { ++Clears; });
    QObject::connect(&Session, &TSession::chat, [this] { ++Chats; });
    QObject::connect(&Session, &TSession::tableFull, [this] { ++Others; });
    QObject::connect(&Session, &TSession::unknownPacket, [this] { ++Others; });
    Link.SetHost(host);
    Link.SetPort(port);
    Session.Open();
}

void TAutoPlayer::Act(const TGameInfo& g)
{
    if (Paused || !Session.Seated())
        return;
    if (g.Phase == psGameOver) {
        if (RestartWhenOver && Seat == 0)
            Session.SendNewGame();
        return;
    }
    if (Awaited(g, Seat) == TMove::TKind::None)
        return;
    TComputerPlayer me;
    const TMove move = ComputerChoice(me, Seat, g, random_);
    if (CheckMove(g, Seat, move) != TRefusal::None)
        return;
    if (move.Kind == TMove::TKind::Contract)
        Session.SendContractChoice(move.Contract);
    else
        Session.SendCardPlay(move.Suit, move.Value);
    ++Moves;
}
