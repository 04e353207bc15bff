#include "hostilepeers.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "payload.h"

namespace {

int32_t Int32At(const QByteArray& bytes, int offset)
{
    int32_t v;
    std::memcpy(&v, bytes.constData() + offset, 4);
    return v;
}

// A 16-byte header announcing size, with the CRC that a frame of 16 bytes would carry.
QByteArray HeaderAnnouncing(uint8_t type, int32_t size, uint32_t stamp)
{
    QByteArray header = BuildFrame(type, stamp, nullptr, 0);
    std::memcpy(header.data() + 4, &size, 4);
    const uint32_t crc = FrameCrc(header.constData(), kHeaderSize);
    std::memcpy(header.data() + 12, &crc, 4);
    return header;
}

// Simple deterministic bytes (xorshift), so a run can be repeated.
class TBytes {
public:
    explicit TBytes(uint32_t seed) : state_(seed ? seed : 1) {}
    uint32_t Next()
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    QByteArray Fill(int n)
    {
        QByteArray bytes(n, '\0');
        for (char& c : bytes)
            c = char(Next() & 0xFF);
        return bytes;
    }

private:
    uint32_t state_;
};

uint32_t NextPeerStamp()
{
    static uint32_t next = 0x40000000;
    return next += 0x1000;
}

} // namespace

// ---- TRawPeer ----

TRawPeer::TRawPeer(TAttackReport& report) : report_(report), socket_(new QTcpSocket), stamp_(NextPeerStamp())
{
    QObject::connect(socket_, &QTcpSocket::connected, socket_, [this] {
        open_ = true;
        openedAt_.start();
        ++report_.Connections;
        if (OnConnected)
            OnConnected();
    });
    QObject::connect(socket_, &QTcpSocket::readyRead, socket_, [this] { Read(); });
    QObject::connect(socket_, &QTcpSocket::disconnected, socket_, [this] { Gone(!closing_); });
    QObject::connect(socket_, &QTcpSocket::errorOccurred, socket_, [this](QAbstractSocket::SocketError) {
        if (socket_->state() == QAbstractSocket::UnconnectedState)
            Gone(open_ && !closing_);
    });
}

TRawPeer::~TRawPeer()
{
    socket_->disconnect();
    socket_->abort();
    socket_->deleteLater();
}

void TRawPeer::Open(const QString& host, quint16 port)
{
    socket_->connectToHost(host, port);
}

void TRawPeer::Write(const QByteArray& bytes)
{
    if (!open_ || closed_)
        return;
    socket_->write(bytes);
    report_.BytesSent += bytes.size();
}

void TRawPeer::SendFrame(TPacketType type, const QByteArray& payload)
{
    Write(BuildFrame(type, ++stamp_, payload.constData(), int32_t(payload.size())));
    ++report_.FramesSent;
}

void TRawPeer::MarkOffence()
{
    offenceAt_.start();
}

void TRawPeer::Close(bool graceful)
{
    if (closed_)
        return;
    closing_ = true;
    if (graceful)
        socket_->disconnectFromHost();
    else
        socket_->abort();
    Gone(false);
}

void TRawPeer::Gone(bool byDealer)
{
    if (closed_)
        return;
    closed_ = true;
    if (open_) {
        report_.LongestOpenMs = std::max(report_.LongestOpenMs, openedAt_.elapsed());
        if (byDealer) {
            ++report_.ClosedByDealer;
            if (offenceAt_.isValid() && offenceAt_.elapsed() <= kPromptCloseMs)
                ++report_.ClosedPromptly;
        }
    }
    open_ = false;
    if (OnClosed)
        OnClosed();
}

