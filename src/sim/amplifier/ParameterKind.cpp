#include "sim/amplifier/ParameterKind.h"

#include <array>
#include <utility>

std::optional<ParameterKind> parameterKindFromElement(const QString& elementName)
{
    static const std::array<std::pair<const char*, ParameterKind>, 15> kinds{{
        {"ParameterValueByte", ParameterKind::Byte},
        {"ParameterValueShort", ParameterKind::Short},
        {"ParameterValueLong", ParameterKind::Long},
        {"ParameterValueLongFloat", ParameterKind::LongFloat},
        {"ParameterValueFloat", ParameterKind::Float},
        {"ParameterValueString", ParameterKind::String},
        {"ParameterValueDate", ParameterKind::Date},
        {"ParameterValueHexBinary", ParameterKind::HexBinary},
        {"ParameterToggle", ParameterKind::Toggle},
        {"ParameterEnumString", ParameterKind::EnumString},
        {"ParameterEnumFloat", ParameterKind::EnumFloat},
        {"ParameterBitMask", ParameterKind::BitMask},
        {"ParameterActionByte", ParameterKind::ActionByte},
        {"ParameterActionLong", ParameterKind::ActionLong},
        {"SequenceConstLong", ParameterKind::SequenceConstLong},
    }};
    for (const auto& [name, kind] : kinds) {
        if (elementName == QLatin1String(name))
            return kind;
    }
    return std::nullopt;
}

bool isAction(ParameterKind kind)
{
    return kind == ParameterKind::ActionByte || kind == ParameterKind::ActionLong;
}

bool isNumeric(ParameterKind kind)
{
    return kind != ParameterKind::String && kind != ParameterKind::HexBinary;
}
