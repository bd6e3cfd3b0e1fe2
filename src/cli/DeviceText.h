#pragma once
#include "core/xml/XmlDocument.h"

#include <QString>
#include <cstdint>

struct DeviceContext;

// Reads a parameter from the device with the typed read of its kind and gives its
// value in the text form of the configuration document. The read's result; -5 for
// a kind that holds no value on the device.
[[nodiscard]] int32_t readDeviceText(DeviceContext& device, XmlNode member, const QString& path, QString& text);
