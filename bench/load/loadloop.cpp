#include "loadloop.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <queue>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QByteArray>

#include "gameinfo.h"
#include "packetlink.h"
#include "extension.h"
#include "payload.h"
#include "tablemessages.h"

namespace {

// Connections made and not yet seated, at most: a server's listen queue is short, and a
// refused SYN costs a second.
constexpr int kMaxJoining = 128;
// A card that has not reached all four players after this long is counted as unseen.
constexpr int64_t kGiveUpNs = int64_t(30) * 1000 * 1000 * 1000;

int64_t MsToNs(int64_t ms) { return ms * 1000 * 1000; }

} // namespace

struct TLoadLoop::TConn {
    TTable* Table = nullptr;
    int Index = 0;            // 0 is the table's host, which joins first
    int Fd = -1;
    bool Open = false;        // connected (the link exists)
    int Seat = -1;
    std::unique_ptr<TPacketLink> Link;
    QByteArray Out;           // bytes the system has not taken yet
    TGameInfo G{};
    bool HasRecord = false;
};

struct TLoadLoop::TTable {
    struct TPending {
        int Hand;
        uint8_t Suit, Value;
        int64_t SentNs;
        unsigned SeenBy = 0;   // bit per player
    };
    int Id = 0;
    TLoadTarget Target;
    TConn Conns[kSeatCount];
    int Seated = 0;
    int Game = 0;              // games started by the host
    bool Started = false;
    bool Failed = false;
    int64_t LastMoveNs = 0;
    int64_t DueNs = -1;        // when the next move goes; -1: none scheduled
    int64_t ActedState = -1;   // the state of the game last acted on
    QByteArray Code;           // the table's code at a server of many tables
    std::vector<TPending> Pending;
};

TLoadLoop::TLoadLoop(TLoadControl& control, std::vector<TLoadTarget> tables) : control_(control)
{
    for (size_t i = 0; i < tables.size(); ++i) {
        auto t = std::make_unique<TTable>();
        t->Id = int(i);
        t->Target = tables[i];
        for (int k = 0; k < kSeatCount; ++k) {
            t->Conns[k].Table = t.get();
            t->Conns[k].Index = k;
        }
        tables_.push_back(std::move(t));
    }
    epoll_ = ::epoll_create1(EPOLL_CLOEXEC);
}

TLoadLoop::~TLoadLoop()
{
    for (auto& t : tables_)
        for (TConn& c : t->Conns)
            if (c.Fd >= 0)
                ::close(c.Fd);
    if (epoll_ >= 0)
        ::close(epoll_);
}

void TLoadLoop::Connect(TConn& c)
{
    c.Fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (c.Fd < 0) {
        std::perror("zorbela-load: socket");
        Drop(c, "no socket");
        return;
    }
    const int one = 1;
    ::setsockopt(c.Fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    if (c.Table->Target.SourceAddr != 0) {
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(c.Table->Target.SourceAddr);
        ::bind(c.Fd, reinterpret_cast<sockaddr*>(&local), sizeof local);
    }
    sockaddr_in server{};
    server.sin_family = AF_INET;
    server.sin_port = htons(c.Table->Target.Port);
    server.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(c.Fd, reinterpret_cast<sockaddr*>(&server), sizeof server) != 0 && errno != EINPROGRESS) {
        Drop(c, "connect failed");
        return;
    }
    epoll_event event{};
    event.events = EPOLLIN | EPOLLOUT | EPOLLRDHUP | EPOLLET;
    event.data.ptr = &c;
    ::epoll_ctl(epoll_, EPOLL_CTL_ADD, c.Fd, &event);
}

void TLoadLoop::Drop(TConn& c, const char* why)
{
    TTable& t = *c.Table;
    if (c.Fd >= 0) {
        ::epoll_ctl(epoll_, EPOLL_CTL_DEL, c.Fd, nullptr);
        ::close(c.Fd);
        c.Fd = -1;
    }
    c.Open = false;
    if (!t.Failed && !control_.Stop.load()) {
        t.Failed = true;
        control_.Failed.fetch_add(1);
        if (t.Seated < kSeatCount)
            connecting_ -= kSeatCount - t.Seated;
        std::fprintf(stderr, "zorbela-load: table %d, player %d: %s\n", t.Id, c.Index, why);
    }
}

void TLoadLoop::Flush(TConn& c)
{
    while (c.Fd >= 0 && !c.Out.isEmpty()) {
        const ssize_t n = ::send(c.Fd, c.Out.constData(), size_t(c.Out.size()), MSG_NOSIGNAL);
        if (n < 0) {
            if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
                Drop(c, "write failed");
            return; // the next EPOLLOUT goes on
        }
        c.Out.remove(0, qsizetype(n));
    }
}

void TLoadLoop::SendFrame(TConn& c, uint8_t type, const void* payload, int32_t length)
{
    if (!c.Open)
        return;
    QByteArray frame = BuildFrame(type, FrameStamp(), payload, length);
    if (!c.Link->AdmitFrame(frame.size())) {
        Drop(c, "too many frames unacknowledged");
        return;
    }
    c.Link->AppendWaiting(std::move(frame));
    c.Link->SelectOutgoing();
    Flush(c);
}

