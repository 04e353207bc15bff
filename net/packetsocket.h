// What both packet sockets share: their signals for frames and transport messages, the
// game's TCP port and the texts of socket errors.
//
// Every signal is emitted on the thread that created the socket component (the
// user-interface thread in the program), from its event loop. A listener may close a
// connection or the whole component, but never destroy the component inside one of its
// signals (deleteLater() it instead).
#pragma once

#include <cstdint>

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTcpSocket>

#include "packet.h"

class TPacketThread;

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

class TPacketSocket : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Logs a transport message in the category "zorbela.net" (netlog.h) and emits it with
    // message(); an empty text is neither.
    void ShowMessage(const QString& text);

signals:
    // One data frame received on a connection: its type and its payload (may be empty).
    // Every frame is acknowledged before it is told. When a listener closes the connection
    // or the component, no further frame of that read is told.
    void packetRead(QTcpSocket* socket, TPacketType type, const QByteArray& payload);
    // A message for the user (socket errors and transport faults, fixed English texts),
    // already logged. Nothing is shown unless the owner shows it; a listener must not run
    // an event loop.
    void message(const QString& text);

protected:
    // Reads what the connection's socket holds and tells every complete data frame through
    // packetRead, again and again until no bytes are left: bytes that arrive while a
    // listener runs an event loop raise no read event of their own (none is raised inside
    // this one). Gone when a listener dropped the connection (its thread was handed to
    // TPacketThread::DestroyLater), Broken when the link gave up on the stream (see
    // TPacketLink::Broken).
    TReadEnd DeliverIncoming(TPacketThread& thread, QTcpSocket* socket);
};
