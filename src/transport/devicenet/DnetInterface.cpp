// The interface and device connections, opened by the interface manager, the
// selection dialog and the device open and close.
#include "core/Host.h"
#include "core/ResultCodes.h"
#include "transport/AppState.h"
#include "transport/devicenet/DeviceNetLibrary.h"
#include "transport/devicenet/DnetTransport.h"

namespace {

constexpr int32_t kProbeBaudCode = 2;

}  // namespace

int32_t DNET_OpenInterface(AppState& state, InterfaceSettings& settings)
{
    const int32_t result =
        state.buses.devicenet ? state.buses.devicenet->initHw(settings.DeviceNetBaud) : rc::NoInterface;
    settings.Connected = result >= 0;
    if (result < 0)
        ShowMessage(*state.core.host,
                    QStringLiteral("Erreur%1 lors de l'ouverture de l'interface DeviceNet").arg(result),
                    msg::Warning);
    return result;
}

void DNET_CloseInterface(AppState& state)
{
    // Closing cannot be refused in any useful way: the interface counts as closed after it.
    if (state.buses.devicenet)
        static_cast<void>(state.buses.devicenet->abortHw());
}

bool DNET_HardwarePresent(AppState& state)
{
    if (!state.buses.devicenet)
        return false;
    DeviceNetLibrary& library = *state.buses.devicenet;
    // Closed before and after the probe whatever state it was in; only the open tells.
    static_cast<void>(library.abortHw());
    if (library.initHw(kProbeBaudCode) != rc::Ok)
        return false;
    static_cast<void>(library.abortHw());
    return true;
}

int32_t DNET_OpenDevice(AppState& state, uint8_t macId)
{
    return state.buses.devicenet ? state.buses.devicenet->initDevice(macId, 0) : rc::NoInterface;
}

int32_t DNET_CloseDevice(AppState& state, uint8_t macId)
{
    return state.buses.devicenet ? state.buses.devicenet->abortDevice(macId) : rc::NoInterface;
}

QString DNET_BaudText(int32_t code)
{
    switch (code) {
    case 0: return QStringLiteral("500kBaud");
    case 1: return QStringLiteral("250kBaud");
    case 2: return QStringLiteral("125kBaud");
    default: return QStringLiteral("unknown baudrate");
    }
}
