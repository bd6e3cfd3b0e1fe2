#pragma once
#include <QByteArray>
#include <cstdint>

// IEEE 1451.4 TEDS memory is a little-endian bit stream: bit n of the stream is
// bit n % 8 of byte n / 8, and every field is stored least significant bit first.
namespace tedsbits {
// Writes the low `count` bits of value at bit position `pos`; the buffer grows as needed.
void put(QByteArray& stream, int pos, int count, uint64_t value);
// Reads `count` bits at `pos`; bits beyond the buffer read as 0.
uint64_t get(const QByteArray& stream, int pos, int count);
}  // namespace tedsbits
