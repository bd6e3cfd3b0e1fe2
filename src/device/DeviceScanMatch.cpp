// Matching identified devices to the loaded descriptions.
#include "device/DeviceSession.h"

#include "core/Host.h"
#include "core/ResultCodes.h"
#include "transport/AppState.h"

#include <algorithm>

namespace {

bool contains(const std::vector<int32_t>& codes, int32_t value)
{
    return std::find(codes.begin(), codes.end(), value) != codes.end();
}

bool serialTaken(const AppState& state, const QString& serial)
{
    return std::any_of(state.Devices.begin() + 1, state.Devices.end(),
                       [&serial](const DeviceEntry& taken) { return taken.SerialNumber == serial; });
}

}  // namespace

int32_t Device_TakeMatching(AppState& state, std::vector<DeviceEntry>& found,
                            const std::vector<DeviceIdentity>& identities)
{
    Device_ResetTable(state);
    for (size_t j = 0; j < state.descriptions.size(); ++j) {
        const Description& description = *state.descriptions[j];
        const std::vector<int32_t> vendors = Descr_EnumerationCodes(description, QStringLiteral("Common/VendorID"));
        const std::vector<int32_t> products = Descr_EnumerationCodes(description, QStringLiteral("Common/ProductID"));
        for (size_t i = 1; i < found.size(); ++i) {
            if (!contains(vendors, identities[i].vendorId) || !contains(products, identities[i].productId))
                continue;
            DeviceEntry& device = found[i];
            device.DescriptionIndex = int32_t(j);
            if (serialTaken(state, device.SerialNumber)) {
                ShowMessage(*state.core.host,
                            QStringLiteral("Appareil ") + Device_GetLabel(device) +
                                QStringLiteral(": Le numéro de série est ambigu ! L'appareil ne sera pas disponible."),
                            msg::Error);
                continue;
            }
            state.Devices.push_back(device);
        }
    }
    state.DeviceCount = int32_t(state.Devices.size()) - 1;
    return state.DeviceCount;
}
