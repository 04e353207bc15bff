#include "tablestate.h"

#include <algorithm>
#include <cstring>

#include <QDir>
#include <QFile>

#include "cp1254.h"
#include "crc.h"
#include "payload.h"
#include "seatnames.h"

namespace {

constexpr char kMagic[4] = {'Z', 'T', 'B', 'L'};
constexpr int kStateHeaderSize = 4 + 2 + 4 + 4;
constexpr int kMaxCodeBytes = 8;
constexpr int kMaxTableNameBytes = 64;
constexpr int kMaxHostBytes = 64; // an IPv6 address in text with room to spare
constexpr uint8_t kOpenHands = 1, kLocked = 2, kDefault = 4;
constexpr uint8_t kExtended = 1, kRemoved = 2, kComputerPlays = 4; // kComputerPlays: version 2

// A code names a file: capital letters and digits only.
bool IsSafeCode(const QByteArray& code)
{
    return std::all_of(code.begin(), code.end(), [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); });
}

void PutNumber(QByteArray& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(char(value >> (8 * i) & 0xFF));
}

uint32_t Number(const QByteArray& in, int at, int bytes)
{
    uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= uint32_t(uint8_t(in[at + i])) << (8 * i);
    return value;
}

// Reads the body's fields in order; the first one missing or out of range stops it.
class TBodyReader {
public:
    TBodyReader(const QByteArray& body)
        : reader_(reinterpret_cast<const uint8_t*>(body.constData()), int32_t(body.size())), size_(body.size())
    {
    }
    bool Byte(uint8_t& value, uint8_t most) { return reader_.Byte(value) && value <= most; }
    bool Short(int& value, int most)
    {
        uint8_t low = 0, high = 0;
        if (!reader_.Byte(low) || !reader_.Byte(high))
            return false;
        value = low | high << 8;
        return value <= most;
    }
    bool Text(QByteArray& text, int most) { return reader_.Text(text) && text.size() <= most; }
    bool Record(TGameInfo& g) { return reader_.Record(g); }
    bool Key(TSeatKey& key)
    {
        for (uint8_t& b : key)
            if (!reader_.Byte(b))
                return false;
        return true;
    }
    bool AtEnd() const { return reader_.Consumed() == size_; }

private:
    TPayloadReader reader_;
    qsizetype size_;
};

bool ReadBody(const QByteArray& body, uint32_t version, TTableState& state, QString& why)
{
    TBodyReader in(body);
    if (!in.Record(state.Record))
        return why = QStringLiteral("the record is cut short"), false;
    if (!IsValidGameInfo(state.Record))
        return why = QStringLiteral("the record is not consistent"), false;
    uint8_t flags = 0, count = 0;
    QByteArray code, name;
    if (!in.Byte(flags, kOpenHands | kLocked | kDefault) || !in.Byte(state.Level, 1) ||
        !in.Short(state.TurnClock.CardS, kMaxTurnClockS) || !in.Short(state.TurnClock.ContractS, kMaxTurnClockS) ||
        !in.Text(code, kMaxCodeBytes) || !IsSafeCode(code) || !in.Text(name, kMaxTableNameBytes) || !in.Byte(count, kSeatCount))
        return why = QStringLiteral("a setting of the table is missing or out of range"), false;
    state.OpenHands = flags & kOpenHands;
    state.Locked = flags & kLocked;
    state.Default = flags & kDefault;
    state.Code = QString::fromLatin1(code);
    state.Name = FromCp1254(name);
    for (int i = 0; i < count; ++i) {
        TSeatState seat;
        uint8_t seatFlags = 0;
        QByteArray host;
        const bool second = version >= 2;
        if (!in.Byte(seat.Seat, kSeatCount - 1) || !in.Byte(seat.Kind, 2) || seat.Kind == 0 ||
            !in.Byte(seatFlags, kExtended | kRemoved | (second ? kComputerPlays : 0)) ||
            (second && !in.Byte(seat.TimeoutsInARow, kTimeoutsInARow)) || !in.Text(seat.Name, kMaxNameBytes) ||
            !in.Text(seat.Requested, kMaxNameBytes) || !in.Text(host, kMaxHostBytes) || !in.Key(seat.Key))
            return why = QStringLiteral("seat entry %1 is missing or out of range").arg(i), false;
        if (!state.Seats.isEmpty() && seat.Seat <= state.Seats.back().Seat)
            return why = QStringLiteral("the seats are not in order"), false;
        seat.Extended = seatFlags & kExtended;
        seat.Removed = seatFlags & kRemoved;
        seat.ComputerPlays = seatFlags & kComputerPlays;
        seat.Host = QString::fromLatin1(host);
        state.Seats.append(seat);
    }
    if (!in.AtEnd())
        return why = QStringLiteral("bytes follow the last seat"), false;
    return true;
}

} // namespace

