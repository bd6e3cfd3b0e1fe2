#pragma once
#include "core/AppCore.h"
#include "core/DeviceEntry.h"
#include "model/Descriptions.h"
#include "transport/BusLibraries.h"
#include "transport/InterfaceSettings.h"

#include <QLocalServer>
#include <memory>
#include <vector>

// The application state: everything one run of the program owns. It lives here, in
// the lowest layer that sees all its parts, because the transports themselves act on
// the device table (a bus that stops answering disconnects every device).
// A test builds a fresh one in a temporary folder.
struct AppState {
    AppCore core;
    Descriptions descriptions;

    // The interface in use and the one stored as standard in the settings.
    InterfaceSettings CurrentInterface;
    InterfaceSettings StandardInterface;
    BusLibraries buses;

    // Device table, indexed from 1 (slot 0 stays empty).
    std::vector<DeviceEntry> Devices{DeviceEntry{}};
    int32_t DeviceCount = 0;
    int32_t CurrentDevice = 0;

    // The configuration document of the current device.
    std::unique_ptr<XmlDocument> Configuration;

    // Held while this program runs, so that a second start is refused.
    std::unique_ptr<QLocalServer> instanceGuard;
};

// Empties the device table: one empty slot, count 0, no current device.
void Device_ResetTable(AppState& state);
// Disconnects every device at once (the bus gave up): count 0, no current device,
// every entry offline. The entries stay where they are, because the operation that
// gave up may still hold one, until the next scan rebuilds the table.
void Device_ForgetAll(AppState& state);
