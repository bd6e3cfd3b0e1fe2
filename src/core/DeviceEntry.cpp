#include "core/DeviceEntry.h"

QString Device_GetLabel(const DeviceEntry& entry)
{
    const QString serial = QStringLiteral("Snr. ") + entry.SerialNumber;
    switch (entry.InterfaceKind) {
    case CANBus:
        return QStringLiteral("CAN-ID %1, ").arg(entry.NodeId) + serial;
    case PROFIBUS:
        return QStringLiteral("Adr %1, ").arg(entry.Address) + serial;
    case DeviceNet:
        return QStringLiteral("Adr %1, ").arg(entry.MacId) + serial;
    default:
        return serial;
    }
}
