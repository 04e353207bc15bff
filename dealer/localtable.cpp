#include "localtable.h"

#include <QCoreApplication>

#include "gamefiles.h"

TLocalTable::TLocalTable(const TTableOptions& options, const QString& lastHandFolder)
    : lastHandFolder_(lastHandFolder)
{
    InitGameInfo(lastHand_);
    TTableLink& link = *this;
    TTableClock& clock = *this;
    TTableFiles& files = *this;
    table_ = std::make_unique<TTable>(link, clock, files, options);
}

TLocalTable::~TLocalTable()
{
    table_.reset(); // before the queues and peers it would still send to
}

TConnectionId TLocalTable::Connect(TLocalPeer& peer, const QString& host)
{
    const TConnectionId id = ++lastId_;
    peers_.insert(id, &peer);
    table_->Connected(id, host, quint16(40000 + id));
    return id;
}

void TLocalTable::Post(TConnectionId id, TPacketType type, const QByteArray& payload)
{
    Enqueue({TItem::ToTable, id, type, payload});
}

void TLocalTable::Send(TConnectionId id, TPacketType type, const QByteArray& payload)
{
    if (!peers_.contains(id))
        return;
    auto& [frames, bytes] = backlog_[id];
    ++frames;
    bytes += kHeaderSize + payload.size();
    Enqueue({TItem::ToPeer, id, type, payload});
}

void TLocalTable::Hangup(TConnectionId id)
{
    // Nothing more reaches the peer, which may be gone before the queue is pumped; what it
    // sent before still reaches the table.
    if (peers_.contains(id))
        peers_[id] = nullptr;
    Enqueue({TItem::CloseFromPeer, id, TPacketType(0), {}});
}

void TLocalTable::Close(TConnectionId id, bool /*afterDelivery*/)
{
    // After everything queued for it: a refused player reads TABLE_FULL first.
    Enqueue({TItem::CloseFromTable, id, TPacketType(0), {}});
}

void TLocalTable::Probe(TConnectionId id)
{
    if (TLocalPeer* peer = peers_.value(id); peer && peer->Answers())
        Enqueue({TItem::Answer, id, TPacketType(0), {}});
}

QString TLocalTable::WriteLastHand(const TGameInfo& g)
{
    lastHand_ = g;
    ++lastHandWrites_;
    if (lastHandFolder_.isEmpty())
        return QStringLiteral("LastHand.rvo");
    return ::WriteLastHand(lastHandFolder_, g);
}

bool TLocalTable::PumpOne()
{
    if (queue_.empty())
        return false;
    {
        const TItem item = queue_.front();
        queue_.pop_front();
        TLocalPeer* peer = peers_.value(item.Id);
        switch (item.Kind) {
        case TItem::ToTable:
            if (peers_.contains(item.Id)) {
                table_->Received(item.Id, item.Type, reinterpret_cast<const uint8_t*>(item.Payload.constData()),
                                 int32_t(item.Payload.size()));
            }
            break;
        case TItem::ToPeer:
            if (auto waiting = backlog_.find(item.Id); waiting != backlog_.end()) {
                if (--waiting->first == 0)
                    backlog_.erase(waiting);
                else
                    waiting->second -= kHeaderSize + item.Payload.size();
            }
            if (peer)
                peer->Deliver(item.Type, item.Payload);
            break;
        case TItem::CloseFromTable:
        case TItem::CloseFromPeer:
            if (peers_.contains(item.Id)) {
                peers_.remove(item.Id);
                backlog_.remove(item.Id);
                if (item.Kind == TItem::CloseFromTable && peer)
                    peer->Closed();
                table_->Disconnected(item.Id);
            }
            break;
        case TItem::Answer:
            if (peer) {
                table_->Answered(item.Id);
            }
            break;
        }
    }
    return true;
}

bool TLocalTable::RunUntil(const std::function<bool()>& done, qint64 limitMs)
{
    const qint64 end = now_ + limitMs;
    for (;;) {
        // Answers of move sources that work on threads of their own arrive as queued calls.
        QCoreApplication::sendPostedEvents();
        while (PumpOne())
            if (done())
                return true;
        if (done())
            return true;
        if (wakeAt_ < 0 || wakeAt_ > end) {
            now_ = std::max(now_, end);
            return done();
        }
        now_ = std::max(now_, wakeAt_);
        wakeAt_ = -1;
        table_->Tick();
    }
}
