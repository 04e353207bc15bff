// The table over TCP: connections as ids, the table's timers on one precise QTimer, the
// transport's limits, and "LastHand.rvo" in a folder.
#include "dealerthread.h"

#include <algorithm>
#include <utility>

#include <cstring>

#include <QCoreApplication>
#include <QDir>

#include "gamefiles.h"
#include "notify.h"

namespace {

// How long a refused connection is given to receive TABLE_FULL before it is closed.
constexpr int kRefusePollMs = 20;
constexpr int kRefuseMinMs = 100;
constexpr int kRefuseMaxMs = 3000;

} // namespace

QHostAddress TDealerThread::PeerAddress(const QTcpSocket* connection)
{
    QHostAddress address = connection->peerAddress();
    bool mapped = false;
    const quint32 v4 = address.toIPv4Address(&mapped);
    if (mapped)
        address = QHostAddress(v4);
    return address;
}

TDealerThread::TDealerThread(const TDealerOptions& options)
    : ackTimeoutMs_(options.AckTimeoutMs),
      maxUnjoinedPerAddress_(options.MaxUnjoinedPerAddress),
      lastHandFolder_(options.LastHandFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                                       : options.LastHandFolder),
      lastHandPath_(QDir(lastHandFolder_).filePath(QString::fromLatin1(kLastHandFile))),
      files_(QString()) // "LastHand.rvo" only: the program's own dealer keeps no table state
{
    clock_.start();
    wake_.setSingleShot(true);
    wake_.setTimerType(Qt::PreciseTimer);
    socket_.setObjectName(QStringLiteral("DealerSocket"));
    socket_.SetPort(options.Port);
    socket_.SetDataFrameLimit(options.MaxDataFrames, options.DataFrameWindowMs,
                              options.MaxDataFrames > 0 ? options.MaxDataBytes : 0);
    socket_.SetRoom(this);
    TTableLink& link = *this;
    TTableClock& clock = *this;
    TTableFiles& files = *this;
    table_ = std::make_unique<TTable>(link, clock, files, options);
    // Where the last write of "LastHand.rvo" went, or that it failed, told on the table's thread.
    QObject::connect(&files_.Keeper(), &TFileKeeper::written, table_.get(), [this](const QString& key, const QString& path) {
        if (!key.endsWith(QLatin1String(kLastHandFile)))
            return;
        if (!path.isEmpty())
            lastHandPath_ = path;
        else
            table_->Log(QStringLiteral("LastHand.rvo could not be written"));
    });
    QObject::connect(&wake_, &QTimer::timeout, table_.get(), [this] { table_->Tick(); });
    // The table is the context of every connection: none is served once it is gone.
    TTable* table = table_.get();
    QObject::connect(&socket_, &TServerPacketSocket::clientConnected, table, [this](QTcpSocket* c) { ClientConnect(c); });
    QObject::connect(&socket_, &TServerPacketSocket::clientDisconnected, table,
                     [this](QTcpSocket* c) { ClientDisconnect(c); });
    QObject::connect(&socket_, &TPacketSocket::packetRead, table,
                     [this](QTcpSocket* c, TPacketType t, const QByteArray& p) {
                         if (const TConnectionId id = ids_.value(c))
                             table_->Received(id, t, reinterpret_cast<const uint8_t*>(p.constData()), int32_t(p.size()));
                     });
    QObject::connect(&socket_, &TServerPacketSocket::connectionMessage, table,
                     [this](QTcpSocket* c, const QString& text) { ConnectionMessage(c, text); });
    QObject::connect(&socket_, &TPacketSocket::message, table, [this](const QString& text) { Notice(text); });
    socket_.Open();
    if (ackTimeoutMs_ > 0) {
        QObject::connect(&ackWatch_, &QTimer::timeout, table_.get(), [this] { CloseUnacknowledging(); });
        ackWatch_.start(std::clamp(ackTimeoutMs_ / 4, 10, 1000));
    }
}

TDealerThread::~TDealerThread()
{
    socket_.SetRoom(nullptr);
    socket_.Close();
}

QTcpSocket* TDealerThread::SocketOf(TConnectionId id) const
{
    return sockets_.value(id).data();
}

QTcpSocket* TDealerThread::MakeRoomFor(const QTcpSocket*)
{
    QTcpSocket* room = OldestUnjoined({}).first;
    if (room)
        table_->Log(QStringLiteral("all connections taken: closing connection %1 (no seat) to make room")
                        .arg(ids_.value(room)));
    return room;
}

std::pair<QTcpSocket*, int> TDealerThread::OldestUnjoined(const QString& address) const
{
    QHash<QString, std::pair<TConnectionId, int>> unjoined; // oldest id and count per address
    for (auto it = ids_.cbegin(); it != ids_.cend(); ++it) {
        if (table_->SeatOf(it.value()) != kNoSeat || !socket_.GetServerPacketThread(it.key()))
            continue; // seated, or already closed
        const QString from = PeerAddress(it.key()).toString();
        if (!address.isEmpty() && from != address)
            continue;
        auto& [oldest, count] = unjoined[from];
        oldest = count == 0 ? it.value() : std::min(oldest, it.value());
        ++count;
    }
    std::pair<TConnectionId, int> most{kNoConnection, 0};
    for (const auto& entry : std::as_const(unjoined))
        if (entry.second > most.second || (entry.second == most.second && entry.first < most.first))
            most = entry;
    return {SocketOf(most.first), most.second};
}

