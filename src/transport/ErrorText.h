#pragma once
#include <QString>
#include <cstdint>

struct AppState;
struct DeviceEntry;
struct InterfaceSettings;

// The French words for a result code. For an SDO abort the parameter is read once
// more to learn the abort code; the device and path serve only that.
QString ErrorText(AppState& state, const InterfaceSettings& settings, const DeviceEntry& entry,
                  int32_t code, const QString& path);
// The words for a result code that needs no device to explain it; the decimal code
// when there are none.
QString resultCodeText(int32_t code);
