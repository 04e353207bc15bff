// The dealer's connections and seats: joining, unique names, computer seats, refusals.
#include "dealerthread.h"

#include <algorithm>
#include <cstring>
#include <thread>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QPointer>

#include "cp1254.h"
#include "notify.h"
#include "payload.h"
#include "seatnames.h"
#include "senddealerpackets.h"

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

QString TDealerThread::Peer(const QTcpSocket* connection)
{
    return PeerAddress(connection).toString() + QLatin1Char(':') + QString::number(connection->peerPort());
}

TDealerThread::TDealerThread(const TDealerOptions& options)
    : random_(options.Random ? options.Random : &GameRandom()),
      trickResolveExtraMs_(options.TrickResolveExtraMs),
      joinTimeoutMs_(options.JoinTimeoutMs),
      ackTimeoutMs_(options.AckTimeoutMs),
      probeMs_(options.ProbeMs),
      lastHandFolder_(options.LastHandFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                                       : options.LastHandFolder),
      computerName_(options.ComputerName),
      source_(options.ComputerLevel ? options.ComputerLevel(*random_) : std::make_unique<TAcemiSource>(*random_))
{
    socket_.setObjectName(QStringLiteral("DealerSocket"));
    socket_.SetPort(options.Port);
    socket_.OnClientConnect = [this](QTcpSocket* c) { ClientConnect(c); };
    socket_.OnClientDisconnect = [this](QTcpSocket* c) { ClientDisconnect(c); };
    socket_.OnClientPacketRead = [this](QTcpSocket* c, TPacketType t, const uint8_t* b, int32_t n) {
        ClientPacketRead(c, t, b, n);
    };
    socket_.SetDataFrameLimit(options.MaxDataFrames, options.DataFrameWindowMs);
    // A stranger's broken frames must not put boxes on the dealer's screen: transport
    // messages are shown only for the connections of seated players.
    socket_.OnConnectionMessage = [this](QTcpSocket* c, const QString& text) {
        if (SeatOf(c) >= 0 && !Probed(c))
            socket_.ShowMessage(text);
        else if (!text.isEmpty())
            Log(QStringLiteral("not shown (%1 holds no seat or is being asked): %2").arg(Peer(c), text));
    };
    socket_.Open();

    for (QTimer* timer : {&computerMoveTimer_, &trickResolveTimer_, &trickWinnerTimer_, &trickClearTimer_})
        timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(&computerMoveTimer_, &QTimer::timeout, [this] { ComputerMoveTick(); });
    QObject::connect(&trickWinnerTimer_, &QTimer::timeout, [this] { TrickWinnerTick(); });
    QObject::connect(&trickClearTimer_, &QTimer::timeout, [this] { TrickClearTick(); });
    QObject::connect(&trickResolveTimer_, &QTimer::timeout, [this] { TrickResolveTick(); });
    ApplyQuick(options.Quick);
    if (ackTimeoutMs_ > 0) {
        QObject::connect(&ackWatch_, &QTimer::timeout, [this] { CloseUnacknowledging(); });
        ackWatch_.start(std::clamp(ackTimeoutMs_ / 4, 10, 1000));
    }

    InitGameInfo(game_);

    // The dealer's thread: it seeds the random source and ends. It is waited for here, so
    // the source is never touched by two threads at once.
    TRandom* random = random_;
    std::thread([random] {
        if (random->ReseedsFromClock())
            random->SeedFromClock();
        for (int i = 0; i < 3; ++i)
            random->Next(10);
    }).join();
}

TDealerThread::~TDealerThread()
{
    socket_.OnClientConnect = nullptr;
    socket_.OnClientDisconnect = nullptr;
    socket_.OnClientPacketRead = nullptr;
    socket_.OnConnectionMessage = nullptr;
    DropConnectionTimers();
    socket_.Close();
}

void TDealerThread::DropConnectionTimers()
{
    for (const QPointer<QTimer>& timer : connectionTimers_)
        delete timer.data();
    connectionTimers_.clear();
}

void TDealerThread::ApplyQuick(bool quick)
{
    // A timer that runs is restarted with its new interval.
    computerMoveTimer_.setInterval(quick ? kQuickComputerMoveMs : kComputerMoveMs);
    trickWinnerTimer_.setInterval(quick ? kQuickTrickWinnerMs : kTrickWinnerMs);
    trickClearTimer_.setInterval(quick ? kQuickTrickClearMs : kTrickClearMs);
    trickResolveTimer_.setInterval(trickWinnerTimer_.interval() + trickClearTimer_.interval() +
                                   trickResolveExtraMs_);
}

