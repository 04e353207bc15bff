// Reading fuzzer input as a stream of small values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include <QByteArray>

class TFuzzInput {
public:
    TFuzzInput(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool Empty() const { return pos_ >= size_; }
    uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    uint32_t Word()
    {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v |= uint32_t(Byte()) << (8 * i);
        return v;
    }
    QByteArray Bytes(std::size_t n)
    {
        n = n < size_ - pos_ ? n : size_ - pos_;
        QByteArray b(reinterpret_cast<const char*>(data_ + pos_), qsizetype(n));
        pos_ += n;
        return b;
    }

private:
    const uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

#define FUZZ_CHECK(condition) \
    do {                      \
        if (!(condition))     \
            __builtin_trap(); \
    } while (0)
