// The device search: every MAC ID but the default one is asked for its vendor ID.
#include "core/Host.h"
#include "core/ResultCodes.h"
#include "model/Descriptions.h"
#include "transport/AppState.h"
#include "transport/devicenet/DeviceNetLibrary.h"
#include "transport/devicenet/DnetTransport.h"

int32_t DNET_Scan(AppState& state, const InterfaceSettings& settings, const Description* description,
                  std::vector<DeviceEntry>& found)
{
    found.assign(1, DeviceEntry{});
    if (settings.InterfaceType != DeviceNet || !state.buses.devicenet)
        return rc::NoInterface;
    const BusyPointer busy(*state.core.host);
    XmlNode vendorId;
    if (const int32_t result = Descr_FindNode(QStringLiteral("Common/VendorID"), description, vendorId); result < 0)
        return result;
    uint8_t classId = 0;
    uint8_t instance = 0;
    uint8_t attribute = 0;
    if (const int32_t result = DNET_GetAddress(vendorId, classId, instance, attribute); result < 0)
        return result;
    for (int macId = 0; macId <= devicenet::LastScannedMacId; ++macId) {
        int32_t value = 0;
        if (state.buses.devicenet->parameterReadInt(uint8_t(macId), classId, instance, attribute, value,
                                                    devicenet::ScanTimeoutMs) != dnetstatus::Success)
            continue;
        DeviceEntry entry;
        entry.InterfaceKind = DeviceNet;
        entry.MacId = uint8_t(macId);
        found.push_back(entry);
    }
    return int32_t(found.size()) - 1;
}
