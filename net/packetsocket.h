// What both packet sockets share: the event types, the game's TCP port and the texts of
// socket errors.
//
// Events are plain std::function members: assign a lambda, leave empty to ignore. Every
// event is raised on the thread that created the socket component (the user-interface
// thread in the program), from its event loop.
#pragma once

#include <cstdint>
#include <functional>

#include <QString>
#include <QTcpSocket>

#include "packet.h"

class TPacketThread;

// One data frame received: the connection's socket, the frame's type, its payload and the
// payload's length (may be 0). buf stays valid only during the call; copy what you need.
// Every frame is acknowledged before its event is raised. A handler may close the
// connection or the whole component; no further event of that read is raised then.
using TPacketReadEvent =
    std::function<void(QTcpSocket* socket, TPacketType type, const uint8_t* buf, int32_t count)>;
// Connect, disconnect and similar notifications of one connection.
using TSocketEvent = std::function<void(QTcpSocket* socket)>;
// A message for the user (socket errors and transport faults, fixed English texts). Every
// one is logged in the category "zorbela.net" (netlog.h) first; when a component's
// OnMessage is empty, it then goes to Notify() of rules/notify.h, whose notifier returns at
// once (the program shows it later, from its own event loop). A handler must not run an
// event loop either.
using TNetMessageEvent = std::function<void(const QString& text)>;

enum TErrorEvent : int {
    eeGeneral = 0,
    eeSend = 1,
    eeReceive = 2,
    eeConnect = 3,
    eeDisconnect = 4,
    eeAccept = 5,
};

// componentName followed by the text of the error event; empty for unknown events.
QString SocketErrorText(const QString& componentName, int errorEvent);
// Which error event a socket error stands for; -1 for errors that are not reported (the
// peer closing the connection is an ordinary disconnection).
int ErrorEventFor(QAbstractSocket::SocketError error, bool connecting);

// Whether a payload may go into a data frame: 0 to kMaxPayloadSize bytes, and bytes behind
// a count above 0.
bool IsSendablePayload(const void* buf, int32_t count);

// How a read of one connection ended.
enum class TReadEnd { Drained, Gone, Broken };
// Reads what the connection's socket holds and hands every complete data frame to handler,
// again and again until no bytes are left: bytes that arrive while a handler shows a box
// raise no read event of their own (none is raised inside this one). stillOwned says whether
// the thread still belongs to the socket after a handler ran (a handler may close the
// connection or the whole component); Gone when it does not, Broken when the link gave up
// on the stream (see TPacketLink::Broken).
TReadEnd DeliverIncoming(TPacketThread& thread, QTcpSocket* socket, const TPacketReadEvent& handler,
                         const std::function<bool()>& stillOwned);
