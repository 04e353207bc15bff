#include "tablemessages.h"

#include <algorithm>

#include "cards.h"
#include "extension.h"
#include "payload.h"

namespace {

bool Word(TPayloadReader& r, uint16_t& value)
{
    uint8_t low = 0, high = 0;
    if (!r.Byte(low) || !r.Byte(high))
        return false;
    value = uint16_t(low | (high << 8));
    return true;
}

TPayloadWriter& Word(TPayloadWriter& w, uint16_t value)
{
    return w.Byte(uint8_t(value & 0xFF)).Byte(uint8_t(value >> 8));
}

void WriteSettings(TPayloadWriter& w, const TTableSettings& s)
{
    w.Text(s.Name).Byte(s.Level);
    Word(w, s.CardS);
    Word(w, s.ContractS);
    w.Byte(s.Flags);
}

bool ReadSettings(TPayloadReader& r, TTableSettings& s)
{
    return r.Text(s.Name) && r.Byte(s.Level) && Word(r, s.CardS) && Word(r, s.ContractS) && r.Byte(s.Flags);
}

QByteArray ListingBytes(const TTableListing& t)
{
    TPayloadWriter w;
    w.Text(t.Code);
    WriteSettings(w, t.Settings);
    w.Byte(t.Watchers);
    for (const QByteArray& seat : t.Seats)
        w.Text(seat);
    return w.Bytes();
}

} // namespace

QByteArray NewTableCode()
{
    TRandom entropy = TRandom::System();
    QByteArray code(kTableCodeLength, Qt::Uninitialized);
    for (char& c : code)
        c = kTableCodeAlphabet[entropy.Next(32)];
    return code;
}

bool IsTableCode(const QByteArray& text)
{
    return text.size() == kTableCodeLength && std::all_of(text.begin(), text.end(), [](char c) {
        return c != '\0' && std::find(std::begin(kTableCodeAlphabet), std::end(kTableCodeAlphabet) - 1, c)
            != std::end(kTableCodeAlphabet) - 1;
    });
}

QByteArray TableListPayload(const QList<TTableListing>& tables)
{
    QByteArray body;
    int n = 0;
    for (const TTableListing& t : tables) {
        const QByteArray entry = ListingBytes(t);
        if (2 + body.size() + entry.size() > kMaxPayloadSize || n == 0xFFFF)
            break;
        body += entry;
        ++n;
    }
    TPayloadWriter w;
    Word(w, uint16_t(n));
    return w.Bytes() + body;
}

bool ReadTableList(const uint8_t* buf, int32_t count, QList<TTableListing>& tables)
{
    TPayloadReader r(buf, count);
    uint16_t n = 0;
    if (!Word(r, n))
        return false;
    QList<TTableListing> read;
    for (int i = 0; i < n; ++i) {
        TTableListing t;
        if (!r.Text(t.Code) || !ReadSettings(r, t.Settings) || !r.Byte(t.Watchers))
            return false;
        for (QByteArray& seat : t.Seats)
            if (!r.Text(seat))
                return false;
        read.append(t);
    }
    tables = read;
    return true;
}

QByteArray CreateTablePayload(const TTableSettings& settings)
{
    TPayloadWriter w;
    WriteSettings(w, settings);
    return w.Bytes();
}

bool ReadCreateTable(const uint8_t* buf, int32_t count, TTableSettings& settings)
{
    TPayloadReader r(buf, count);
    TTableSettings read;
    if (!ReadSettings(r, read))
        return false;
    settings = read;
    return true;
}

// The same layout as the answer about a saved game: ok (1), text.
QByteArray TableAnswerPayload(bool ok, const QString& codeOrRefusal)
{
    return GameFileResultPayload(ok, codeOrRefusal);
}

bool ReadTableAnswer(const uint8_t* buf, int32_t count, bool& ok, QString& codeOrRefusal)
{
    return ReadGameFileResult(buf, count, ok, codeOrRefusal);
}

QByteArray WatchTablePayload(const QByteArray& code)
{
    return TPayloadWriter().Text(code).Bytes();
}

bool ReadWatchTable(const uint8_t* buf, int32_t count, QByteArray& code)
{
    TPayloadReader r(buf, count);
    QByteArray read;
    if (!r.Text(read))
        return false;
    code = read;
    return true;
}

QByteArray TurnTimePayload(uint8_t seat, uint32_t msLeft)
{
    TPayloadWriter w;
    w.Byte(seat);
    for (int shift = 0; shift < 32; shift += 8)
        w.Byte(uint8_t(msLeft >> shift));
    return w.Bytes();
}

bool ReadTurnTime(const uint8_t* buf, int32_t count, uint8_t& seat, uint32_t& msLeft)
{
    TPayloadReader r(buf, count);
    uint8_t read[5] = {};
    for (uint8_t& b : read)
        if (!r.Byte(b))
            return false;
    seat = read[0];
    msLeft = uint32_t(read[1]) | uint32_t(read[2]) << 8 | uint32_t(read[3]) << 16 | uint32_t(read[4]) << 24;
    return true;
}