void TLoadLoop::Readable(TConn& c)
{
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::recv(c.Fd, buffer, sizeof buffer, 0);
        if (n == 0) {
            Drop(c, "the server closed the connection");
            return;
        }
        if (n < 0) {
            if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
                Drop(c, "read failed");
            break;
        }
        c.Link->AppendIncoming(buffer, qsizetype(n));
        while (c.Fd >= 0 && c.Link->CheckIncomingBuffer()) {
            const QByteArray frame = c.Link->RecvPacketBuffer();
            Message(c, uint8_t(frame.at(0)), reinterpret_cast<const uint8_t*>(frame.constData()) + kHeaderSize,
                    int32_t(frame.size()) - kHeaderSize);
        }
        if (c.Fd < 0)
            return;
        if (c.Link->Broken()) {
            Drop(c, "a broken frame from the server");
            return;
        }
    }
    Flush(c);
}

void TLoadLoop::Message(TConn& c, uint8_t type, const uint8_t* buf, int32_t count)
{
    TTable& t = *c.Table;
    uint8_t seat = kNoSeat;
    QString text;
    if (type == JOIN_ACCEPTED && ReadJoinAccepted(buf, count, seat, text)) {
        c.Seat = seat;
        ++t.Seated;
        --connecting_;
        if (c.Index == 0) // the host is seated: the other three join
            for (int k = 1; k < kSeatCount; ++k)
                Connect(t.Conns[k]);
    } else if (type == SEAT_NAME && c.Index == 0 && ReadSeatName(buf, count, seat, text)
               && seat == kSeatCount - 1 && t.Game == 0) {
        ++t.Game; // the table is complete: the host starts the game
        SendFrame(c, NEW_GAME, nullptr, 0);
    } else if (type == GAME_RECORD && ReadGameRecord(buf, count, c.G)) {
        c.HasRecord = true;
        Record(c);
    } else if (type == TABLE_CREATED && c.Index == 0) {
        bool ok = false;
        if (!ReadTableAnswer(buf, count, ok, text) || !ok) {
            Drop(c, "no table created");
            return;
        }
        t.Code = text.toLatin1();
        Join(c);
    } else if (type == TABLE_FULL) {
        Drop(c, "the table is full");
    }
}

void TLoadLoop::Record(TConn& c)
{
    TTable& t = *c.Table;
    const TGameInfo& g = c.G;
    if (c.Index == 0 && !t.Started) {
        t.Started = true;
        control_.Started.fetch_add(1);
    }
    const int64_t now = TLoadControl::Now();
    const int hand = ContractsPlayed(g);
    for (auto p = t.Pending.begin(); p != t.Pending.end();) {
        for (int i = 0; i < g.TrickCount && i < kSeatCount; ++i)
            if (hand == p->Hand && g.TrickSuit[i] == p->Suit && g.TrickValue[i] == p->Value)
                p->SeenBy |= 1u << c.Index;
        const bool counted = p->SentNs >= control_.WindowStart.load() && p->SentNs < control_.WindowEnd.load();
        if (p->SeenBy == (1u << kSeatCount) - 1) {
            if (counted)
                figures_.LatencyMs.push_back(double(now - p->SentNs) / 1e6);
            p = t.Pending.erase(p);
        } else if (now - p->SentNs > kGiveUpNs) {
            figures_.Unseen += counted ? 1 : 0;
            p = t.Pending.erase(p);
        } else {
            ++p;
        }
    }
    if (c.Index == 0 && g.Phase == psGameOver && t.ActedState != -2) {
        t.ActedState = -2; // once per game
        ++t.Game;
        SendFrame(c, NEW_GAME, nullptr, 0);
        return;
    }
    Schedule(t);
}

namespace {

// The seat the record waits for, or -1.
int AwaitedSeat(const TGameInfo& g)
{
    if (g.Phase == psChoosing)
        return g.Chooser;
    if (g.Phase == psPlaying && g.TrickCount < kSeatCount)
        return g.Turn;
    return -1;
}

int64_t StateOf(int game, const TGameInfo& g)
{
    return ((int64_t(game) * 32 + ContractsPlayed(g)) * 16 + g.TricksPlayed) * 16 + g.TrickCount * 2
        + (g.Phase == psChoosing ? 1 : 0);
}

} // namespace

void TLoadLoop::Schedule(TTable& t)
{
    if (t.Failed || t.DueNs >= 0)
        return;
    for (TConn& c : t.Conns) {
        if (!c.HasRecord || c.Seat < 0 || AwaitedSeat(c.G) != c.Seat)
            continue;
        if (StateOf(t.Game, c.G) == t.ActedState)
            return;
        t.DueNs = std::max(TLoadControl::Now(), t.LastMoveNs + MsToNs(control_.PaceMs));
        due_.push({t.DueNs, &t});
        return;
    }
}

