#pragma once
#include "core/DeviceEntry.h"

#include <cstdint>
#include <vector>

struct AppState;
struct InterfaceSettings;
class Host;

// Asks every node 127..1 for its vendor ID with queued reads, batch by batch; each
// node that answers is appended to `found` as a CAN device with its node ID.
// Returns the number found, -3 when the interface is not a CAN net, or the
// library's negative result (a read that cannot be queued ends the scan and leaves
// nothing queued).
[[nodiscard]]
int32_t CAN_ScanRead(AppState& state, const InterfaceSettings& settings, Host* panel,
                     std::vector<DeviceEntry>& found);
// After the user confirms, puts every node of the net into pre-operational state.
void CAN_SetPreOperational(AppState& state);
