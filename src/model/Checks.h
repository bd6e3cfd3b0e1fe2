#pragma once
#include "core/xml/XmlDocument.h"

#include <QString>
#include <cstdint>

struct AppCore;
class Description;

// Checks of a value against its description: 0 accepted, -7 refused (after a
// message), -1 no such parameter, -5 a kind the check does not handle.
[[nodiscard]] int32_t Check_Long(AppCore& app, const Description* description, const QString& path, int32_t value);
[[nodiscard]] int32_t Check_Float(AppCore& app, const Description* description, const QString& path, float value);
[[nodiscard]] int32_t Check_Byte(AppCore& app, const Description* description, const QString& path, uint8_t value);
[[nodiscard]]
int32_t Check_String(AppCore& app, const Description* description, const QString& path,
                     const QString& value);
// Refuses a number that the parameter's type cannot carry on the bus (model/BusRange.h),
// with the range message of both bounds; 0 when it fits or the kind has no range.
[[nodiscard]] int32_t Check_Width(AppCore& app, XmlNode node, double value);
