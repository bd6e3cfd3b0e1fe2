#pragma once
#include "core/xml/XmlDocument.h"

#include <QString>
#include <cstdint>

struct DeviceContext;

// Takes an entered value as the grid takes an edited cell: converts and stores it in
// the configuration, writes it to the device and reads back what the device holds
// (the whole configuration after a 2). 0 or 2 when the device took it, else the
// failure after its messages. A failure names the member by its display text, or by
// `failedName` when one is given (a switch names its path).
[[nodiscard]] int32_t editValue(DeviceContext& device, XmlNode member, const QString& path, const QString& text,
                                const QString& failedName = {});
