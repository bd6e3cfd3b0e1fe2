// Identification of one found device by its vendor, product and serial number.
#include "device/DeviceAccess.h"
#include "device/DeviceSession.h"

#include "core/Host.h"
#include "transport/AppState.h"

namespace {

const QString VendorIdPath = QStringLiteral("Common/VendorID");
const QString ProductIdPath = QStringLiteral("Common/ProductID");
const QString SerialNumberPath = QStringLiteral("Common/SerialNumber");

void showStatus(Host* panel, const QString& text)
{
    if (panel)
        panel->setStatusText(text);
}

}  // namespace

DeviceIdentity Device_Identify(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry,
                               Host* panel)
{
    DeviceIdentity identity;
    entry.SerialNumber.clear();
    if (Device_Open(state, settings, entry, panel) < 0)
        return identity;
    const BusyPointer busy(*state.core.host);
    showStatus(panel, QStringLiteral("L'appareil est identifé..."));
    // Every description places the identity objects alike, so the first one serves.
    entry.DescriptionIndex = 0;
    if (Device_GetLong(state, settings, entry, VendorIdPath, identity.vendorId, panel) < 0) {
        // Left as the failed read left the connection.
        identity = {};
    } else {
        if (Device_GetLong(state, settings, entry, ProductIdPath, identity.productId, panel) < 0)
            identity.productId = 0;
        QString serial;
        if (Device_GetString(state, settings, entry, SerialNumberPath, serial, panel) >= 0)
            entry.SerialNumber = serial;
        static_cast<void>(Device_Close(state, settings, entry, panel));  // a failure has shown its message
    }
    showStatus(panel, QString());
    return identity;
}