void TDealerThread::ClientConnect(QTcpSocket* connection)
{
    if (maxUnjoinedPerAddress_ > 0) {
        // The newcomer counts too: at the cap, the oldest of that address goes.
        const QString address = PeerAddress(connection).toString();
        const auto [oldest, count] = OldestUnjoined(address);
        if (oldest && count >= maxUnjoinedPerAddress_) {
            table_->Log(QStringLiteral("closing connection %1: %2 connections without a seat from %3")
                            .arg(ids_.value(oldest)).arg(count + 1).arg(address));
            socket_.CloseConnection(oldest);
        }
    }
    const TConnectionId id = ++lastId_;
    ids_.insert(connection, id);
    sockets_.insert(id, connection);
    table_->Connected(id, PeerAddress(connection).toString(), connection->peerPort());
}

void TDealerThread::ClientDisconnect(QTcpSocket* connection)
{
    const TConnectionId id = ids_.take(connection);
    if (id == kNoConnection)
        return;
    sockets_.remove(id);
    table_->Disconnected(id);
}

void TDealerThread::ConnectionMessage(QTcpSocket* connection, const QString& text)
{
    // A stranger's broken frames must not put boxes on the dealer's screen: transport
    // messages are shown only for the connections of seated players, and not for the
    // answer of one that is being asked for a sign of life.
    const TConnectionId id = ids_.value(connection);
    if (table_->SeatOf(id) != kNoSeat && !table_->Probed(id))
        socket_.ShowMessage(text);
    else if (!text.isEmpty())
        table_->Log(QStringLiteral("not shown (connection %1 holds no seat or is being asked): %2").arg(id).arg(text));
}

void TDealerThread::Send(TConnectionId id, TPacketType type, const QByteArray& payload)
{
    if (QTcpSocket* connection = SocketOf(id))
        socket_.PacketMakeAndSend(connection, type, payload.constData(), int32_t(payload.size()));
}

void TDealerThread::Close(TConnectionId id, bool afterDelivery)
{
    QTcpSocket* connection = SocketOf(id);
    if (!connection)
        return;
    if (!afterDelivery) {
        socket_.CloseConnection(connection);
        return;
    }
    // Closed once what was sent has been acknowledged (or after a while). The poll goes
    // with the connection.
    const QPointer<QTcpSocket> guarded(connection);
    auto* poll = new QTimer(connection);
    QElapsedTimer since;
    since.start();
    QObject::connect(poll, &QTimer::timeout, connection, [this, guarded, poll, since] {
        const TPacketThread* thread = guarded ? socket_.GetServerPacketThread(guarded) : nullptr;
        const bool delivered = thread && thread->Link().WaitingCount() == 0;
        if (thread && !(delivered && since.elapsed() >= kRefuseMinMs) && since.elapsed() < kRefuseMaxMs)
            return;
        poll->stop();
        if (guarded)
            socket_.CloseConnection(guarded); // the poll goes with the connection
    });
    poll->start(kRefusePollMs);
}

void TDealerThread::Probe(TConnectionId id)
{
    QTcpSocket* connection = SocketOf(id);
    if (!connection)
        return;
    // Any bytes the peer sends from now on are its sign of life; the first one counts.
    auto* answer = new QObject(connection);
    QObject::connect(connection, &QTcpSocket::readyRead, answer, [this, answer, id] {
        answer->deleteLater();
        table_->Answered(id); // once: the table forgets the question when answered
    });
    connection->write(BuildControlFrame(CRCERROR, ACK));
}

int TDealerThread::Backlog(TConnectionId id) const
{
    const TPacketThread* thread = socket_.GetServerPacketThread(SocketOf(id));
    return thread ? thread->Link().PendingFrames() : 0;
}

qint64 TDealerThread::BacklogBytes(TConnectionId id) const
{
    const TPacketThread* thread = socket_.GetServerPacketThread(SocketOf(id));
    return thread ? thread->Link().PendingBytes() : 0;
}

void TDealerThread::Notice(const QString& text)
{
    // The program's notifier returns at once; its window layer shows the box later.
    Notify(text.toStdString());
}

void TDealerThread::WakeAt(qint64 atMs)
{
    if (atMs < 0) {
        wake_.stop();
        return;
    }
    wake_.start(int(std::clamp<qint64>(atMs - clock_.elapsed(), 0, 1 << 30)));
}

QString TDealerThread::WriteLastHand(const TGameInfo& g)
{
    files_.KeepLastHand(lastHandFolder_, g);
    return lastHandPath_;
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
        table_->Log(QStringLiteral("closing connection %1: no ACK for %2 ms").arg(ids_.value(connection)).arg(ackTimeoutMs_));
        socket_.CloseConnection(connection); // its seat goes as any closed connection's
    }
}
