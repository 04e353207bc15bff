// CRC-32 of ISO-HDLC / IEEE 802.3 (the one of zlib and PKZIP): reflected polynomial
// 0xEDB88320, initial register and final XOR 0xFFFFFFFF. Check value of "123456789" is
// 0xCBF43926; an empty range gives 0.
#pragma once

#include <cstddef>
#include <cstdint>

class TCrc32 {
public:
    TCrc32(); // builds the 256-entry table

    uint32_t Calculate(const void* bytes, std::size_t length) const;
    // Continues a CRC over further bytes: Continue(Calculate(a), b) == Calculate(a + b),
    // and Continue(0, x) == Calculate(x) (the same convention as zlib's crc32()).
    uint32_t Continue(uint32_t crc, const void* bytes, std::size_t length) const;

    uint32_t Entry(int index) const { return table_[index & 0xFF]; }

private:
    uint32_t table_[256];
};

// The one table of the process. It is built during start-up, before main() runs, and is
// read-only afterwards, so every thread may use it without a lock.
const TCrc32& Crc32();
