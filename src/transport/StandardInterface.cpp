#include "core/ResultCodes.h"
#include "core/Settings.h"
#include "core/xml/XmlFiles.h"
#include "transport/AppState.h"
#include "transport/InterfaceManager.h"

namespace {

const QString kStandard = QStringLiteral("Device/StandardInterface");

// The element of a key, created when missing; null without a settings document.
XmlNode settingElement(AppCore& app, const QString& key)
{
    XmlNode root = app.SettingsDocument ? app.SettingsDocument->documentElement() : XmlNode();
    if (root.name() != QLatin1String("Configuration"))
        return {};
    XmlNode element;
    return Conf_GetNode(key, root, element) < 0 ? XmlNode() : element;
}

int32_t readInt(AppCore& app, const QString& key)
{
    return leadingInteger(settingElement(app, kStandard + '/' + key).text());
}

}  // namespace

int32_t LoadStandardInterface(AppState& state, InterfaceSettings& settings)
{
    AppCore& app = state.core;
    const XmlNode standard = settingElement(app, kStandard);
    if (!standard)
        return rc::MissingDocument;
    const QString kind = standard.firstElementChild().name();
    if (kind == QLatin1String("CANBus")) {
        settings.InterfaceType = CANBus;
        settings.HWName = settingElement(app, kStandard + QStringLiteral("/CANBus/HardwareName")).text();
        settings.BusName = settingElement(app, kStandard + QStringLiteral("/CANBus/BusName")).text();
        settings.BaudRate = readInt(app, QStringLiteral("CANBus/Baudrate"));
    } else if (kind == QLatin1String("PROFIBUS")) {
        settings.InterfaceType = PROFIBUS;
        settings.PType = int16_t(readInt(app, QStringLiteral("PROFIBUS/PType")));
        settings.Devno = int16_t(readInt(app, QStringLiteral("PROFIBUS/DevNo")));
    } else if (kind == QLatin1String("DeviceNet")) {
        settings.InterfaceType = DeviceNet;
        settings.DeviceNetBaud = readInt(app, QStringLiteral("DeviceNet/Baudrate"));
    } else {
        return rc::UnknownInterface;
    }
    return rc::Ok;
}

int32_t SaveStandardInterface(AppState& state, const InterfaceSettings& settings)
{
    XmlNode standard = settingElement(state.core, kStandard);
    if (!standard)
        return rc::MissingDocument;
    standard.setText(QString());  // removes every child
    const auto put = [&](const char* kind, const char* name, const QString& value) {
        XmlNode holder = standard.child(kind);
        if (!holder)
            holder = standard.appendElement(QString::fromLatin1(kind));
        holder.appendElement(QString::fromLatin1(name)).setText(value);
    };
    switch (settings.InterfaceType) {
    case CANBus:
        put("CANBus", "HardwareName", settings.HWName);
        put("CANBus", "BusName", settings.BusName);
        put("CANBus", "Baudrate", QString::number(settings.BaudRate));
        return rc::Ok;
    case PROFIBUS:
        put("PROFIBUS", "PType", QString::number(settings.PType));
        put("PROFIBUS", "DevNo", QString::number(settings.Devno));
        return rc::Ok;
    case DeviceNet:
        put("DeviceNet", "Baudrate", QString::number(settings.DeviceNetBaud));
        return rc::Ok;
    default:
        return rc::UnknownInterface;
    }
}
