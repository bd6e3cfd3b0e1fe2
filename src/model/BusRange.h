#pragma once
#include "core/xml/XmlDocument.h"

#include <cstdint>
#include <optional>

// The integers a parameter's type carries on the bus.
struct BusRange {
    int64_t min;
    int64_t max;
};

// A byte, 16 or 32 bits by kind; by "Width" for enumerations and bit masks (a 32-bit
// mask takes its bits written signed or unsigned). None for a kind that is sent as no
// integer of fixed width.
std::optional<BusRange> busRange(XmlNode node);
// Whether the value, rounded to the nearest integer, is one the parameter's type
// carries; always for a kind without a range.
bool fitsBus(XmlNode node, double value);
