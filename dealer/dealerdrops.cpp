// Connections that close or never join: a seat is freed while the table is still being
// filled, played by the computer once it is full and taken back by a player of its name;
// a connection that does not join in time is closed.
#include <cstring>

#include <QVariant>

#include "cp1254.h"
#include "dealerthread.h"
#include "seatnames.h"
#include "senddealerpackets.h"

void TDealerThread::StartJoinTimeout(QTcpSocket* connection)
{
    // The timer goes with the connection; the dealer deletes it when it goes first.
    QPointer<QTcpSocket> guarded(connection);
    auto* timer = new QTimer(connection);
    timer->setSingleShot(true);
    connectionTimers_.removeAll(nullptr);
    connectionTimers_.append(timer);
    QObject::connect(timer, &QTimer::timeout, connection, [this, guarded] {
        if (!guarded || SeatOf(guarded) >= 0 || Refused(guarded))
            return;
        Log(QStringLiteral("closing %1: no join within %2 ms").arg(Peer(guarded)).arg(joinTimeoutMs_));
        socket_.CloseConnection(guarded);
    });
    timer->start(joinTimeoutMs_);
}

void TDealerThread::CloseUnacknowledging()
{
    QList<QPointer<QTcpSocket>> late;
    for (int i = 0; i < socket_.ActiveConnections(); ++i) {
        QTcpSocket* connection = socket_.Connection(i);
        const TPacketThread* thread = socket_.GetServerPacketThread(connection);
        if (thread && thread->Link().OutgoingAgeMs() > ackTimeoutMs_)
            late.append(connection);
    }
    for (const QPointer<QTcpSocket>& connection : late) {
        if (!connection)
            continue;
        Log(QStringLiteral("closing %1: no ACK for %2 ms").arg(Peer(connection)).arg(ackTimeoutMs_));
        socket_.CloseConnection(connection); // its seat goes as any closed connection's
    }
}

bool TDealerThread::SeatDropped() const
{
    if (seatCount_ < 4)
        return false;
    for (const SeatEntry& entry : seats_)
        if (entry.Kind == SeatEntry::Human && !entry.Connection)
            return true;
    return false;
}

void TDealerThread::TellOthers(const QTcpSocket* except, const QString& line)
{
    for (QTcpSocket* connection : HumanConnections())
        if (connection != except)
            SendChatText(socket_, connection, line);
}

void TDealerThread::FreeSeatOf(int index)
{
    const SeatEntry entry = seats_.takeAt(index);
    seatCount_ = int(seats_.size());
    Log(QStringLiteral("seat %1 (%2) left before the game; the seat is free")
            .arg(entry.Seat)
            .arg(FromCp1254(entry.Name)));
    std::memset(game_.PlayerName[entry.Seat], 0, kNameSize);
    for (QTcpSocket* connection : HumanConnections())
        SendSeatName(socket_, connection, entry.Seat, QString());
    SendMissing();
}

void TDealerThread::ComputerTakesOver(SeatEntry& entry)
{
    entry.Connection = nullptr;
    const QString name = FromCp1254(SeatNameInRecord(game_, entry.Seat));
    Log(QStringLiteral("seat %1 (%2) lost its connection; the computer plays it").arg(entry.Seat).arg(name));
    TellOthers(nullptr, QStringLiteral("%1 bağlantısı koptu, yerine bilgisayar oynuyor.").arg(name));
    // The seat may be the one awaited now: the next tick lets the computer act for it.
    if ((game_.Phase == psChoosing || game_.Phase == psPlaying) && !computerMoveTimer_.isActive())
        computerMoveTimer_.start();
}

bool TDealerThread::SeatFromSameAddress(const QTcpSocket* connection) const
{
    const QHostAddress address = PeerAddress(connection);
    for (const SeatEntry& entry : seats_)
        if (entry.Kind == SeatEntry::Human && entry.Connection && entry.Connection != connection &&
            PeerAddress(entry.Connection) == address)
            return true;
    return false;
}

