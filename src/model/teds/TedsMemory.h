#pragma once
#include <QByteArray>
#include <cstdint>

// A TEDS memory image as the sensor's EEPROM holds it: pages of 32 bytes, byte 0 of
// each page its checksum, the other 31 the data stream, page after page. A page is
// sound when the sum of all its 32 bytes is 0 modulo 256.
namespace tedsmemory {
constexpr int PageBytes = 32;
constexpr int PageDataBytes = PageBytes - 1;
constexpr int PageDataBits = PageDataBytes * 8;

// Pages holding the first `bits` bits of the data stream.
int pagesFor(int bits);
// The data stream: every page's bytes 1..31, one after the other.
QByteArray dataStream(const QByteArray& image);
// Puts the stream back into the first `pages` pages (the image grows to hold them)
// and gives each of these pages its checksum.
void storeStream(QByteArray& image, const QByteArray& stream, int pages);
// The checksum byte that makes the page sound.
uint8_t checksumFor(const QByteArray& image, int page);
bool pageSound(const QByteArray& image, int page);
}  // namespace tedsmemory
