#include "serverloop.h"

#include <QDir>

#include <algorithm>
#include <cerrno>

#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "gamefiles.h"
#include "packetsocket.h"
#include "packetthread.h"
#include "tableserver.h"

namespace {

// How long a refused connection is given to receive its last messages before it is closed.
constexpr int kDeliveryMs = 3000;
constexpr int kEventsAtOnce = 256;
constexpr int kReadChunk = 16 * 1024;

} // namespace

struct TServerLoop::TConn {
    int Fd = -1;
    TConnectionId Id = kNoConnection;
    QString Host;
    quint16 Port = 0;
    TServerLoop* Loop = nullptr;
    std::unique_ptr<TPacketLink> Link;
    QByteArray Out;        // written and not yet taken by the system
    bool Writing = false;  // waits for the socket to take more
    bool Closing = false;  // dropped from the event loop; nothing more is read or sent
    bool Probed = false;   // the next bytes that arrive answer a request for a sign of life
    qint64 CloseBy = -1;   // closed then at the latest (after delivery)
    int MoveTo = -1;       // handed to that loop from the event loop
    TPacketType MoveType = TPacketType(0);
    QByteArray MovePayload;
};

TServerLoop::TServerLoop(TTableServer& server, int index)
    : server_(server), index_(index), wake_(this), watch_(this)
{
}

TServerLoop::~TServerLoop()
{
    Stop();
}

void TServerLoop::Start(const THouseOptions& options)
{
    epoll_ = ::epoll_create1(EPOLL_CLOEXEC);
    notifier_ = new QSocketNotifier(epoll_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { Ready(); });
    wake_.setSingleShot(true);
    wake_.setTimerType(Qt::PreciseTimer);
    connect(&wake_, &QTimer::timeout, this, [this] {
        wakeAt_ = -1;
        house_->Tick();
    });
    connect(&watch_, &QTimer::timeout, this, [this] { Watch(); });
    watch_.start(50);
    THouseOptions mine = options;
    mine.DefaultTable = options.DefaultTable && index_ == 0;
    THouseLink& link = *this;
    TTableClock& clock = *this;
    TTableFiles& files = *this;
    house_ = std::make_unique<TTableHouse>(index_, link, clock, files, server_.Directory(), mine);
}

void TServerLoop::Stop()
{
    wake_.stop();
    watch_.stop();
    delete notifier_;
    notifier_ = nullptr;
    for (auto& [id, conn] : conns_) {
        ::close(conn->Fd);
        server_.Closed();
    }
    conns_.clear();
    house_.reset();
    if (epoll_ >= 0)
        ::close(epoll_);
    epoll_ = -1;
}

qint64 TServerLoop::NowMs() const
{
    return server_.NowMs();
}

void TServerLoop::WakeAt(qint64 atMs)
{
    if (atMs == wakeAt_)
        return;
    wakeAt_ = atMs;
    if (atMs < 0)
        wake_.stop();
    else
        wake_.start(int(std::clamp<qint64>(atMs - NowMs(), 0, 1 << 30)));
}

QString TServerLoop::WriteLastHand(const TGameInfo& g)
{
    if (TStateFiles* files = server_.Options().Files) {
        files->KeepLastHand(server_.Options().LastHandFolder, g);
        return QDir(server_.Options().LastHandFolder).filePath(QString::fromLatin1(kLastHandFile));
    }
    return ::WriteLastHand(server_.Options().LastHandFolder, g);
}

// ---- Connections ----

TServerLoop::TConn* TServerLoop::Find(TConnectionId id) const
{
    const auto it = conns_.find(id);
    return it == conns_.end() || it->second->Closing ? nullptr : it->second.get();
}

void TServerLoop::Add(std::shared_ptr<TConn> conn)
{
    conn->Loop = this;
    epoll_event event{};
    event.events = uint32_t(EPOLLIN) | (conn->Writing ? uint32_t(EPOLLOUT) : 0u);
    event.data.u64 = conn->Id;
    if (::epoll_ctl(epoll_, EPOLL_CTL_ADD, conn->Fd, &event) != 0) {
        ::close(conn->Fd);
        server_.Closed();
        return;
    }
    conns_[conn->Id] = std::move(conn);
}

void TServerLoop::Accept(int fd, const QString& host, quint16 port)
{
    auto conn = std::make_shared<TConn>();
    conn->Fd = fd;
    conn->Id = server_.NewId();
    conn->Host = host;
    conn->Port = port;
    TConn* raw = conn.get();
    conn->Link = std::make_unique<TPacketLink>(
        QStringLiteral("DealerSocket %1").arg(conn->Id),
        [raw](const QByteArray& frame) { raw->Loop->Write(*raw, frame); },
        [host](const QString& text) { qCInfo(lcDealer).noquote() << QStringLiteral("%1: %2").arg(host, text); });
    const TTableServerOptions& o = server_.Options();
    conn->Link->SetDataFrameLimit(o.MaxDataFrames, o.DataFrameWindowMs, o.MaxDataFrames > 0 ? o.MaxDataBytes : 0);
    Add(conn);
    if (Find(raw->Id))
        house_->Connected(raw->Id, host, port);
}

