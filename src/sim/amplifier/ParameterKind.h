#pragma once
#include <QString>
#include <optional>

// The parameter kinds of a description document, by element name.
enum class ParameterKind {
    Byte,
    Short,
    Long,
    LongFloat,
    Float,
    String,
    Date,
    HexBinary,
    Toggle,
    EnumString,
    EnumFloat,
    BitMask,
    ActionByte,
    ActionLong,
    SequenceConstLong,
};

// The kind named by a "Members" child element; nothing for groups and unknown names.
std::optional<ParameterKind> parameterKindFromElement(const QString& elementName);

bool isAction(ParameterKind kind);
// Kinds whose bytes are a number (everything but strings and hex blocks).
bool isNumeric(ParameterKind kind);
