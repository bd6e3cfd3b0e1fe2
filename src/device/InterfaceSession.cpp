// The interface command and the interface's end: everything a change of interface
// does to the devices on it.
#include "device/InterfaceSession.h"

#include "core/Host.h"
#include "core/ResultCodes.h"
#include "device/DeviceSession.h"
#include "transport/AppState.h"
#include "transport/InterfaceManager.h"

namespace {
constexpr int32_t kSerialBaud = 9600;
}  // namespace

InterfaceChoice Interface_ChoiceOf(const InterfaceSettings& settings)
{
    InterfaceChoice choice;
    choice.kind = settings.InterfaceType;
    choice.hwName = settings.HWName;
    choice.busName = settings.BusName;
    switch (settings.InterfaceType) {
    case CANBus:
        choice.baud = settings.BaudRate;
        break;
    case RS232:
        choice.baud = kSerialBaud;
        break;
    case DeviceNet:
        choice.baud = settings.DeviceNetBaud;
        break;
    default:
        break;
    }
    choice.pType = settings.PType;
    // The selection hands a COM port back where it hands a PROFIBUS card number, so a
    // cancelled selection keeps the port.
    choice.devno = settings.InterfaceType == RS232 ? settings.ComPort : settings.Devno;
    return choice;
}

void Interface_TakeChoice(const InterfaceChoice& choice, InterfaceSettings& settings)
{
    settings.InterfaceType = choice.kind;
    switch (choice.kind) {
    case CANBus:
        settings.HWName = choice.hwName;
        settings.BusName = choice.busName;
        settings.BaudRate = choice.baud;
        break;
    case PROFIBUS:
        settings.PType = choice.pType;
        settings.Devno = choice.devno;
        break;
    case RS232:
        settings.ComBaud = kSerialBaud;
        settings.ComPort = choice.devno;
        settings.ComStopBits = 1;
        settings.ComParity = 2;  // even
        settings.ComDataBits = 8;
        break;
    case DeviceNet:
        settings.DeviceNetBaud = choice.baud;
        break;
    default:
        break;
    }
}

int32_t Interface_Disconnect(AppState& state, InterfaceSettings& settings)
{
    state.core.host->closeDeviceViews();
    Device_DisconnectAll(state, settings, nullptr);
    Interface_CloseBus(state, settings);
    return rc::Ok;
}

int32_t Interface_SelectAndConnect(AppState& state, InterfaceSettings& settings, InterfaceChooser& chooser,
                                   Host* panel)
{
    const InterfaceChoice current = Interface_ChoiceOf(settings);
    Interface_Disconnect(state, settings);
    Interface_TakeChoice(chooser.choose(current).value_or(current), settings);
    if (settings.InterfaceType == NoInterfaceKind) {
        settings.Connected = false;
        return rc::Ok;
    }
    const int32_t connected = Interface_Connect(state, settings);
    if (connected != rc::Ok)
        return connected;
    // A serial line has nothing to open, yet counts as connected from here on.
    settings.Connected = true;
    state.core.host->refreshAllWindows();
    return Device_Scan(state, settings, panel);
}
