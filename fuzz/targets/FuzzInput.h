#pragma once
#include <QByteArray>
#include <cstddef>
#include <cstdint>

// Reads a fuzzer's input as a script: numbers and byte runs from the front; an
// exhausted input reads as zeros, so every script is complete.
class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool empty() const { return offset_ >= size_; }
    uint8_t byte() { return empty() ? 0 : data_[offset_++]; }
    uint16_t u16() { return uint16_t(byte() | byte() << 8); }
    // Up to `count` bytes, fewer at the end of the input.
    QByteArray bytes(size_t count)
    {
        const size_t taken = std::min(count, size_ - std::min(offset_, size_));
        QByteArray run(reinterpret_cast<const char*>(data_ + offset_), qsizetype(taken));
        offset_ += taken;
        return run;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t offset_ = 0;
};