void TServerLoop::TakeOver(std::shared_ptr<TConn> conn, TPacketType type, const QByteArray& payload)
{
    const TConnectionId id = conn->Id;
    const QString host = conn->Host;
    const quint16 port = conn->Port;
    conn->MoveTo = -1;
    Add(std::move(conn));
    TConn* c = Find(id);
    if (!c)
        return;
    house_->Adopt(id, host, port, type, payload);
    // Frames that came behind the one that brought it here.
    if (Find(id))
        Deliver(*c);
}

void TServerLoop::Ready()
{
    epoll_event events[kEventsAtOnce];
    const int n = ::epoll_wait(epoll_, events, kEventsAtOnce, 0);
    for (int i = 0; i < n; ++i) {
        TConn* c = Find(events[i].data.u64);
        if (!c || c->MoveTo >= 0)
            continue;
        if (events[i].events & EPOLLOUT)
            Writable(*c);
        if (!c->Closing && (events[i].events & (EPOLLIN | EPOLLERR | EPOLLHUP)))
            Readable(*c);
    }
}

void TServerLoop::Readable(TConn& c)
{
    char buffer[kReadChunk];
    bool any = false;
    bool ended = false;
    for (;;) {
        const ssize_t got = ::recv(c.Fd, buffer, sizeof buffer, 0);
        if (got > 0) {
            any = true;
            c.Link->AppendIncoming(buffer, got);
            if (got < ssize_t(sizeof buffer))
                break;
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        ended = true; // the peer closed, or the connection broke: what it sent before still counts
        break;
    }
    if (any && c.Probed) {
        c.Probed = false;
        const TConnectionId id = c.Id;
        QMetaObject::invokeMethod(this, [this, id] { if (Find(id)) house_->Answered(id); }, Qt::QueuedConnection);
    }
    if (!c.Closing)
        Deliver(c);
    if (ended || (closingAfterDelivery_.count(c.Id) && c.Link->WaitingCount() == 0))
        CloseLater(c);
}

void TServerLoop::Deliver(TConn& c)
{
    while (!c.Closing && c.MoveTo < 0 && c.Link->CheckIncomingBuffer())
        house_->Received(c.Id, c.Link->RecvType(), c.Link->RecvPayload(), c.Link->RecvCount());
    if (c.Link->Broken())
        CloseLater(c); // an impossible frame size or a flood: the stream cannot go on
}

void TServerLoop::Write(TConn& c, const QByteArray& frame)
{
    if (c.Closing)
        return;
    if (c.Out.size() + frame.size() > kMaxUnsentBytes) {
        // The peer reads nothing while its frames keep asking for ACKs and repeats.
        qCInfo(lcDealer).noquote() << QStringLiteral("closing connection %1: it reads nothing").arg(c.Id);
        return CloseLater(c);
    }
    if (!c.Out.isEmpty() || c.MoveTo >= 0) {
        c.Out.append(frame);
        return;
    }
    const ssize_t put = ::send(c.Fd, frame.constData(), size_t(frame.size()), MSG_NOSIGNAL);
    if (put == frame.size())
        return;
    if (put < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
        return CloseLater(c);
    c.Out = frame.mid(std::max<qsizetype>(put, 0));
    WantWrite(c, true);
}

void TServerLoop::Writable(TConn& c)
{
    while (!c.Out.isEmpty()) {
        const ssize_t put = ::send(c.Fd, c.Out.constData(), size_t(c.Out.size()), MSG_NOSIGNAL);
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        if (put < 0)
            return CloseLater(c);
        c.Out.remove(0, put);
    }
    WantWrite(c, false);
}

void TServerLoop::WantWrite(TConn& c, bool on)
{
    if (c.Writing == on || c.MoveTo >= 0)
        return;
    c.Writing = on;
    epoll_event event{};
    event.events = uint32_t(EPOLLIN) | (on ? uint32_t(EPOLLOUT) : 0u);
    event.data.u64 = c.Id;
    ::epoll_ctl(epoll_, EPOLL_CTL_MOD, c.Fd, &event);
}

void TServerLoop::CloseLater(TConn& c)
{
    if (c.Closing)
        return;
    c.Closing = true;
    const TConnectionId id = c.Id;
    QMetaObject::invokeMethod(this, [this, id] { Drop(id); }, Qt::QueuedConnection);
}

void TServerLoop::Drop(TConnectionId id)
{
    const auto it = conns_.find(id);
    if (it == conns_.end())
        return;
    const std::shared_ptr<TConn> conn = it->second;
    conns_.erase(it);
    closingAfterDelivery_.erase(id);
    ::epoll_ctl(epoll_, EPOLL_CTL_DEL, conn->Fd, nullptr);
    ::close(conn->Fd);
    server_.Closed();
    house_->Disconnected(id);
}

void TServerLoop::Watch()
{
    const qint64 now = NowMs();
    std::vector<TConnectionId> due;
    for (const TConnectionId id : closingAfterDelivery_) {
        const TConn* c = Find(id);
        if (c && (c->Link->WaitingCount() == 0 || now >= c->CloseBy))
            due.push_back(id);
    }
    // Every second: connections whose frame waits too long for its ACK.
    const int ackTimeoutMs = server_.Options().AckTimeoutMs;
    if (ackTimeoutMs > 0 && now - lastAckCheck_ >= 1000) {
        lastAckCheck_ = now;
        for (const auto& [id, conn] : conns_)
            if (!conn->Closing && conn->Link->OutgoingAgeMs() > ackTimeoutMs) {
                qCInfo(lcDealer).noquote() << QStringLiteral("closing connection %1: no ACK for %2 ms").arg(id).arg(ackTimeoutMs);
                due.push_back(id);
            }
    }
    for (const TConnectionId id : due)
        if (TConn* c = Find(id))
            CloseLater(*c);
}

// ---- What the house and its tables ask for ----

void TServerLoop::Send(TConnectionId id, TPacketType type, const QByteArray& payload)
{
    TConn* c = Find(id);
    if (!c || !IsSendablePayload(payload.constData(), int32_t(payload.size())))
        return;
    QByteArray frame = BuildFrame(type, FrameStamp(), payload.constData(), int32_t(payload.size()));
    if (!c->Link->AdmitFrame(frame.size())) {
        qCInfo(lcDealer).noquote() << QStringLiteral("closing connection %1: %2 frames unacknowledged")
                                          .arg(id).arg(c->Link->PendingFrames());
        return CloseLater(*c);
    }
    c->Link->AppendWaiting(std::move(frame));
    if (c->MoveTo < 0)
        c->Link->SelectOutgoing();
}

void TServerLoop::Close(TConnectionId id, bool afterDelivery)
{
    TConn* c = Find(id);
    if (!c)
        return;
    if (!afterDelivery)
        return CloseLater(*c);
    c->CloseBy = NowMs() + kDeliveryMs;
    closingAfterDelivery_.insert(id);
}

void TServerLoop::Probe(TConnectionId id)
{
    if (TConn* c = Find(id)) {
        c->Probed = true;
        Write(*c, BuildControlFrame(CRCERROR, ACK));
    }
}

int TServerLoop::Backlog(TConnectionId id) const
{
    const TConn* c = Find(id);
    return c ? c->Link->PendingFrames() : 0;
}

qint64 TServerLoop::BacklogBytes(TConnectionId id) const
{
    const TConn* c = Find(id);
    return c ? c->Link->PendingBytes() : 0;
}

void TServerLoop::Notice(const QString& text)
{
    qCInfo(lcDealer).noquote() << text;
}

void TServerLoop::Move(TConnectionId id, int house, TPacketType type, const QByteArray& payload)
{
    TConn* c = Find(id);
    if (!c)
        return;
    c->MoveTo = house;
    c->MoveType = type;
    c->MovePayload = payload;
    QMetaObject::invokeMethod(this, [this, id] { Transfer(id); }, Qt::QueuedConnection);
}

void TServerLoop::Transfer(TConnectionId id)
{
    const auto it = conns_.find(id);
    if (it == conns_.end())
        return;
    std::shared_ptr<TConn> conn = it->second;
    conns_.erase(it);
    closingAfterDelivery_.erase(id);
    ::epoll_ctl(epoll_, EPOLL_CTL_DEL, conn->Fd, nullptr);
    if (conn->Closing) { // closed meanwhile: gone for everyone
        ::close(conn->Fd);
        server_.Closed();
        return;
    }
    TServerLoop* target = server_.Loop(conn->MoveTo);
    const TPacketType type = conn->MoveType;
    const QByteArray payload = std::exchange(conn->MovePayload, {});
    conn->Writing = !conn->Out.isEmpty();
    QMetaObject::invokeMethod(target, [target, conn, type, payload] {
        conn->Loop = target;
        target->TakeOver(conn, type, payload);
        // What was queued for it on the way goes out now.
        if (TConn* c = target->Find(conn->Id)) {
            if (!c->Out.isEmpty())
                target->Writable(*c);
            c->Link->SelectOutgoing();
        }
    }, Qt::QueuedConnection);
}

void TServerLoop::Create(int house, const QByteArray& code, const TTableSettings& settings)
{
    TServerLoop* target = server_.Loop(house);
    QMetaObject::invokeMethod(target, [target, code, settings] { target->house_->Create(code, settings); },
                              Qt::QueuedConnection);
}