void TDealerThread::SetMoveSource(std::unique_ptr<TMoveSource> source)
{
    source_ = std::move(source);
    ++version_;
}

void TDealerThread::Log(const QString& line) const
{
    if (OnEvent)
        OnEvent(line);
}

void TDealerThread::Drop(const char* message, const QString& why) const
{
    Log(QStringLiteral("dropped %1: %2").arg(QLatin1String(message), why));
}

int TDealerThread::SeatOf(const QTcpSocket* connection) const
{
    for (const SeatEntry& entry : seats_)
        if (entry.Kind == SeatEntry::Human && entry.Connection && entry.Connection == connection)
            return entry.Seat;
    return -1;
}

QList<QTcpSocket*> TDealerThread::HumanConnections() const
{
    QList<QTcpSocket*> connections;
    for (const SeatEntry& entry : seats_)
        if (entry.Kind == SeatEntry::Human && entry.Connection)
            connections.append(entry.Connection.data());
    return connections;
}

QTcpSocket* TDealerThread::OwnUser() const
{
    if (seats_.isEmpty() || seats_.front().Seat != 0 || seats_.front().Kind != SeatEntry::Human)
        return nullptr;
    return seats_.front().Connection.data();
}

int TDealerThread::FreeSeat() const
{
    int seat = 0;
    for (const SeatEntry& entry : seats_) { // in seat order
        if (entry.Seat != seat)
            break;
        ++seat;
    }
    return seat;
}

void TDealerThread::SendMissing()
{
    if (QTcpSocket* own = OwnUser())
        SendStatusText(socket_, own,
                       QStringLiteral("Oyuna başlamak için %1 kişi bekleniyor... (Mevcut oyuncularla "
                                      "başlamak için F2 tuşuna basın)")
                           .arg(4 - seatCount_));
}

void TDealerThread::ClientConnect(QTcpSocket* connection)
{
    Log(QStringLiteral("connection from %1").arg(Peer(connection)));
    // A full table still waits for the join of a connection that may take back a seat
    // whose player dropped, or that comes from the address of a seated player.
    if (seatCount_ >= 4 && !SeatDropped() && !SeatFromSameAddress(connection))
        RefuseConnection(connection);
    else
        StartJoinTimeout(connection);
}

void TDealerThread::RefuseConnection(QTcpSocket* connection)
{
    Log(QStringLiteral("table full: refusing %1").arg(Peer(connection)));
    SendTableFull(socket_, connection);
    // The connection is closed once TABLE_FULL has been acknowledged (or after a while),
    // so that the refused player learns why. The poll timer goes with the connection.
    QPointer<QTcpSocket> guarded(connection);
    auto* poll = new QTimer(connection);
    poll->setObjectName(QStringLiteral("refuse"));
    connectionTimers_.removeAll(nullptr);
    connectionTimers_.append(poll);
    QElapsedTimer clock;
    clock.start();
    QObject::connect(poll, &QTimer::timeout, connection, [this, guarded, poll, clock] {
        const TPacketThread* thread = guarded ? socket_.GetServerPacketThread(guarded) : nullptr;
        const bool delivered = thread && thread->Link().WaitingCount() == 0;
        if (thread && !(delivered && clock.elapsed() >= kRefuseMinMs) && clock.elapsed() < kRefuseMaxMs)
            return;
        poll->stop();
        if (guarded)
            socket_.CloseConnection(guarded); // the poll goes with the connection
    });
    poll->start(kRefusePollMs);
}

bool TDealerThread::Refused(const QTcpSocket* connection) const
{
    for (const QPointer<QTimer>& timer : connectionTimers_)
        if (timer && timer->parent() == connection && timer->objectName() == QLatin1String("refuse"))
            return true;
    return false;
}

void TDealerThread::ClientDisconnect(QTcpSocket* connection)
{
    for (qsizetype i = 0; i < seats_.size(); ++i) {
        if (seats_[i].Kind == SeatEntry::Human && seats_[i].Connection == connection) {
            if (seatCount_ < 4)
                FreeSeatOf(int(i));
            else
                ComputerTakesOver(seats_[i]);
            return;
        }
    }
    Log(QStringLiteral("connection closed: %1").arg(Peer(connection)));
}

