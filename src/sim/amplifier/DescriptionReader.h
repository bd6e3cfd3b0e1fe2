#pragma once
#include "sim/amplifier/ObjectEntry.h"

#include <vector>

class XmlNode;

// Walks a description's groups and members and turns every parameter that has an
// SDO address into a dictionary entry holding its default value.
std::vector<ObjectEntry> readDescriptionEntries(const XmlNode& rootGroup);

// The entry a parameter element describes, without its SDO address; nothing for
// groups and unknown element names. Exposed for the tests of the width rules.
std::optional<ObjectEntry> entryFromParameter(const XmlNode& parameter);

// A description integer: decimal, or hexadecimal with a "0x" prefix.
std::optional<int64_t> parseDescriptionInteger(const QString& text);
