#pragma once
#include <QString>

// The element names of description members: a group or one of the parameter kinds.
enum class ParameterKind {
    Group,
    ValueByte,
    ValueShort,
    ValueLong,
    ValueLongFloat,
    ValueFloat,
    ValueString,
    ValueDate,
    ValueHexBinary,
    Toggle,
    EnumString,
    EnumFloat,
    BitMask,
    ActionByte,
    ActionLong,
    SequenceConstLong,
    Unknown,
};

ParameterKind parameterKind(const QString& elementName);
