#pragma once
#include "core/xml/XmlDocument.h"

#include <cstdint>

struct AppState;
struct DeviceEntry;
struct InterfaceSettings;
class Host;

// Finding devices and working with one: scan, connect, restart, disconnect.

// Fills the device table from a scan of the current interface; the count found.
int32_t Device_Scan(AppState& state, const InterfaceSettings& settings, Host* panel);
// Opens the device, reads its whole configuration into a new current configuration
// and checks its firmware requirement; parameters receives "Parameters".
int32_t Device_Connect(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry,
                       XmlNode& parameters, Host* panel);
int32_t Device_Restart(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry,
                       XmlNode& parameters, Host* panel);
// Offers to store a changed configuration permanently, then closes the device.
int32_t Device_Disconnect(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry,
                          Host* panel);
void Device_DisconnectAll(AppState& state, const InterfaceSettings& settings, Host* panel);

// Closes the device views, disconnects every device and closes the interface.
int32_t Interface_Disconnect(AppState& state, InterfaceSettings& settings);
