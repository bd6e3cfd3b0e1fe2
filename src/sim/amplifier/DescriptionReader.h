#pragma once
#include "sim/amplifier/ObjectEntry.h"

#include <vector>

#include "core/xml/XmlDocument.h"

// Walks a description's groups and members and turns every parameter that has an
// SDO address into a dictionary entry holding its default value.
std::vector<ObjectEntry> readDescriptionEntries(const XmlNode& rootGroup);

// The group or parameter at a "/"-separated path below the root group, or a null node.
XmlNode findDescriptionNode(const XmlNode& rootGroup, const QString& path);
// The first "Code" of a parameter's enumeration.
std::optional<int64_t> firstEnumerationCode(const XmlNode& rootGroup, const QString& path);

// A description integer: decimal, or hexadecimal with a "0x" prefix.
std::optional<int64_t> parseDescriptionInteger(const QString& text);
