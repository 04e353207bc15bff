#include "packet.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <cstring>

#include "crc.h"

namespace {
constexpr uint32_t kCrcPlaceholder = 0xFFFFFFFFu;
constexpr int kCrcOffset = 12;
} // namespace

TPacketHeader InitialHeader()
{
    TPacketHeader h{};
    h.type = NO_PACKET;
    h.size = kHeaderSize;
    h.timestamp = 0xFFFFFFFFu;
    h.CRC = 0;
    return h;
}

TPacketHeader ReadHeader(const char* frame)
{
    TPacketHeader h;
    std::memcpy(&h, frame, sizeof h);
    return h;
}

bool SameHeader(const TPacketHeader& a, const TPacketHeader& b)
{
    return a.type == b.type && a.size == b.size && a.timestamp == b.timestamp && a.CRC == b.CRC;
}

namespace {

int64_t WallClockMs()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
}

std::atomic<TFrameClock> frameClock{&WallClockMs};
std::atomic<int64_t> lastStamp{INT64_MIN};

} // namespace

void SetFrameClock(TFrameClock clock)
{
    frameClock.store(clock != nullptr ? clock : &WallClockMs);
}

uint32_t FrameStamp()
{
    const int64_t now = frameClock.load()();
    int64_t last = lastStamp.load();
    int64_t stamp;
    do {
        stamp = std::max(now, last + 1);
    } while (!lastStamp.compare_exchange_weak(last, stamp));
    return uint32_t(uint64_t(stamp) & 0xFFFFFFFFu);
}

uint32_t FrameCrc(const char* frame, int32_t size)
{
    const TCrc32& crc = Crc32();
    const uint32_t placeholder = kCrcPlaceholder;
    uint32_t r = crc.Calculate(frame, kCrcOffset);
    r = crc.Continue(r, &placeholder, sizeof placeholder);
    return crc.Continue(r, frame + kHeaderSize, std::size_t(size - kHeaderSize));
}

bool VerifyFrame(const char* frame, int32_t size)
{
    if (size < kHeaderSize)
        return false;
    return ReadHeader(frame).CRC == FrameCrc(frame, size);
}

QByteArray BuildFrame(uint8_t type, uint32_t timestamp, const void* payload, int32_t length)
{
    if (length < 0 || payload == nullptr)
        length = 0;
    QByteArray frame(kHeaderSize + length, '\0');
    TPacketHeader h{};
    h.type = type;
    h.size = kHeaderSize + length;
    h.timestamp = timestamp;
    h.CRC = kCrcPlaceholder;
    std::memcpy(frame.data(), &h, sizeof h);
    if (length > 0)
        std::memcpy(frame.data() + kHeaderSize, payload, std::size_t(length));
    h.CRC = FrameCrc(frame.constData(), h.size);
    std::memcpy(frame.data() + kCrcOffset, &h.CRC, sizeof h.CRC);
    return frame;
}

QByteArray BuildControlFrame(uint8_t type, uint32_t value)
{
    return BuildFrame(type, value, nullptr, 0);
}