void TRawPeer::Read()
{
    incoming_ += socket_->readAll();
    while (incoming_.size() >= kHeaderSize) {
        const int32_t size = Int32At(incoming_, 4);
        if (size < kHeaderSize || size > kMaxFrameSize) {
            incoming_.clear(); // not the game's framing; nothing more can be read
            return;
        }
        if (incoming_.size() < size)
            return;
        const auto type = TPacketType(uint8_t(incoming_[0]));
        const auto stamp = uint32_t(Int32At(incoming_, 8));
        const QByteArray payload = incoming_.mid(kHeaderSize, size - kHeaderSize);
        incoming_.remove(0, size);
        ++report_.FramesReceived;
        if (type == ACK)
            ++report_.AcksReceived;
        else if (type == CRCERROR)
            ++report_.CrcErrors;
        else if (type == TABLE_FULL)
            ++report_.TableFull;
        if (AckData && type != ACK && type != CRCERROR && open_)
            socket_->write(BuildControlFrame(ACK, stamp));
        if (OnFrame)
            OnFrame(type, stamp, payload);
        if (closed_)
            return;
    }
}

// ---- THostileAttack ----

THostileAttack::THostileAttack(const QString& name, int deadlineMs)
{
    report_.Name = name;
    deadline_.setSingleShot(true);
    deadline_.setInterval(deadlineMs);
    QObject::connect(&deadline_, &QTimer::timeout, [this] {
        for (auto& peer : peers_)
            peer->Close();
        Finish();
    });
}

THostileAttack::~THostileAttack() = default;

TRawPeer& THostileAttack::NewPeer()
{
    return *peers_.emplace_back(std::make_unique<TRawPeer>(report_));
}

void THostileAttack::ArmDeadline()
{
    deadline_.start();
}

void THostileAttack::Finish()
{
    deadline_.stop();
    report_.Done = true;
}

void THostileAttack::FinishWhenAllClosed()
{
    if (std::all_of(peers_.begin(), peers_.end(), [](const auto& p) { return p->Closed(); }))
        Finish();
}

namespace {

// ---- The attacks ----

class TChurn : public THostileAttack {
public:
    TChurn(int count, int parallel)
        : THostileAttack(QStringLiteral("open and close %1 times").arg(count), 120000),
          count_(count), parallel_(parallel)
    {
    }
    void Start(const QString& host, quint16 port) override
    {
        host_ = host;
        port_ = port;
        ArmDeadline();
        for (int i = 0; i < parallel_; ++i)
            Next();
    }

private:
    void Next()
    {
        // Closed peers are let go at once, so the attack's own memory stays flat.
        std::erase_if(peers_, [](const auto& p) { return p->Closed(); });
        if (started_ == count_) {
            if (peers_.empty())
                Finish();
            return;
        }
        const bool graceful = started_++ % 2 == 0;
        TRawPeer& peer = NewPeer();
        TRawPeer* p = &peer;
        peer.OnConnected = [p, graceful] { p->Close(graceful); };
        peer.OnClosed = [this] { QTimer::singleShot(0, [this] { Next(); }); };
        peer.Open(host_, port_);
    }

    int count_, parallel_, started_ = 0;
    QString host_;
    quint16 port_ = 0;
};

class TBadSize : public THostileAttack {
public:
    explicit TBadSize(int32_t size)
        : THostileAttack(QStringLiteral("frame size %1").arg(size), 15000), size_(size)
    {
    }
    void Start(const QString& host, quint16 port) override
    {
        ArmDeadline();
        TRawPeer& peer = NewPeer();
        TRawPeer* p = &peer;
        peer.OnConnected = [this, p] {
            p->MarkOffence();
            if (size_ > kHeaderSize && size_ <= 16 * 1024) {
                // A whole frame with a good CRC, just too long to be one of the game's.
                const QByteArray payload(size_ - kHeaderSize, 'x');
                p->Write(BuildFrame(CHAT_TEXT, 7, payload.constData(), int32_t(payload.size())));
            } else {
                p->Write(HeaderAnnouncing(CARD_PLAY, size_, 7));
                p->Write(QByteArray(size_ > kHeaderSize ? 64 * 1024 : 32, '\x55'));
            }
            ++report_.FramesSent;
        };
        peer.OnClosed = [this] { Finish(); };
        peer.Open(host, port);
    }

private:
    int32_t size_;
};

class TTrickle : public THostileAttack {
public:
    explicit TTrickle(int stepMs)
        : THostileAttack(QStringLiteral("one frame, a byte every %1 ms").arg(stepMs), 20000), stepMs_(stepMs)
    {
        frame_ = BuildFrame(WAIT_FOR_PLAYERS, 0x7E7E7E7E, nullptr, 0);
        step_.setInterval(stepMs_);
        QObject::connect(&step_, &QTimer::timeout, [this] { Step(); });
    }
    void Start(const QString& host, quint16 port) override
    {
        ArmDeadline();
        TRawPeer& peer = NewPeer();
        peer_ = &peer;
        peer.OnConnected = [this] { step_.start(); };
        peer.OnFrame = [this](TPacketType type, uint32_t stamp, const QByteArray&) {
            if (type == ACK && stamp == 0x7E7E7E7E)
                peer_->Close(); // the dealer took the frame whole: done
        };
        peer.OnClosed = [this] {
            step_.stop();
            Finish();
        };
        peer.Open(host, port);
    }

private:
    void Step()
    {
        if (sent_ < frame_.size()) {
            peer_->Write(frame_.mid(sent_++, 1));
            if (sent_ == frame_.size())
                ++report_.FramesSent;
        }
    }

