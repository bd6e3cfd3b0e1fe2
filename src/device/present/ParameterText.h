#pragma once
#include "core/xml/XmlDocument.h"

#include <QString>
#include <cstdint>

class Description;

// Parameter values as the parameter grid shows them.

// The configuration text of a parameter as a user reads it: enumeration texts,
// LongFloats with their decimals, floats with five decimals, bit masks in hex.
QString displayValue(XmlNode member, const QString& storedText, const QString& language);
// The unit beside the value: the member's "Unit"; a float without one has the
// configured physical unit.
QString displayUnit(XmlNode member, const Description* description, XmlNode parameters, const QString& language);
// The text of the configured "Scaling/PhysicalUnit"; "" when there is none.
QString physicalUnitText(const Description* description, XmlNode parameters, const QString& language);
// The member's "EnumItem" whose "Code" is code, or null.
XmlNode enumItem(XmlNode member, int64_t code);
// The value with exactly `decimals` decimals, as the measured value is shown.
QString fixedDecimals(double value, int decimals);
