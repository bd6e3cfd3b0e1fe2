// The device scan: search the bus, identify what answered, take what is described.
#include "device/DeviceSession.h"

#include "core/Host.h"
#include "core/Log.h"
#include "core/ResultCodes.h"
#include "transport/AppState.h"

namespace {

void showSearchFailure(Host& host, int32_t result)
{
    if (result == rc::NoInterface)
        ShowMessage(host, QStringLiteral("Choisissez une interface d'abord !"), msg::Information);
    else
        ShowMessage(host, QStringLiteral("Erreur lors du scan d'appareils !"), msg::Warning);
}

// One pass: the count taken into the table, or the search's negative result.
int32_t scanOnce(AppState& state, const InterfaceSettings& settings, Host* panel)
{
    Device_ResetTable(state);
    std::vector<DeviceEntry> found;
    const int32_t searched = Device_SearchBus(state, settings, panel, found);
    if (searched < 0) {
        showSearchFailure(*state.core.host, searched);
        return searched;
    }
    std::vector<DeviceIdentity> identities(found.size());
    for (size_t i = 1; i < found.size(); ++i)
        identities[i] = Device_Identify(state, settings, found[i], panel);
    return Device_TakeMatching(state, found, identities);
}

bool askToScanAgain(Host& host)
{
    return ShowMessage(host, QStringLiteral("Aucun appareil n'a été trouvé ! Essayer de nouveau ?"),
                       msg::Information + msg::YesNo) == msg::Yes;
}

}  // namespace

int32_t Device_Scan(AppState& state, const InterfaceSettings& settings, Host* panel)
{
    Host& host = *state.core.host;
    const BusyPointer busy(host);
    host.closeDeviceViews();
    Log_Write(state.core, QStringLiteral("Starting device scan..."));
    int32_t result = rc::Ok;
    do {
        result = scanOnce(state, settings, panel);
    } while (result == 0 && askToScanAgain(host));
    // The bus searches leave their bar full or at zero; the search is over, so it goes.
    host.setProgress(0, 0);
    Log_Write(state.core, QStringLiteral("Device scan completed. %1 device(s) found.").arg(state.DeviceCount));
    return result;
}
