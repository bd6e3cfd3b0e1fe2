#pragma once
#include "core/xml/XmlDocument.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <initializer_list>

// Helpers shared by the DPV1 and DeviceNet transports.

// The number of the element at path below parent (e.g. {"Communication", "DPV1",
// "Index"}) as an unsigned byte; false when the element is missing.
bool Fieldbus_ChildByte(XmlNode parent, std::initializer_list<const char*> path, uint8_t& value);
