// Packet frames: a 16-byte header followed by an optional payload. Every frame carries a
// CRC-32 over all of its bytes, computed while the CRC field holds 0xFFFFFFFF.
#pragma once

#include <cstdint>

#include <QByteArray>

enum TPacketType : uint8_t {
    // game messages (data frames, each acknowledged)
    GAME_RECORD = 1,       // both directions, payload: the 440-byte game record
    CHAT_TEXT = 2,         // both directions, payload: text
    JOIN_ACCEPTED = 3,     // dealer -> player, payload: seat, text
    STATUS_TEXT = 4,       // dealer -> player, payload: text
    SEAT_NAME = 5,         // dealer -> player, payload: seat, text (the name)
    TABLE_FULL = 6,        // dealer -> player, no payload
    TRICK_TAKER = 7,       // dealer -> player, payload: seat
    TRICK_CLEAR = 8,       // dealer -> player, no payload
    NEW_GAME = 9,          // player -> dealer, no payload
    START_NOW = 10,        // player -> dealer, no payload
    CONTRACT_CHOICE = 11,  // player -> dealer, payload: contract
    CARD_PLAY = 12,        // player -> dealer, payload: seat, suit, value
    JOIN_REQUEST = 13,     // player -> dealer, payload: text (the player's name)
    WAIT_FOR_PLAYERS = 14, // player -> dealer, no payload
    // delivery protocol
    DISCARD_PREDATA = 15,  // built like a control frame, but received as a data frame
    CRCERROR = 16,         // control: timestamp field = type of the frame that failed its check
    ACK = 17,              // control: timestamp field = stamp of the acknowledged frame
    NO_PACKET = 255,       // never sent
};

struct TPacketHeader {
    uint8_t type;       // a TPacketType value
    uint8_t padding[3]; // sent as zero, covered by the CRC, otherwise never looked at
    int32_t size;       // whole frame in bytes, header included
    uint32_t timestamp; // data: sender's stamp; ACK: acknowledged stamp; CRCERROR: failed type
    uint32_t CRC;
};
static_assert(sizeof(TPacketHeader) == 16);

// The dealer's TCP port: the configured number 99007 keeps its low 16 bits.
constexpr uint16_t kGamePort = 33471;
// Why an attempt to connect to a dealer ended without a connection, as the player's side
// tells it.
enum class TLinkFailure { Unreachable, NoSuchHost, Refused, ClosedByPeer };

constexpr int32_t kHeaderSize = 16;
constexpr int32_t kMaxTextLength = 8191; // longest text field a receiver accepts
// Largest frame a receiver accepts. A header announcing less than kHeaderSize or more than
// this closes the connection (the largest frame the game sends is a 456-byte GAME_RECORD).
constexpr int32_t kMaxFrameSize = kHeaderSize + 4 + kMaxTextLength;
constexpr int32_t kMaxPayloadSize = kMaxFrameSize - kHeaderSize;

// type 255, size 16, timestamp 0xFFFFFFFF, CRC 0
TPacketHeader InitialHeader();
// The first 16 bytes of frame, as a header (no alignment needed).
TPacketHeader ReadHeader(const char* frame);
// Equal in type, size, timestamp and CRC; the padding is not compared.
bool SameHeader(const TPacketHeader& a, const TPacketHeader& b);

// Reads the wall clock: the low 32 bits of the milliseconds since 1 January 1970. Stamps
// are strictly increasing within the process, across all threads: a clock that stands
// still or steps backwards (or two frames within one millisecond) gives one more than the
// last stamp (compared as 64-bit milliseconds), so two different frames never share a
// header that the receiver would take for a repeat. Never waits.
uint32_t FrameStamp();

// The clock FrameStamp reads, in milliseconds since 1 January 1970. Tests set their own
// to step it backwards; nullptr restores the wall clock. Any thread.
using TFrameClock = int64_t (*)();
void SetFrameClock(TFrameClock clock);

// The CRC of the first size bytes of frame, taken as if its CRC field held 0xFFFFFFFF.
uint32_t FrameCrc(const char* frame, int32_t size);
// True when the CRC field of the first size bytes of frame matches FrameCrc.
bool VerifyFrame(const char* frame, int32_t size);

// A complete frame with zero padding and its CRC. length < 0 counts as 0.
QByteArray BuildFrame(uint8_t type, uint32_t timestamp, const void* payload, int32_t length);
// A 16-byte frame without payload: ACK, CRCERROR or DISCARD_PREDATA.
QByteArray BuildControlFrame(uint8_t type, uint32_t value);
