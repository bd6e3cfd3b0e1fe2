#include "core/ResultCodes.h"
#include "core/Settings.h"
#include "core/xml/XmlFiles.h"
#include "transport/AppState.h"
#include "transport/InterfaceManager.h"

#include <limits>

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

// Reads the values of one stored kind; a value that is missing or no number of its
// type spoils the whole entry.
class EntryReader {
public:
    EntryReader(const AppCore& app, const QString& kind) : app_(app), prefix_(kStandard + '/' + kind + '/') {}

    QString text(const char* name)
    {
        QString value;
        complete_ = AppConf_Find(app_, prefix_ + QLatin1String(name), value) && complete_;
        return value;
    }
    template <typename T>
    T number(const char* name)
    {
        bool isNumber = false;
        const qlonglong value = text(name).trimmed().toLongLong(&isNumber);
        const bool fits = value >= std::numeric_limits<T>::min() && value <= std::numeric_limits<T>::max();
        complete_ = complete_ && isNumber && fits;
        return T(value);
    }
    bool complete() const { return complete_; }

private:
    const AppCore& app_;
    QString prefix_;
    bool complete_ = true;
};

}  // namespace

int32_t LoadStandardInterface(AppState& state, InterfaceSettings& settings)
{
    const XmlNode standard = settingElement(state.core, kStandard);
    if (!standard)
        return rc::MissingDocument;
    const QString kind = standard.firstElementChild().name();
    EntryReader entry(state.core, kind);
    InterfaceSettings read = settings;
    if (kind == QLatin1String("CANBus")) {
        read.InterfaceType = CANBus;
        read.HWName = entry.text("HardwareName");
        read.BusName = entry.text("BusName");
        read.BaudRate = entry.number<int32_t>("Baudrate");
    } else if (kind == QLatin1String("PROFIBUS")) {
        read.InterfaceType = PROFIBUS;
        read.PType = entry.number<int16_t>("PType");
        read.Devno = entry.number<int16_t>("DevNo");
    } else if (kind == QLatin1String("DeviceNet")) {
        read.InterfaceType = DeviceNet;
        read.DeviceNetBaud = entry.number<int32_t>("Baudrate");
    } else {
        return rc::UnknownInterface;
    }
    if (!entry.complete())
        return rc::UnknownInterface;
    settings = read;
    return rc::Ok;
}

int32_t AppConf_Load(AppState& state)
{
    const int32_t result = AppConf_Load(state.core);
    if (LoadStandardInterface(state, state.StandardInterface) < 0)
        state.StandardInterface = InterfaceSettings();
    return result;
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
