#pragma once
#include "sim/amplifier/ObjectEntry.h"

// Whether bytes written to an entry fit it: length, limits, enumeration, action
// value. Returns 0 or the CANopen abort code of the refusal; access rights are
// checked elsewhere.
uint32_t checkWrite(const ObjectEntry& entry, const QByteArray& data);

// The bytes to store for an accepted write: strings padded to their fixed length,
// counts written wider than their width cut back to it.
QByteArray normalizedWrite(const ObjectEntry& entry, const QByteArray& data);
