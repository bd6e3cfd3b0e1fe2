#include "ui/MainTexts.h"

#include "transport/InterfaceSettings.h"
#include "transport/devicenet/DnetTransport.h"
#include "transport/profibus/Dpv1Transport.h"
#include "transport/serial/ComSettings.h"

namespace {
// A kind no interface has; its devices are shown as not connected.
constexpr int32_t kUnusedKind = 3;
}  // namespace

QString MainCaption(const QString& title, int major, int minor, int revision)
{
    QString caption = title + QStringLiteral(" Version %1.%2 Release ").arg(major).arg(minor) +
                      QString::number(revision / 100.0, 'g', 10);
    if (revision % 100 > 0)
        caption += QStringLiteral(" Prerelease ");
    return caption;
}

QString InterfaceStateText(const InterfaceSettings& settings)
{
    switch (settings.InterfaceType) {
    case NoInterfaceKind:
        return QStringLiteral("Aucune sélectionnée");
    case CANBus:
        return QStringLiteral("Hardware: %1\r\nRéseau :%2 (%3 kBaud) ")
            .arg(settings.HWName, settings.BusName)
            .arg(settings.BaudRate);
    case PROFIBUS:
        return DPV1_MasterTypeText(settings.PType) + QStringLiteral(" PROFIBUS (Carte%1)").arg(settings.Devno);
    case RS232:
        return QStringLiteral("RS232\r\nCOM%1 (%2)").arg(settings.ComPort).arg(COM_SettingsText(comSettingsOf(settings)));
    case DeviceNet:
        return QStringLiteral("DeviceNet\r\n") + DNET_BaudText(settings.DeviceNetBaud);
    default:
        return QStringLiteral("Type d'interface inconnu !");
    }
}

QString DeviceKindImage(int32_t kind)
{
    switch (kind) {
    case CANBus:
        return QStringLiteral("IMG_CAN");
    case PROFIBUS:
        return QStringLiteral("IMG_PROFIBUS");
    case kUnusedKind:
        return QStringLiteral("IMG_DISCONNECT");
    case RS232:
        return QStringLiteral("IMG_RS232");
    case DeviceNet:
        return QStringLiteral("IMG_DEVICENET");
    default:
        return {};
    }
}
