// The bus search of each interface kind, with one found list shape for all.
#include "device/DeviceSession.h"

#include "core/ResultCodes.h"
#include "transport/AppState.h"
#include "transport/can/CanScan.h"
#include "transport/devicenet/DnetTransport.h"
#include "transport/profibus/Dpv1Transport.h"

int32_t Device_SearchBus(AppState& state, const InterfaceSettings& settings, Host* panel,
                         std::vector<DeviceEntry>& found)
{
    found.assign(1, DeviceEntry{});
    switch (settings.InterfaceType) {
    case CANBus:
        return CAN_ScanRead(state, settings, panel, found);
    case PROFIBUS:
        return DPV1_Scan(state, settings, found);
    case DeviceNet:
        return DNET_Scan(state, settings, state.descriptions.empty() ? nullptr : state.descriptions.front().get(),
                         found);
    case RS232: {
        // The serial line carries one device.
        DeviceEntry entry;
        entry.InterfaceKind = RS232;
        found.push_back(entry);
        return 1;
    }
    default:
        return rc::UnknownInterface;
    }
}
