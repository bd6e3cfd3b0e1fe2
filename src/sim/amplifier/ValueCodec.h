#pragma once
#include "sim/amplifier/ObjectEntry.h"

#include <optional>

// Numbers of an entry as the bytes on the bus: the entry's width, least
// significant byte first, signed or unsigned by kind, IEEE single for floats.
namespace valuecodec {

// The number the bytes hold; nothing when the size does not fit the entry.
std::optional<double> decode(const ObjectEntry& entry, const QByteArray& bytes);
// The number rounded and truncated to the entry's width.
QByteArray encode(const ObjectEntry& entry, double value);
// The physical value of a number: raw / 10^decimals for a "ParameterValueLongFloat".
std::optional<double> decodePhysical(const ObjectEntry& entry, const QByteArray& bytes);
QByteArray encodePhysical(const ObjectEntry& entry, double value);
bool isSigned(const ObjectEntry& entry);
// Unsigned little-endian helpers of any width up to 8 bytes.
uint64_t toUnsigned(const QByteArray& bytes);
QByteArray fromUnsigned(uint64_t value, int width);

}  // namespace valuecodec