void TDealerThread::ClientPacketRead(QTcpSocket* connection, TPacketType type, const uint8_t* buf,
                                     int32_t count)
{
    const int seat = SeatOf(connection);
    switch (type) {
    case JOIN_REQUEST:
        JoinRequest(connection, buf, count);
        return;
    case START_NOW:
        if (connection != OwnUser())
            return Drop("START_NOW", QStringLiteral("not from the dealer's own user"));
        StartNow();
        return;
    case GAME_RECORD:
        GameRecordMessage(seat, buf, count);
        return;
    case CHAT_TEXT:
        ChatText(seat, buf, count);
        return;
    case NEW_GAME:
        NewGameMessage(seat);
        return;
    case CONTRACT_CHOICE:
        ContractChoice(seat, buf, count);
        return;
    case CARD_PLAY:
        CardPlay(seat, buf, count);
        return;
    case WAIT_FOR_PLAYERS:
        WaitForPlayers(seat);
        return;
    default:
        Log(QStringLiteral("unknown message type %1 from %2").arg(int(type)).arg(Peer(connection)));
        // The box runs the event loop, so messages of other connections are handled while
        // it is open; one box at a time keeps a stream of them from stacking boxes.
        if (noticeOpen_)
            return Log(QStringLiteral("notice not shown: one is open"));
        noticeOpen_ = true;
        Notify("Dealer: Bilinmeyen bir paket alındı");
        noticeOpen_ = false;
        return;
    }
}

void TDealerThread::JoinRequest(QTcpSocket* connection, const uint8_t* buf, int32_t count)
{
    if (SeatOf(connection) >= 0)
        return Drop("JOIN_REQUEST", QStringLiteral("the connection holds a seat already"));
    if (seatCount_ > 3 && Refused(connection))
        return Drop("JOIN_REQUEST", QStringLiteral("the table is full"));
    TPayloadReader reader(buf, count);
    QByteArray name;
    if (!reader.Text(name))
        return Drop("JOIN_REQUEST", QStringLiteral("payload too short"));
    if (seatCount_ > 3) {
        if (!Rejoin(connection, name))
            RefuseConnection(connection);
        return;
    }

    SeatEntry entry;
    entry.Connection = connection;
    entry.Seat = uint8_t(FreeSeat());
    entry.Kind = SeatEntry::Human;
    entry.Name = name;
    entry.Requested = FitSeatName(name);
    AddSeat(entry);

    SendMissing();
    const int newSeat = entry.Seat;
    SendJoinAccepted(socket_, connection, uint8_t(newSeat),
                     QStringLiteral("Oyuna katıldın (%1. oyuncu olarak)").arg(newSeat + 1));
    for (const SeatEntry& other : seats_)
        if (other.Seat != newSeat)
            SendSeatName(socket_, connection, other.Seat, FromCp1254(SeatNameInRecord(game_, other.Seat)));
}

void TDealerThread::StartNow()
{
    if (seatCount_ >= 4)
        return Drop("START_NOW", QStringLiteral("the table is full"));
    while (seatCount_ < 4) {
        ++computerCount_;
        SeatEntry entry;
        entry.Seat = uint8_t(FreeSeat());
        entry.Kind = SeatEntry::Computer;
        entry.Name = computerName_ + QByteArray::number(computerCount_);
        AddSeat(entry);
    }
}

void TDealerThread::AddSeat(SeatEntry entry)
{
    QList<QByteArray> taken;
    qsizetype at = 0; // the seat list stays in seat order
    for (const SeatEntry& other : seats_) {
        taken.append(SeatNameInRecord(game_, other.Seat));
        at += other.Seat < entry.Seat;
    }
    entry.Name = UniqueSeatName(entry.Name, taken);

    seats_.insert(at, entry);
    seatCount_ = int(seats_.size());
    if (seatCount_ < 4)
        game_.Phase = psWaiting;
    char* field = game_.PlayerName[entry.Seat];
    std::memset(field, 0, kNameSize);
    std::memcpy(field, entry.Name.constData(), std::size_t(entry.Name.size()));

    const QString name = FromCp1254(entry.Name);
    Log(QStringLiteral("seat %1: %2 (%3)")
            .arg(entry.Seat)
            .arg(name, entry.Kind == SeatEntry::Human ? QStringLiteral("player") : QStringLiteral("computer")));
    for (QTcpSocket* connection : HumanConnections())
        SendSeatName(socket_, connection, entry.Seat, name);
}
