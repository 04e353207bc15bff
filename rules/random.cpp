#include "cards.h"

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <random>

#include <sys/random.h>

namespace {

// Fills buf from the kernel's entropy pool; std::random_device where getrandom is missing.
void FillFromSystem(unsigned char* buf, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::getrandom(buf + done, size - done, 0);
        if (got > 0) {
            done += std::size_t(got);
        } else if (got < 0 && errno != EINTR) {
            std::random_device device;
            for (; done < size; ++done)
                buf[done] = static_cast<unsigned char>(device());
        }
    }
}

} // namespace

TRandom TRandom::System()
{
    TRandom source;
    source.system_ = true;
    return source;
}

void TRandom::Seed(uint32_t seed)
{
    state_ = 0;
    Raw();
    state_ += seed;
    Raw();
}

uint32_t TRandom::SystemWord()
{
    // 256 bytes per call to the kernel: a deal (520 numbers) costs nine of them.
    thread_local unsigned char buffer[256];
    thread_local std::size_t used = sizeof buffer;
    if (used + sizeof(uint32_t) > sizeof buffer) {
        FillFromSystem(buffer, sizeof buffer);
        used = 0;
    }
    uint32_t word = 0;
    std::memcpy(&word, buffer + used, sizeof word);
    // A word is never handed out twice.
    std::memset(buffer + used, 0, sizeof word);
    used += sizeof word;
    return word;
}

TRandom& GameRandom()
{
    static TRandom source = TRandom::System();
    return source;
}
