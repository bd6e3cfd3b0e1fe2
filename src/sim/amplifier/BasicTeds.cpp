#include "sim/amplifier/BasicTeds.h"

#include "sim/amplifier/TedsBits.h"

namespace {

struct Field {
    int pos;
    int bits;
};

constexpr Field Manufacturer{0, 14};
constexpr Field Model{14, 15};
constexpr Field Letter{29, 5};
constexpr Field Version{34, 6};
constexpr Field Serial{40, 24};

void put(QByteArray& stream, Field field, uint64_t value) { tedsbits::put(stream, field.pos, field.bits, value); }

uint64_t get(const QByteArray& stream, Field field) { return tedsbits::get(stream, field.pos, field.bits); }

}  // namespace

QByteArray encodeBasicTeds(const BasicTeds& teds)
{
    QByteArray stream(basicteds::Bits / 8, '\0');
    put(stream, Manufacturer, teds.manufacturerId);
    put(stream, Model, teds.modelNumber);
    put(stream, Letter, static_cast<uint64_t>(teds.versionLetter - 'A' + 1));
    put(stream, Version, teds.versionNumber);
    put(stream, Serial, teds.serialNumber);
    return stream;
}

std::optional<BasicTeds> decodeBasicTeds(const QByteArray& stream)
{
    if (stream.size() < basicteds::Bits / 8)
        return std::nullopt;
    BasicTeds teds;
    teds.manufacturerId = static_cast<uint16_t>(get(stream, Manufacturer));
    teds.modelNumber = static_cast<uint16_t>(get(stream, Model));
    const auto letter = get(stream, Letter);
    teds.versionNumber = static_cast<uint8_t>(get(stream, Version));
    teds.serialNumber = static_cast<uint32_t>(get(stream, Serial));
    if (letter < 1 || letter > 26 || teds.manufacturerId < basicteds::FirstManufacturerId
        || teds.manufacturerId > basicteds::LastManufacturerId)
        return std::nullopt;
    teds.versionLetter = static_cast<char>('A' + letter - 1);
    return teds;
}
