// The bus connection of one device.
#include "device/DeviceAccess.h"
#include "device/DeviceAccessSupport.h"
#include "transport/AppState.h"
#include "transport/serial/ComTransport.h"

int32_t Device_Open(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry, Host* panel)
{
    int32_t result = rc::UnknownInterface;
    switch (entry.InterfaceKind) {
    case PROFIBUS:
        result = DPV1_ConnectStation(state, settings, uint8_t(entry.Address));
        break;
    case RS232:
        static_cast<void>(COM_Close(state));  // releases a port left open; none is no failure
        result = COM_Open(state, comSettingsOf(settings), panel);
        break;
    case DeviceNet:
        result = DNET_OpenDevice(state, entry.MacId);
        break;
    case CANBus:
        result = rc::Ok;  // the open net reaches every node
        break;
    }
    if (result >= 0) {
        entry.Online = true;
        return result;
    }
    ShowMessage(*state.core.host,
                QStringLiteral("Erreur lors du raccordement à l'appareil : ") + DPV1_ErrorText(result), msg::Ok);
    return result;
}

int32_t Device_Close(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry, Host*)
{
    int32_t result = rc::Ok;
    if (entry.Online) {
        switch (entry.InterfaceKind) {
        case PROFIBUS:
            result = DPV1_DisconnectStation(state, settings, uint8_t(entry.Address));
            break;
        case RS232:
            result = COM_Close(state);
            break;
        case DeviceNet:
            result = DNET_CloseDevice(state, entry.MacId);
            break;
        }
    }
    entry.Online = false;
    if (result < 0)
        ShowMessage(*state.core.host,
                    QStringLiteral("Erreur lors de la déconnexion de l'appareil : ") + DPV1_ErrorText(result),
                    msg::Ok);
    return result;
}
