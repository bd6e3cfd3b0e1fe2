#pragma once
#include "model/ParameterKind.h"

#include <QString>
#include <optional>

// The parameter kind named by a "Members" child element; nothing for groups and
// unknown names.
std::optional<ParameterKind> parameterKindFromElement(const QString& elementName);

bool isAction(ParameterKind kind);
// Kinds whose bytes are a number (everything but strings and hex blocks).
bool isNumeric(ParameterKind kind);
