// Restarting a device and connecting it again once it is back.
#include "device/DeviceAccess.h"
#include "device/DeviceSession.h"

#include "core/Host.h"
#include "core/ResultCodes.h"
#include "transport/AppState.h"
#include "transport/devicenet/DnetTransport.h"

namespace {

constexpr int kDeviceNetReleaseMs = 100;
constexpr int kRestartWaitMs = 5000;

void showStatus(Host* panel, const QString& text)
{
    if (panel)
        panel->setStatusText(text);
}

}  // namespace

int32_t Device_Restart(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry,
                       XmlNode& parameters, Host* panel)
{
    Host& host = *state.core.host;
    if (entry.InterfaceKind == DeviceNet) {
        // Released only so that the restarted device can be opened anew; the connect says whether it can.
        static_cast<void>(DNET_CloseDevice(state, entry.MacId));
        host.sleepMs(kDeviceNetReleaseMs);
    }
    const int32_t devicesBefore = state.DeviceCount;
    const int32_t action =
        Device_ExecuteAction(state, settings, entry, QStringLiteral("ApplicationObjects/Restart"), panel);
    // A net that gave up on its devices meanwhile has dropped this one and said so:
    // connecting it would only wait out the same silence again.
    if (devicesBefore > 0 && state.DeviceCount == 0)
        return rc::NoDevice;
    int32_t result = rc::Ok;
    {
        const BusyPointer busy(host);
        // Only a device that really restarts needs the time to come back.
        if (action == rc::ReloadComplete) {
            showStatus(panel, QStringLiteral("Attends 5s pour le redémarrage d'appareil..."));
            host.sleepMs(kRestartWaitMs);
            host.processEvents();
            showStatus(panel, QStringLiteral("Connecting..."));
            host.processEvents();
        }
        result = Device_Connect(state, settings, entry, parameters, panel);
        showStatus(panel, QString());
    }
    host.processEvents();
    return result;
}
