// Looking devices up in the device table.
#include "device/DeviceSession.h"

#include "core/DeviceEntry.h"

#include <algorithm>

int32_t Device_FindBySerial(const std::vector<DeviceEntry>& devices, int32_t count, const QString& serial)
{
    const int32_t last = std::min(count, int32_t(devices.size()) - 1);
    for (int32_t i = 1; i <= last; ++i) {
        if (devices[size_t(i)].SerialNumber == serial)
            return i;
    }
    return 0;
}
