#include "transport/AppState.h"

void Device_ResetTable(AppState& state)
{
    state.Devices.assign(1, DeviceEntry{});
    state.DeviceCount = 0;
    state.CurrentDevice = 0;
}

void Device_ForgetAll(AppState& state)
{
    for (DeviceEntry& entry : state.Devices)
        entry.Online = false;
    state.DeviceCount = 0;
    state.CurrentDevice = 0;
}
