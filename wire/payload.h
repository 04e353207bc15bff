// Payloads of the game messages. All numbers little-endian; a text is a signed 32-bit
// length n followed by n bytes in code page 1254, without a terminating zero.
//
// Each Read... function reads the fields of one message in order and returns true only
// when all of them were present: a payload too short for its fields, or a text whose
// length is negative, above kMaxTextLength or larger than the bytes left, gives false and
// the message is not to be acted on. Bytes beyond the required fields are not looked at.
// Outputs are written only on success.
#pragma once

#include <cstdint>

#include <QByteArray>
#include <QString>

#include "gameinfo.h"
#include "packet.h"

class TPayloadReader {
public:
    TPayloadReader(const uint8_t* buf, int32_t count);

    bool Byte(uint8_t& value);
    bool Text(QByteArray& bytes); // the text's code page 1254 bytes
    bool Text(QString& text);
    bool Record(TGameInfo& record);
    int32_t Consumed() const { return pos_; } // bytes read so far

private:
    bool Take(int32_t n);

    const uint8_t* buf_;
    int32_t count_;
    int32_t pos_ = 0;
    bool ok_;
};

class TPayloadWriter {
public:
    TPayloadWriter& Byte(uint8_t value);
    // Texts longer than kMaxTextLength bytes are cut to that length (a receiver would
    // refuse the whole message).
    TPayloadWriter& Text(const QString& text);
    TPayloadWriter& Text(const QByteArray& cp1254);
    TPayloadWriter& Record(const TGameInfo& record);

    const QByteArray& Bytes() const { return bytes_; }
    const uint8_t* Data() const { return reinterpret_cast<const uint8_t*>(bytes_.constData()); }
    int32_t Size() const { return int32_t(bytes_.size()); }

private:
    QByteArray bytes_;
};

bool ReadGameRecord(const uint8_t* buf, int32_t count, TGameInfo& record);       // 1
bool ReadChatText(const uint8_t* buf, int32_t count, QString& text);             // 2
bool ReadJoinAccepted(const uint8_t* buf, int32_t count, uint8_t& seat, QString& text); // 3
bool ReadStatusText(const uint8_t* buf, int32_t count, QString& text);           // 4
bool ReadSeatName(const uint8_t* buf, int32_t count, uint8_t& seat, QString& name); // 5
bool ReadTrickTaker(const uint8_t* buf, int32_t count, uint8_t& seat);            // 7
bool ReadContractChoice(const uint8_t* buf, int32_t count, uint8_t& contract);    // 11
bool ReadCardPlay(const uint8_t* buf, int32_t count, uint8_t& seat, uint8_t& suit,
                  uint8_t& value);                                                // 12
bool ReadJoinRequest(const uint8_t* buf, int32_t count, QString& name);          // 13
// TABLE_FULL, TRICK_CLEAR, NEW_GAME, START_NOW, WAIT_FOR_PLAYERS carry nothing to read.
