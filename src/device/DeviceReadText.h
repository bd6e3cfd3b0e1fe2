#pragma once
#include "model/ParameterKind.h"

#include <QString>
#include <cstdint>

struct AppState;
struct DeviceEntry;
struct InterfaceSettings;
class Host;

// Reads a parameter from the device with the typed read of its kind and gives its
// value in the text form of the configuration document. `width` is that of an
// enumeration (8 bits, 16 bits, else 32) or of a bit mask. The read's result; -5 for
// a kind that holds no value on the device.
[[nodiscard]] int32_t Device_GetValueText(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry,
                            const QString& path, ParameterKind kind, int32_t width, QString& text,
                            Host* panel = nullptr);
