#include "model/teds/TedsBits.h"

namespace tedsbits {

void put(QByteArray& stream, int pos, int count, uint64_t value)
{
    const int bytesNeeded = (pos + count + 7) / 8;
    if (stream.size() < bytesNeeded)
        stream.append(QByteArray(bytesNeeded - stream.size(), '\0'));
    for (int i = 0; i < count; ++i) {
        const int bit = pos + i;
        const char mask = static_cast<char>(1 << (bit % 8));
        if ((value >> i) & 1)
            stream[bit / 8] = static_cast<char>(stream[bit / 8] | mask);
        else
            stream[bit / 8] = static_cast<char>(stream[bit / 8] & ~mask);
    }
}

uint64_t get(const QByteArray& stream, int pos, int count)
{
    uint64_t value = 0;
    for (int i = 0; i < count; ++i) {
        const int bit = pos + i;
        if (bit / 8 < stream.size() && (static_cast<uint8_t>(stream[bit / 8]) >> (bit % 8)) & 1)
            value |= uint64_t{1} << i;
    }
    return value;
}

}  // namespace tedsbits
