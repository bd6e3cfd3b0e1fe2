#include "model/BusRange.h"

#include "model/ParameterKind.h"
#include "model/ValueText.h"

#include <cmath>
#include <limits>

namespace {

template <typename T>
constexpr BusRange rangeOf()
{
    return {std::numeric_limits<T>::min(), std::numeric_limits<T>::max()};
}

constexpr BusRange kMask32{std::numeric_limits<int32_t>::min(), std::numeric_limits<uint32_t>::max()};

std::optional<BusRange> byWidth(XmlNode node, std::optional<BusRange> wide)
{
    switch (int(leadingNumber(node.childText("Width")))) {
    case 8: return rangeOf<uint8_t>();
    case 16: return rangeOf<int16_t>();
    case 32: return wide;
    default: return std::nullopt;
    }
}

}  // namespace

std::optional<BusRange> busRange(XmlNode node)
{
    switch (parameterKind(node.name())) {
    case ParameterKind::ValueByte:
    case ParameterKind::EnumFloat:
        return rangeOf<uint8_t>();
    case ParameterKind::ValueShort:
    case ParameterKind::ValueDate:
        return rangeOf<int16_t>();
    case ParameterKind::ValueLong:
    case ParameterKind::ValueLongFloat:
        return rangeOf<int32_t>();
    case ParameterKind::EnumString:
        return byWidth(node, rangeOf<int32_t>());
    case ParameterKind::BitMask:
        return byWidth(node, kMask32);
    default:
        return std::nullopt;
    }
}

bool fitsBus(XmlNode node, double value)
{
    const std::optional<BusRange> range = busRange(node);
    if (!range)
        return true;
    const double rounded = std::nearbyint(value);
    return rounded >= double(range->min) && rounded <= double(range->max);
}