void TLoadLoop::Act(TTable& t)
{
    t.DueNs = -1;
    for (TConn& c : t.Conns) {
        const TGameInfo& g = c.G;
        if (!c.HasRecord || c.Seat < 0 || AwaitedSeat(g) != c.Seat || StateOf(t.Game, g) == t.ActedState)
            continue;
        const int64_t now = TLoadControl::Now();
        const bool counted = now >= control_.WindowStart.load() && now < control_.WindowEnd.load();
        if (g.Phase == psChoosing) {
            for (uint8_t contract = 0; contract < kContractCount; ++contract) {
                if (ContractAvailable(g, c.Seat, contract)) {
                    t.ActedState = StateOf(t.Game, g);
                    t.LastMoveNs = now;
                    figures_.Moves += counted ? 1 : 0;
                    SendFrame(c, CONTRACT_CHOICE, &contract, 1);
                    return;
                }
            }
            return;
        }
        for (int i = 0; i < HandCount(g, c.Seat); ++i) {
            const uint8_t suit = HandSuit(g, c.Seat, i);
            const uint8_t value = HandValue(g, c.Seat, i);
            if (!CanPlay(g, c.Seat, suit, value))
                continue;
            t.ActedState = StateOf(t.Game, g);
            t.LastMoveNs = now;
            figures_.Moves += counted ? 1 : 0;
            t.Pending.push_back({ContractsPlayed(g), suit, value, now});
            const uint8_t payload[3] = {uint8_t(c.Seat), suit, value};
            SendFrame(c, CARD_PLAY, payload, 3);
            return;
        }
        return;
    }
}

void TLoadLoop::Join(TConn& c)
{
    const QByteArray name = QByteArrayLiteral("L") + QByteArray::number(c.Table->Id) + '_' + QByteArray::number(c.Index);
    QByteArray join = TPayloadWriter().Text(name).Bytes();
    if (c.Table->Target.CreateTable) {
        TJoinExtension block; // knows no extension message: only the table's code
        block.TableCode = c.Table->Code;
        join += JoinExtensionBytes(block);
    }
    SendFrame(c, JOIN_REQUEST, join.constData(), int32_t(join.size()));
}

TLoadFigures TLoadLoop::Run()
{
    std::vector<epoll_event> events(512);
    while (!control_.Stop.load()) {
        while (connecting_ + kSeatCount <= kMaxJoining && nextToJoin_ < tables_.size()) {
            connecting_ += kSeatCount;
            Connect(tables_[nextToJoin_++]->Conns[0]);
        }
        // The moves due, earliest first (an entry whose table was rescheduled since is stale).
        const int64_t now = TLoadControl::Now();
        while (!due_.empty() && due_.top().first <= now) {
            const auto [at, t] = due_.top();
            due_.pop();
            if (t->DueNs == at)
                Act(*t);
        }
        const int64_t due = due_.empty() ? INT64_MAX : due_.top().first;
        const int64_t waitMs = due == INT64_MAX ? 20 : std::clamp<int64_t>((due - now) / 1000000, 0, 20);
        const int n = ::epoll_wait(epoll_, events.data(), int(events.size()), int(waitMs));
        for (int i = 0; i < n; ++i) {
            TConn& c = *static_cast<TConn*>(events[size_t(i)].data.ptr);
            if (c.Fd < 0)
                continue;
            if (!c.Open && (events[size_t(i)].events & (EPOLLOUT | EPOLLERR | EPOLLHUP))) {
                int error = 0;
                socklen_t length = sizeof error;
                ::getsockopt(c.Fd, SOL_SOCKET, SO_ERROR, &error, &length);
                if (error != 0) {
                    Drop(c, "cannot connect");
                    continue;
                }
                c.Open = true;
                c.Link = std::make_unique<TPacketLink>(QStringLiteral("load"),
                                                       [&c](const QByteArray& frame) { c.Out.append(frame); });
                if (c.Index == 0 && c.Table->Target.CreateTable) {
                    TTableSettings settings;
                    settings.Name = QStringLiteral("L%1").arg(c.Table->Id);
                    settings.Flags = TTableSettings::kPrivateHands;
                    const QByteArray create = CreateTablePayload(settings);
                    SendFrame(c, CREATE_TABLE, create.constData(), int32_t(create.size()));
                } else {
                    Join(c);
                }
            }
            if (c.Fd >= 0 && c.Open && (events[size_t(i)].events & EPOLLIN))
                Readable(c);
            if (c.Fd >= 0 && c.Open && (events[size_t(i)].events & EPOLLOUT))
                Flush(c);
            if (c.Fd >= 0 && (events[size_t(i)].events & (EPOLLRDHUP | EPOLLHUP | EPOLLERR)) && c.Open)
                Drop(c, "the connection closed");
        }
    }
    for (auto& t : tables_)
        for (const TConn& c : t->Conns)
            figures_.Connections += c.Open ? 1 : 0;
    return std::move(figures_);
}
