#include "model/ParameterKind.h"

#include <QHash>

ParameterKind parameterKind(const QString& elementName)
{
    static const QHash<QString, ParameterKind> kinds = {
        {QStringLiteral("ParameterGroup"), ParameterKind::Group},
        {QStringLiteral("ParameterValueByte"), ParameterKind::ValueByte},
        {QStringLiteral("ParameterValueShort"), ParameterKind::ValueShort},
        {QStringLiteral("ParameterValueLong"), ParameterKind::ValueLong},
        {QStringLiteral("ParameterValueLongFloat"), ParameterKind::ValueLongFloat},
        {QStringLiteral("ParameterValueFloat"), ParameterKind::ValueFloat},
        {QStringLiteral("ParameterValueString"), ParameterKind::ValueString},
        {QStringLiteral("ParameterValueDate"), ParameterKind::ValueDate},
        {QStringLiteral("ParameterValueHexBinary"), ParameterKind::ValueHexBinary},
        {QStringLiteral("ParameterToggle"), ParameterKind::Toggle},
        {QStringLiteral("ParameterEnumString"), ParameterKind::EnumString},
        {QStringLiteral("ParameterEnumFloat"), ParameterKind::EnumFloat},
        {QStringLiteral("ParameterBitMask"), ParameterKind::BitMask},
        {QStringLiteral("ParameterActionByte"), ParameterKind::ActionByte},
        {QStringLiteral("ParameterActionLong"), ParameterKind::ActionLong},
        {QStringLiteral("SequenceConstLong"), ParameterKind::SequenceConstLong},
    };
    return kinds.value(elementName, ParameterKind::Unknown);
}
