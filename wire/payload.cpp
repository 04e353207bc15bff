#include "payload.h"

#include <algorithm>
#include <cstring>

#include "cp1254.h"
#include "packet.h"

TPayloadReader::TPayloadReader(const uint8_t* buf, int32_t count)
    : buf_(buf), count_(count < 0 ? 0 : count), ok_(buf != nullptr || count == 0)
{
    if (buf_ == nullptr)
        count_ = 0;
}

bool TPayloadReader::Take(int32_t n)
{
    if (!ok_ || n < 0 || n > count_ - pos_) {
        ok_ = false;
        return false;
    }
    return true;
}

bool TPayloadReader::Byte(uint8_t& value)
{
    if (!Take(1))
        return false;
    value = buf_[pos_++];
    return true;
}

bool TPayloadReader::Text(QByteArray& bytes)
{
    if (!Take(4))
        return false;
    int32_t length;
    std::memcpy(&length, buf_ + pos_, 4);
    if (length < 0 || length > kMaxTextLength || !Take(4 + length)) {
        ok_ = false;
        return false;
    }
    pos_ += 4;
    bytes = QByteArray(reinterpret_cast<const char*>(buf_ + pos_), length);
    pos_ += length;
    return true;
}

bool TPayloadReader::Text(QString& text)
{
    QByteArray bytes;
    if (!Text(bytes))
        return false;
    text = FromCp1254(bytes);
    return true;
}

bool TPayloadReader::Record(TGameInfo& record)
{
    if (!Take(int32_t(sizeof record)))
        return false;
    std::memcpy(&record, buf_ + pos_, sizeof record);
    pos_ += int32_t(sizeof record);
    return true;
}

TPayloadWriter& TPayloadWriter::Byte(uint8_t value)
{
    bytes_.append(char(value));
    return *this;
}

TPayloadWriter& TPayloadWriter::Text(const QString& text)
{
    return Text(ToCp1254(text));
}

TPayloadWriter& TPayloadWriter::Text(const QByteArray& cp1254)
{
    const int32_t length = int32_t(std::min<qsizetype>(cp1254.size(), kMaxTextLength));
    bytes_.append(reinterpret_cast<const char*>(&length), 4);
    bytes_.append(cp1254.constData(), length);
    return *this;
}

TPayloadWriter& TPayloadWriter::Record(const TGameInfo& record)
{
    bytes_.append(reinterpret_cast<const char*>(&record), sizeof record);
    return *this;
}

bool ReadGameRecord(const uint8_t* buf, int32_t count, TGameInfo& record)
{
    TPayloadReader r(buf, count);
    TGameInfo read;
    if (!r.Record(read))
        return false;
    record = read;
    return true;
}

namespace {

bool ReadOneText(const uint8_t* buf, int32_t count, QString& text)
{
    TPayloadReader r(buf, count);
    QString read;
    if (!r.Text(read))
        return false;
    text = read;
    return true;
}

bool ReadSeatAndText(const uint8_t* buf, int32_t count, uint8_t& seat, QString& text)
{
    TPayloadReader r(buf, count);
    uint8_t s = 0;
    QString read;
    if (!r.Byte(s) || !r.Text(read))
        return false;
    seat = s;
    text = read;
    return true;
}

bool ReadOneByte(const uint8_t* buf, int32_t count, uint8_t& value)
{
    TPayloadReader r(buf, count);
    uint8_t v = 0;
    if (!r.Byte(v))
        return false;
    value = v;
    return true;
}

} // namespace

bool ReadChatText(const uint8_t* buf, int32_t count, QString& text)
{
    return ReadOneText(buf, count, text);
}

bool ReadJoinAccepted(const uint8_t* buf, int32_t count, uint8_t& seat, QString& text)
{
    return ReadSeatAndText(buf, count, seat, text);
}

bool ReadStatusText(const uint8_t* buf, int32_t count, QString& text)
{
    return ReadOneText(buf, count, text);
}

bool ReadSeatName(const uint8_t* buf, int32_t count, uint8_t& seat, QString& name)
{
    return ReadSeatAndText(buf, count, seat, name);
}

bool ReadTrickTaker(const uint8_t* buf, int32_t count, uint8_t& seat)
{
    return ReadOneByte(buf, count, seat);
}

bool ReadContractChoice(const uint8_t* buf, int32_t count, uint8_t& contract)
{
    return ReadOneByte(buf, count, contract);
}

bool ReadCardPlay(const uint8_t* buf, int32_t count, uint8_t& seat, uint8_t& suit, uint8_t& value)
{
    TPayloadReader r(buf, count);
    uint8_t s = 0, u = 0, v = 0;
    if (!r.Byte(s) || !r.Byte(u) || !r.Byte(v))
        return false;
    seat = s;
    suit = u;
    value = v;
    return true;
}

bool ReadJoinRequest(const uint8_t* buf, int32_t count, QString& name)
{
    return ReadOneText(buf, count, name);
}
