#include "sim/amplifier/ValueCodec.h"

#include <bit>
#include <cmath>

namespace valuecodec {

uint64_t toUnsigned(const QByteArray& bytes)
{
    uint64_t result = 0;
    for (int i = std::min<int>(bytes.size(), 8) - 1; i >= 0; --i)
        result = (result << 8) | static_cast<uint8_t>(bytes[i]);
    return result;
}

QByteArray fromUnsigned(uint64_t value, int width)
{
    QByteArray bytes(width, '\0');
    for (int i = 0; i < width; ++i)
        bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

bool isSigned(const ObjectEntry& entry)
{
    switch (entry.kind) {
    case ParameterKind::ValueShort:
    case ParameterKind::ValueLong:
    case ParameterKind::ValueLongFloat:
    case ParameterKind::ValueDate:
    case ParameterKind::ActionLong:
    case ParameterKind::SequenceConstLong:
        return true;
    case ParameterKind::EnumString:
        return entry.width > 1;
    default:
        return false;
    }
}

std::optional<double> decode(const ObjectEntry& entry, const QByteArray& bytes)
{
    if (!isNumeric(entry.kind) || entry.width <= 0 || bytes.size() != entry.width)
        return std::nullopt;
    const uint64_t raw = toUnsigned(bytes);
    if (entry.kind == ParameterKind::ValueFloat)
        return std::bit_cast<float>(static_cast<uint32_t>(raw));
    if (!isSigned(entry))
        return static_cast<double>(raw);
    const int shift = 64 - 8 * entry.width;
    return static_cast<double>(static_cast<int64_t>(raw << shift) >> shift);
}

QByteArray encode(const ObjectEntry& entry, double value)
{
    if (entry.kind == ParameterKind::ValueFloat)
        return fromUnsigned(std::bit_cast<uint32_t>(static_cast<float>(value)), 4);
    const auto rounded = static_cast<int64_t>(std::llround(value));
    return fromUnsigned(static_cast<uint64_t>(rounded), entry.width);
}

namespace {
double scale(const ObjectEntry& entry)
{
    return entry.kind == ParameterKind::ValueLongFloat ? std::pow(10.0, entry.decimals) : 1.0;
}
}  // namespace

std::optional<double> decodePhysical(const ObjectEntry& entry, const QByteArray& bytes)
{
    const auto raw = decode(entry, bytes);
    return raw ? std::optional<double>(*raw / scale(entry)) : std::nullopt;
}

QByteArray encodePhysical(const ObjectEntry& entry, double value) { return encode(entry, value * scale(entry)); }

}  // namespace valuecodec
