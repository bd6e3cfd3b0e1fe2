#pragma once
#include "core/xml/XmlDocument.h"

#include <QString>
#include <cstdint>
#include <vector>

struct AppState;
struct DeviceEntry;
struct InterfaceSettings;
class Host;

// Finding devices and working with one: scan, connect, restart, disconnect.

// Fills the device table from a scan of the current interface; the count found.
[[nodiscard]] int32_t Device_Scan(AppState& state, const InterfaceSettings& settings, Host* panel);
// Opens the device, reads its whole configuration into a new current configuration
// and checks its firmware requirement; parameters receives "Parameters".
[[nodiscard]]
int32_t Device_Connect(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry,
                       XmlNode& parameters, Host* panel);
[[nodiscard]]
int32_t Device_Restart(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry,
                       XmlNode& parameters, Host* panel);
// Offers to store a changed configuration permanently, then closes the device.
[[nodiscard]]
int32_t Device_Disconnect(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry,
                          Host* panel);
void Device_DisconnectAll(AppState& state, const InterfaceSettings& settings, Host* panel);

// The first index (from 1) of the table whose serial number is exactly the text, or 0.
int32_t Device_FindBySerial(const std::vector<DeviceEntry>& devices, int32_t count, const QString& serial);

// Closes the device views, disconnects every device and closes the interface; always 0,
// each failure on the way has been shown where it happened.
int32_t Interface_Disconnect(AppState& state, InterfaceSettings& settings);

// The steps of the scan.

// The bus search of the settings' kind: `found` gets the devices on the bus (slot 0
// stays empty), each with its kind and bus address only. The count found, or the
// search's negative result (-2 for a kind that has no search).
[[nodiscard]]
int32_t Device_SearchBus(AppState& state, const InterfaceSettings& settings, Host* panel,
                         std::vector<DeviceEntry>& found);

// What a device says about itself; 0 when unread.
struct DeviceIdentity {
    int32_t vendorId = 0;
    int32_t productId = 0;
};
// Opens the found device, reads its vendor, product and serial number (the serial
// number into the entry) with the first description, and closes it again.
DeviceIdentity Device_Identify(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry,
                               Host* panel);

// Rebuilds the device table from the identified devices (identities[i] belongs to
// found[i]): grouped by description in the order of the descriptions, then in found
// order. A device whose serial number is taken already is refused with a message.
// Sets DeviceCount; the count taken.
[[nodiscard]]
int32_t Device_TakeMatching(AppState& state, std::vector<DeviceEntry>& found,
                            const std::vector<DeviceIdentity>& identities);

// The program's version in the form devices state their requirement: 1.0 gives 100.
int32_t Assistant_ComparableVersion();
// Shows the firmware message once when the device asks for a newer assistant.
void Device_CheckRequiredVersion(AppState& state, XmlNode parameters);
