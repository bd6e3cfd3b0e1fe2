#pragma once
#include <QByteArray>
#include <cstdint>
#include <optional>

// The basic TEDS of IEEE 1451.4: the first 64 bits of a sensor's data sheet.
// Fields in stream order: manufacturer ID (14 bits), model number (15 bits),
// version letter (5 bits, chr5: 'A' = 1), version number (6 bits), serial number (24 bits).
struct BasicTeds {
    uint16_t manufacturerId = 0;
    uint16_t modelNumber = 0;
    char versionLetter = 'A';
    uint8_t versionNumber = 0;
    uint32_t serialNumber = 0;
    bool operator==(const BasicTeds&) const = default;
};

namespace basicteds {
constexpr int Bits = 64;
// Manufacturer IDs outside this range are reserved by the standard.
constexpr uint16_t FirstManufacturerId = 17;
constexpr uint16_t LastManufacturerId = 16381;
}  // namespace basicteds

// The 8 bytes of the basic TEDS; fields wider than their bit count are cut.
QByteArray encodeBasicTeds(const BasicTeds& teds);
// Nothing when the stream is shorter than 8 bytes, the version letter is not A..Z
// or the manufacturer ID is reserved.
std::optional<BasicTeds> decodeBasicTeds(const QByteArray& stream);