    int stepMs_;
    int sent_ = 0;
    QByteArray frame_;
    QTimer step_;
    TRawPeer* peer_ = nullptr;
};

class TRandomBytes : public THostileAttack {
public:
    TRandomBytes(int count, bool framed, uint32_t seed)
        : THostileAttack(QStringLiteral("%1 random bytes%2").arg(count).arg(framed ? QStringLiteral(", framed") : QString()),
                         20000),
          count_(count), framed_(framed), bytes_(seed)
    {
    }
    void Start(const QString& host, quint16 port) override
    {
        ArmDeadline();
        TRawPeer& peer = NewPeer();
        TRawPeer* p = &peer;
        peer.OnConnected = [this, p] {
            p->MarkOffence();
            int left = count_;
            while (left > 0) {
                if (!framed_) {
                    const int n = std::min(left, 1000);
                    p->Write(bytes_.Fill(n));
                    left -= n;
                    continue;
                }
                // A piece the size its header announces, everything else random.
                const int n = std::min(left, kHeaderSize + int(bytes_.Next() % 440));
                QByteArray piece = bytes_.Fill(n);
                const int32_t size = std::max(n, kHeaderSize);
                std::memcpy(piece.data() + 4, &size, 4);
                p->Write(piece);
                ++report_.FramesSent;
                left -= n;
            }
            // Framed garbage is refused frame by frame; the connection then stays as long
            // as the dealer keeps a refused one.
        };
        peer.OnClosed = [this] { Finish(); };
        peer.Open(host, port);
    }

private:
    int count_;
    bool framed_;
    TBytes bytes_;
};

class TForge : public THostileAttack {
public:
    TForge(bool join, std::function<TGameInfo()> peek)
        : THostileAttack(join ? QStringLiteral("forged card plays after JOIN_REQUEST")
                              : QStringLiteral("forged card plays without a seat"),
                         20000),
          join_(join), peek_(std::move(peek))
    {
    }
    void Start(const QString& host, quint16 port) override
    {
        ArmDeadline();
        TRawPeer& peer = NewPeer();
        TRawPeer* p = &peer;
        peer.OnConnected = [this, p] {
            if (join_) {
                p->SendFrame(JOIN_REQUEST, TPayloadWriter().Text(QStringLiteral("Sahte")).Bytes());
            }
            for (int seat = 0; seat < kSeatCount; ++seat)
                for (const auto& [suit, value] : Cards(seat))
                    p->SendFrame(CARD_PLAY, TPayloadWriter().Byte(uint8_t(seat)).Byte(suit).Byte(value).Bytes());
            p->Write(BuildControlFrame(ACK, 0x13572468));
            p->Write(BuildControlFrame(CRCERROR, CARD_PLAY));
            report_.FramesSent += 2;
        };
        peer.OnClosed = [this] { Finish(); };
        peer.Open(host, port);
    }

private:
    std::vector<std::pair<uint8_t, uint8_t>> Cards(int seat) const
    {
        std::vector<std::pair<uint8_t, uint8_t>> cards;
        if (!peek_) {
            for (uint8_t suit = 0; suit < 4; ++suit)
                for (uint8_t value = 0; value < 13; ++value)
                    cards.emplace_back(suit, value);
            return cards;
        }
        // The plays the dealer would be most tempted by: cards the seat holds and could play.
        const TGameInfo g = peek_();
        for (int i = 0; i < g.CardCount[seat] && i < 13; ++i)
            if (CanPlay(g, seat, g.CardSuit[seat][i], g.CardValue[seat][i]))
                cards.emplace_back(g.CardSuit[seat][i], g.CardValue[seat][i]);
        return cards;
    }

