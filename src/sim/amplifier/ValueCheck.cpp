#include "sim/amplifier/ValueCheck.h"

#include "sim/SdoTarget.h"
#include "sim/amplifier/ValueCodec.h"

#include <algorithm>

namespace {

uint32_t checkLength(const ObjectEntry& entry, const QByteArray& data)
{
    if (entry.width == 0)
        return data.size() > entry.maxLength ? sdoabort::LengthTooHigh : 0;
    if (data.size() == entry.width)
        return 0;
    // A count written wider is accepted when the value still fits its width.
    if (entry.flexibleLength && data.size() > entry.width && data.size() <= 4)
        return valuecodec::toUnsigned(data) >> (8 * entry.width) ? sdoabort::ValueTooHigh : 0;
    return sdoabort::LengthMismatch;
}

bool enumerationHolds(const ObjectEntry& entry, double value)
{
    const uint64_t mask = entry.width >= 8 ? ~0ULL : (1ULL << (8 * entry.width)) - 1;
    const auto code = static_cast<uint64_t>(static_cast<int64_t>(value)) & mask;
    return std::any_of(entry.enumCodes.begin(), entry.enumCodes.end(),
                       [&](int64_t c) { return (static_cast<uint64_t>(c) & mask) == code; });
}

uint32_t checkValue(const ObjectEntry& entry, double value)
{
    if (entry.actionValue)
        return value == static_cast<double>(*entry.actionValue) ? 0 : sdoabort::ValueRange;
    if (!entry.enumCodes.empty() && !enumerationHolds(entry, value))
        return sdoabort::ValueRange;
    if (entry.kind == ParameterKind::Toggle && value != 0 && value != 1)
        return sdoabort::ValueRange;
    if (entry.maxValue && value > *entry.maxValue)
        return sdoabort::ValueTooHigh;
    if (entry.minValue && value < *entry.minValue)
        return sdoabort::ValueTooLow;
    return 0;
}

}  // namespace

QByteArray normalizedWrite(const ObjectEntry& entry, const QByteArray& data)
{
    if (entry.width > 0)
        return data.left(entry.width);
    if (data.size() < entry.padLength)
        return data + QByteArray(entry.padLength - data.size(), '\0');
    return data;
}

uint32_t checkWrite(const ObjectEntry& entry, const QByteArray& data)
{
    if (const uint32_t abort = checkLength(entry, data))
        return abort;
    if (!isNumeric(entry.kind))
        return 0;
    const auto value = valuecodec::decode(entry, normalizedWrite(entry, data));
    return value ? checkValue(entry, *value) : sdoabort::LengthMismatch;
}
