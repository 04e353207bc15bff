#include "crc.h"

namespace {

uint32_t Reflect(uint32_t value, int bits)
{
    uint32_t result = 0;
    for (int i = 0; i < bits; ++i) {
        if (value & (1u << i))
            result |= 1u << (bits - 1 - i);
    }
    return result;
}

} // namespace

TCrc32::TCrc32()
{
    constexpr uint32_t kPolynomial = 0x04C11DB7;
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t v = Reflect(i, 8) << 24;
        for (int bit = 0; bit < 8; ++bit)
            v = (v & 0x80000000u) ? (v << 1) ^ kPolynomial : v << 1;
        table_[i] = Reflect(v, 32);
    }
}

uint32_t TCrc32::Continue(uint32_t crc, const void* bytes, std::size_t length) const
{
    const auto* p = static_cast<const uint8_t*>(bytes);
    uint32_t r = crc ^ 0xFFFFFFFFu;
    for (std::size_t i = 0; i < length; ++i)
        r = table_[(r ^ p[i]) & 0xFF] ^ (r >> 8);
    return r ^ 0xFFFFFFFFu;
}

uint32_t TCrc32::Calculate(const void* bytes, std::size_t length) const
{
    return Continue(0, bytes, length);
}

const TCrc32& Crc32()
{
    static const TCrc32 table;
    return table;
}

namespace {
// Builds the table while the program starts, before any connection can exist.
[[maybe_unused]] const TCrc32& startupTable = Crc32();
} // namespace