bool TTableState::operator==(const TTableState& other) const
{
    return std::memcmp(&Record, &other.Record, sizeof Record) == 0 && Seats == other.Seats &&
           TurnClock == other.TurnClock && Level == other.Level && OpenHands == other.OpenHands &&
           Locked == other.Locked && Code == other.Code && Name == other.Name && Default == other.Default;
}

QByteArray TableStateBytes(const TTableState& state)
{
    TPayloadWriter body;
    body.Record(state.Record)
        .Byte(uint8_t((state.OpenHands ? kOpenHands : 0) | (state.Locked ? kLocked : 0) | (state.Default ? kDefault : 0)))
        .Byte(state.Level)
        .Byte(uint8_t(state.TurnClock.CardS))
        .Byte(uint8_t(state.TurnClock.CardS >> 8))
        .Byte(uint8_t(state.TurnClock.ContractS))
        .Byte(uint8_t(state.TurnClock.ContractS >> 8))
        .Text(state.Code.toLatin1().left(kMaxCodeBytes))
        .Text(ToCp1254(state.Name).left(kMaxTableNameBytes))
        .Byte(uint8_t(state.Seats.size()));
    for (const TSeatState& seat : state.Seats) {
        body.Byte(seat.Seat)
            .Byte(seat.Kind)
            .Byte(uint8_t((seat.Extended ? kExtended : 0) | (seat.Removed ? kRemoved : 0) |
                          (seat.ComputerPlays ? kComputerPlays : 0)))
            .Byte(seat.TimeoutsInARow)
            .Text(seat.Name.left(kMaxNameBytes))
            .Text(seat.Requested.left(kMaxNameBytes))
            .Text(seat.Host.toLatin1().left(kMaxHostBytes));
        for (const uint8_t b : seat.Key)
            body.Byte(b);
    }
    return SealTableState(body.Bytes());
}

QByteArray SealTableState(const QByteArray& body, uint16_t version)
{
    QByteArray out(kMagic, sizeof kMagic);
    PutNumber(out, version, 2);
    PutNumber(out, uint32_t(body.size()), 4);
    PutNumber(out, Crc32().Calculate(body.constData(), std::size_t(body.size())), 4);
    return out + body;
}

bool ReadTableState(const QByteArray& bytes, TTableState& state, QString& why)
{
    if (bytes.size() < kStateHeaderSize || std::memcmp(bytes.constData(), kMagic, sizeof kMagic) != 0)
        return why = QStringLiteral("not a table state (%1 bytes)").arg(bytes.size()), false;
    const uint32_t version = Number(bytes, 4, 2);
    if (version < 1 || version > kTableStateVersion)
        return why = QStringLiteral("version %1 is not known").arg(version), false;
    const QByteArray body = bytes.mid(kStateHeaderSize);
    if (Number(bytes, 6, 4) != uint32_t(body.size()))
        return why = QStringLiteral("%1 bytes of %2 announced").arg(body.size()).arg(Number(bytes, 6, 4)), false;
    if (Number(bytes, 10, 4) != Crc32().Calculate(body.constData(), std::size_t(body.size())))
        return why = QStringLiteral("the checksum does not match"), false;
    TTableState read;
    if (!ReadBody(body, version, read, why))
        return false;
    state = read;
    return true;
}

bool ReadTableStateFile(const QString& path, TTableState& state, QString& why)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return why = file.errorString(), false;
    // Four seats with the longest texts take well under this.
    constexpr qint64 kMaxBytes = 16 * 1024;
    const QByteArray bytes = file.read(kMaxBytes + 1);
    if (bytes.size() > kMaxBytes)
        return why = QStringLiteral("the file is too large"), false;
    return ReadTableState(bytes, state, why);
}

QString TableStatePath(const QString& folder, const QString& code)
{
    const bool named = !code.isEmpty() && IsSafeCode(code.toLatin1());
    return QDir(folder).filePath((named ? code : QStringLiteral("table")) + QStringLiteral(".table"));
}
