// The player's end of a connection to a table, as the session sees it: it sends messages
// through it and hears from it what happened. The TCP link connects to a dealer over the
// network; the table's in-process adapter offers a link of its own.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include "packet.h"

class TSessionLink : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Starts connecting, dropping a current connection first.
    virtual void Open() = 0;
    // Drops the connection; disconnected() follows if it was connected.
    virtual void Close() = 0;
    // Connecting or connected.
    virtual bool Active() const = 0;
    // Queues one message to the table; nothing without a connection.
    virtual void Send(TPacketType type, const QByteArray& payload) = 0;
    // The table's host as the player named it.
    virtual QString Host() const = 0;
    // Where the next Open connects. A link to a table in process reaches its one table
    // whatever it is told.
    virtual void SetAddress(const QString& /*host*/, quint16 /*port*/) {}
    virtual quint16 Port() const { return kGamePort; }
    // Why the last attempt failed (once connectFailed was told).
    virtual TLinkFailure Failure() const { return TLinkFailure::Unreachable; }

signals:
    void connecting();
    void connected();
    // An attempt ended without a connection (after the transport's own report).
    void connectFailed();
    void disconnected();
    // One message of the table, its payload copied.
    void received(TPacketType type, const QByteArray& payload);
};
