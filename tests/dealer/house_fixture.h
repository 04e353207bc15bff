// Houses of tables in process on a manual clock, as the server runs them on its threads:
// messages both ways, hand-overs between houses and new tables on another house are
// queued and delivered in order, never inside the call that caused them.
#pragma once

#include <deque>
#include <variant>

#include "dealer_test_util.h"
#include "tablehouse.h"

class TLocalHouses {
public:
    TLocalHouses(int count, const THouseOptions& options) : directory_(count)
    {
        for (int i = 0; i < count; ++i)
            ends_.push_back(std::make_unique<TEnd>(*this, i));
        for (int i = 0; i < count; ++i)
            ends_[std::size_t(i)]->House = std::make_unique<TTableHouse>(i, *ends_[std::size_t(i)], *ends_[std::size_t(i)],
                                                                         *ends_[std::size_t(i)], directory_, options);
    }

    TTableHouse& House(int i) { return *ends_[std::size_t(i)]->House; }
    TTableDirectory& Directory() { return directory_; }
    qint64 Now() const { return now_; }

    TConnectionId Connect(TTestPlayer& player, int house, const QString& host)
    {
        const TConnectionId id = ++lastId_;
        peers_[id] = {&player, house};
        ends_[std::size_t(house)]->House->Connected(id, host, 40000);
        return id;
    }
    void Post(TConnectionId id, TPacketType type, const QByteArray& payload) { queue_.push_back({id, -1, type, payload, true}); }
    void Hangup(TConnectionId id) { queue_.push_back({id, -1, TPacketType(0), {}, true, true}); }

    bool RunUntil(const std::function<bool()>& done, qint64 limitMs)
    {
        const qint64 until = now_ + limitMs;
        while (!done()) {
            if (!queue_.empty()) {
                Pump();
                continue;
            }
            qint64 next = -1;
            for (const auto& end : ends_)
                if (end->Wake >= 0 && (next < 0 || end->Wake < next))
                    next = end->Wake;
            if (next < 0 || next > until)
                return done();
            now_ = std::max(now_, next);
            for (const auto& end : ends_)
                if (end->Wake >= 0 && end->Wake <= now_) {
                    end->Wake = -1;
                    end->House->Tick();
                }
        }
        return true;
    }

private:
    struct TItem {
        TConnectionId Id;
        int House; // >= 0: handed to that house
        TPacketType Type;
        QByteArray Payload;
        bool FromPeer = false;
        bool Close = false;
        bool ToPeer = false;
    };
    struct TPeer {
        TTestPlayer* Player = nullptr;
        int House = 0;
    };
    struct TEnd final : THouseLink, TTableClock, TTableFiles {
        TEnd(TLocalHouses& all, int index) : All(all), Index(index) {}
        TLocalHouses& All;
        int Index;
        qint64 Wake = -1;
        std::unique_ptr<TTableHouse> House;
        void Send(TConnectionId id, TPacketType type, const QByteArray& p) override { All.queue_.push_back({id, -1, type, p, false, false, true}); }
        void Close(TConnectionId id, bool) override { All.queue_.push_back({id, -1, TPacketType(0), {}, false, true}); }
        void Probe(TConnectionId id) override { All.queue_.push_back({id, -2, TPacketType(0), {}}); }
        int Backlog(TConnectionId) const override { return 0; }
        qint64 BacklogBytes(TConnectionId) const override { return 0; }
        void Notice(const QString&) override {}
        // The connection's later messages come after its hand-over, as the link delivers them.
        void Move(TConnectionId id, int house, TPacketType type, const QByteArray& p) override { All.queue_.push_front({id, house, type, p}); }
        void Create(int house, const QByteArray& code, const TTableSettings& s) override { All.ends_[std::size_t(house)]->House->Create(code, s); }
        qint64 NowMs() const override { return All.now_; }
        void WakeAt(qint64 atMs) override { Wake = atMs; }
        QString WriteLastHand(const TGameInfo&) override { return QStringLiteral("memory"); }
    };

    void Pump()
    {
        const TItem item = queue_.front();
        queue_.pop_front();
        const auto peer = peers_.find(item.Id);
        if (peer == peers_.end())
            return;
        TTableHouse& house = *ends_[std::size_t(peer->second.House)]->House;
        if (item.ToPeer) {
            peer->second.Player->Record(item.Type, item.Payload);
        } else if (item.Close) {
            peer->second.Player->Disconnected = !item.FromPeer;
            peers_.erase(peer);
            house.Disconnected(item.Id);
        } else if (item.FromPeer) {
            house.Received(item.Id, item.Type, reinterpret_cast<const uint8_t*>(item.Payload.constData()), int32_t(item.Payload.size()));
        } else if (item.House == -2) {
            house.Answered(item.Id);
        } else {
            peer->second.House = item.House;
            ends_[std::size_t(item.House)]->House->Adopt(item.Id, QStringLiteral("moved"), 0, item.Type, item.Payload);
        }
    }

    TTableDirectory directory_;
    std::vector<std::unique_ptr<TEnd>> ends_;
    std::map<TConnectionId, TPeer> peers_;
    std::deque<TItem> queue_;
    qint64 now_ = 0;
    TConnectionId lastId_ = 0;
};

// JOIN_REQUEST as our program sends it: the name, then the block with the table's code
// (empty: the default table) and the key of the seat to take back.
inline QByteArray OurJoin(const QString& name, const QByteArray& code = {}, const TSeatKey& key = {})
{
    TJoinExtension e;
    e.Flags = TJoinExtension::kKnowsMessages;
    e.TableCode = code;
    e.Key = key;
    return TPayloadWriter().Text(name).Bytes() + JoinExtensionBytes(e);
}

// The block of the last JOIN_ACCEPTED the player received (the seat's key, the table's code).
inline TJoinExtension AcceptedBlock(const TTestPlayer& player)
{
    TJoinExtension block;
    for (const TReceived& r : player.Received)
        if (r.Type == JOIN_ACCEPTED)
            ReadJoinAcceptedExtension(reinterpret_cast<const uint8_t*>(r.Payload.constData()), int32_t(r.Payload.size()), block);
    return block;
}

// A player of the houses: any program, of the original protocol or ours.
class THousePlayer : public TTestPlayer {
public:
    THousePlayer(TLocalHouses& houses, int house, const QString& host) : houses_(houses)
    {
        Id = houses.Connect(*this, house, host);
        Wait = [&houses](const std::function<bool()>& done, int limitMs) { return houses.RunUntil(done, limitMs); };
    }
    void SendRaw(TPacketType type, const QByteArray& payload = {}) override { houses_.Post(Id, type, payload); }
    void Close() override { houses_.Hangup(Id); }
    // Joins as our program does, at the table of code (empty: the default table).
    void JoinOurs(const QString& name, const QByteArray& code, const TSeatKey& key = {})
    {
        SendRaw(JOIN_REQUEST, OurJoin(name, code, key));
    }
    TConnectionId Id;

private:
    TLocalHouses& houses_;
};