    bool join_;
    std::function<TGameInfo()> peek_;
};

class TSilent : public THostileAttack {
public:
    TSilent(const QString& name, int deadlineMs)
        : THostileAttack(name.isEmpty() ? QStringLiteral("never acknowledges")
                                        : QStringLiteral("joins as %1, never acknowledges").arg(name),
                         deadlineMs),
          name_(name)
    {
    }
    void Start(const QString& host, quint16 port) override
    {
        ArmDeadline();
        TRawPeer& peer = NewPeer();
        TRawPeer* p = &peer;
        peer.OnConnected = [this, p] {
            if (name_.isEmpty())
                return;
            p->SendFrame(JOIN_REQUEST, TPayloadWriter().Text(name_).Bytes());
        };
        peer.OnClosed = [this] { Finish(); };
        peer.Open(host, port);
    }

private:
    QString name_;
};

} // namespace

std::unique_ptr<THostileAttack> MakeChurnAttack(int count, int parallel)
{
    return std::make_unique<TChurn>(count, std::max(1, parallel));
}

std::unique_ptr<THostileAttack> MakeBadSizeAttack(int32_t size)
{
    return std::make_unique<TBadSize>(size);
}

std::unique_ptr<THostileAttack> MakeTrickleAttack(int stepMs)
{
    return std::make_unique<TTrickle>(stepMs);
}

std::unique_ptr<THostileAttack> MakeRandomBytesAttack(int count, bool framed, uint32_t seed)
{
    return std::make_unique<TRandomBytes>(count, framed, seed);
}

std::unique_ptr<THostileAttack> MakeForgeAttack(bool join, std::function<TGameInfo()> peek)
{
    return std::make_unique<TForge>(join, std::move(peek));
}

std::unique_ptr<THostileAttack> MakeSilentAttack(const QString& name, int deadlineMs)
{
    return std::make_unique<TSilent>(name, deadlineMs);
}

// ---- THostileCrowd ----

THostileCrowd::THostileCrowd(QString host, quint16 port, TCrowdOptions options)
    : host_(std::move(host)), port_(port)
{
    attacks_.push_back(MakeChurnAttack(options.Churn, options.ChurnParallel));
    for (int32_t size : {-1, 0, 15, 8212, std::numeric_limits<int32_t>::max()})
        attacks_.push_back(MakeBadSizeAttack(size));
    attacks_.push_back(MakeTrickleAttack());
    attacks_.push_back(MakeRandomBytesAttack(10000, false, options.Seed));
    attacks_.push_back(MakeRandomBytesAttack(10000, true, options.Seed + 1));
    attacks_.push_back(MakeForgeAttack(false, options.Peek));
    attacks_.push_back(MakeForgeAttack(true, options.Peek));
    attacks_.push_back(MakeSilentAttack(QStringLiteral("Sessiz")));
}

void THostileCrowd::Start()
{
    for (auto& attack : attacks_)
        attack->Start(host_, port_);
}

bool THostileCrowd::Done() const
{
    return std::all_of(attacks_.begin(), attacks_.end(), [](const auto& a) { return a->Done(); });
}

std::vector<TAttackReport> THostileCrowd::Reports() const
{
    std::vector<TAttackReport> reports;
    for (const auto& attack : attacks_)
        reports.push_back(attack->Report());
    return reports;
}
