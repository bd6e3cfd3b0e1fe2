#include "sim/amplifier/ParameterKinds.h"

std::optional<ParameterKind> parameterKindFromElement(const QString& elementName)
{
    const ParameterKind kind = parameterKind(elementName);
    if (kind == ParameterKind::Group || kind == ParameterKind::Unknown)
        return std::nullopt;
    return kind;
}

bool isAction(ParameterKind kind)
{
    return kind == ParameterKind::ActionByte || kind == ParameterKind::ActionLong;
}

bool isNumeric(ParameterKind kind)
{
    return kind != ParameterKind::ValueString && kind != ParameterKind::ValueHexBinary;
}