bool TDealerThread::Rejoin(QTcpSocket* connection, const QByteArray& name, bool probe)
{
    const QByteArray wanted = FitSeatName(name);
    // A dropped seat first; then a seat whose connection from the same address was lost
    // without the dealer noticing yet.
    SeatEntry* found = nullptr;
    for (const bool live : {false, true}) {
        for (SeatEntry& entry : seats_) {
            if (entry.Kind != SeatEntry::Human || bool(entry.Connection) != live)
                continue;
            if (live && PeerAddress(entry.Connection) != PeerAddress(connection))
                continue;
            // The name asked for at the first join, the unique one given, or the one a
            // loaded game shows at the seat.
            const QByteArray shown = SeatNameInRecord(game_, entry.Seat);
            if (wanted == entry.Requested || wanted == entry.Name || wanted == shown) {
                found = &entry;
                break;
            }
        }
        if (found)
            break;
    }
    if (found && found->Connection && probe && probeMs_ > 0) {
        // A seat whose connection still answers is never handed over: ask it for a sign
        // of life first.
        StartProbe(*found, connection, name);
        return true;
    }
    if (found) {
        HandOver(*found, connection);
        return true;
    }
    Log(QStringLiteral("no seat to take back under that name: refusing %1").arg(Peer(connection)));
    return false;
}

void TDealerThread::HandOver(SeatEntry& entry, QTcpSocket* connection)
{
    const QByteArray shown = SeatNameInRecord(game_, entry.Seat);
    const bool dropped = !entry.Connection;
    if (QTcpSocket* old = entry.Connection.data()) {
        // The seat is handed over without a word to the others: it never looked dropped.
        Log(QStringLiteral("seat %1 (%2): its old connection %3 is replaced")
                .arg(entry.Seat)
                .arg(FromCp1254(shown), Peer(old)));
        entry.Connection = nullptr;
        socket_.CloseConnection(old);
    }
    entry.Connection = connection;
    ++version_; // a computer's answer for the seat is not wanted any more
    Log(QStringLiteral("seat %1 (%2) taken back by %3").arg(entry.Seat).arg(FromCp1254(shown), Peer(connection)));
    for (int k = 0; k < 4; ++k)
        SendSeatName(socket_, connection, uint8_t(k), FromCp1254(SeatNameInRecord(game_, k)));
    SendJoinAccepted(socket_, connection, entry.Seat,
                     QStringLiteral("Oyuna katıldın (%1. oyuncu olarak)").arg(entry.Seat + 1));
    // Before the first deal nobody has been sent a record.
    if (game_.Phase != psWaiting)
        SendGameRecord(socket_, connection, game_);
    if (dropped)
        TellOthers(connection, QStringLiteral("%1 oyuna geri döndü.").arg(FromCp1254(shown)));
}

void TDealerThread::StartProbe(const SeatEntry& entry, QTcpSocket* newcomer, const QByteArray& name)
{
    QTcpSocket* old = entry.Connection.data();
    Log(QStringLiteral("seat %1: %2 asks for it under its name; asking %3 for a sign of life")
            .arg(entry.Seat)
            .arg(Peer(newcomer), Peer(old)));
    // Every peer answers a CRCERROR naming ACK by repeating its last ACK. The probe goes
    // with the newcomer's connection; the old one's answer or its silence decides.
    auto* probe = new QTimer(newcomer);
    probe->setSingleShot(true);
    probe->setProperty("probed", QVariant::fromValue(static_cast<QObject*>(old)));
    probes_.removeAll(nullptr);
    probes_.append(probe);
    const QPointer<QTcpSocket> guardedNew(newcomer);
    const QPointer<QTcpSocket> guardedOld(old);
    const int seat = entry.Seat;
    QObject::connect(old, &QTcpSocket::readyRead, probe, [this, probe, guardedNew, guardedOld, seat] {
        if (!probe->isActive())
            return;
        probe->stop();
        probe->deleteLater();
        if (!guardedNew)
            return;
        Log(QStringLiteral("seat %1: %2 answered; the seat stays with it")
                .arg(seat)
                .arg(guardedOld ? Peer(guardedOld) : QStringLiteral("its connection")));
        RefuseConnection(guardedNew);
    });
    QObject::connect(probe, &QTimer::timeout, probe, [this, probe, guardedNew, name] {
        probe->deleteLater();
        if (guardedNew && SeatOf(guardedNew) < 0 && !Rejoin(guardedNew, name, false))
            RefuseConnection(guardedNew);
    });
    old->write(BuildControlFrame(CRCERROR, ACK));
    probe->start(probeMs_);
}

bool TDealerThread::Probed(const QTcpSocket* connection) const
{
    for (const QPointer<QTimer>& probe : probes_)
        if (probe && probe->isActive() && probe->property("probed").value<QObject*>() == connection)
            return true;
    return false;
}
