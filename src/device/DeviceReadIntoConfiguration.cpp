// One parameter read from the device into the configuration document, by kind.
#include "device/DeviceAccess.h"
#include "device/DeviceAccessSupport.h"
#include "core/xml/XmlFiles.h"
#include "model/Configuration.h"
#include "model/ParameterKind.h"
#include "model/ValueText.h"
#include "transport/AppState.h"

namespace deviceaccess {

namespace {

struct Update {
    AppState& state;
    const InterfaceSettings& settings;
    DeviceEntry& entry;
    XmlNode node;
    const QString& path;
    Host* panel;
    XmlNode element;
};

int32_t get(const Update& u, bool& value)
{
    return Device_GetToggle(u.state, u.settings, u.entry, u.path, value, u.panel);
}
int32_t get(const Update& u, uint8_t& value)
{
    return Device_GetByte(u.state, u.settings, u.entry, u.path, value, u.panel);
}
int32_t get(const Update& u, int16_t& value)
{
    return Device_GetShort(u.state, u.settings, u.entry, u.path, value, u.panel);
}
int32_t get(const Update& u, int32_t& value)
{
    return Device_GetLong(u.state, u.settings, u.entry, u.path, value, u.panel);
}
int32_t get(const Update& u, float& value)
{
    return Device_GetFloat(u.state, u.settings, u.entry, u.path, value, u.panel);
}

QString textOf(bool value) { return boolToText(value); }
QString textOf(float value) { return floatToText(value); }
template <typename T>
QString textOf(T value)
{
    return QString::number(value);
}

// The value read stored, or the failure marked on the element; the read's result.
int32_t store(XmlNode element, int32_t result, const QString& text)
{
    if (result != rc::Ok)
        Conf_MarkFailed(element, result);
    else
        Conf_StoreRead(element, text);
    return result;
}

template <typename T>
int32_t update(const Update& u)
{
    T value{};
    const int32_t result = get(u, value);
    return store(u.element, result, textOf(value));
}

// Control characters would spoil the document and the grid; line breaks are kept.
QString masked(QString text)
{
    for (QChar& c : text) {
        if (c.unicode() < 32 && c != u'\n' && c != u'\r')
            c = u'*';
    }
    return text;
}

int32_t updateString(const Update& u)
{
    QString value;
    const int32_t result = Device_GetString(u.state, u.settings, u.entry, u.path, value, u.panel);
    return store(u.element, result, masked(value));
}

// A code from the device is stored only when the description lists it.
int32_t storeCode(const Update& u, int32_t code)
{
    if (!u.node.selectSingle(QStringLiteral("Enumeration/EnumItem[Code = %1]").arg(code))) {
        ShowMessage(*u.state.core.host,
                    Device_GetLabel(u.entry) + QStringLiteral(": La valeur '%1' non est admise pour '").arg(code) +
                        u.path + QStringLiteral("' le type d'énumération !"),
                    msg::Information);
        return rc::Refused;
    }
    Conf_StoreRead(u.element, QString::number(code));
    return rc::Ok;
}

template <typename T>
int32_t readCode(const Update& u, int32_t& code)
{
    T value{};
    const int32_t result = get(u, value);
    code = value;
    return result;
}

int32_t updateEnumString(const Update& u)
{
    int32_t code = 0;
    const int32_t width = numberOf(u.node, "Width");
    const int32_t result = width == 8    ? readCode<uint8_t>(u, code)
                           : width == 16 ? readCode<int16_t>(u, code)
                                         : readCode<int32_t>(u, code);
    if (result < 0)
        Conf_MarkFailed(u.element, result);
    return result == rc::Ok ? storeCode(u, code) : result;
}

int32_t updateEnumFloat(const Update& u)
{
    int32_t code = 0;
    const int32_t result = readCode<uint8_t>(u, code);
    if (result != rc::Ok) {
        Conf_MarkFailed(u.element, result);
        return result;
    }
    return storeCode(u, code);
}

int32_t updateBitMask(const Update& u)
{
    int32_t value = 0;
    const int32_t result =
        Device_GetBitMask(u.state, u.settings, u.entry, u.path, numberOf(u.node, "Width"), value, u.panel);
    return store(u.element, result, QString::number(value));
}

// A block that cannot be read is kept empty; the walk over the tree is not stopped by
// it, unless the bus gave up on the device while reading it.
int32_t updateHexBinary(const Update& u)
{
    QByteArray bytes;
    int32_t length = 0;
    const int32_t result = Device_GetHexBinary(u.state, u.settings, u.entry, u.path, bytes, length, u.panel);
    if (result >= 0) {
        Conf_StoreRead(u.element, BytesToHex(bytes, length));
    } else {
        Conf_MarkFailed(u.element, result);
        XmlNode(u.element).setText(QString());
    }
    return result == rc::NoDevice ? result : rc::Ok;
}

int32_t updateDate(const Update& u)
{
    QDate value;
    const int32_t result = Device_GetDate(u.state, u.settings, u.entry, u.path, value, u.panel);
    if (result != rc::Ok)
        XmlNode(u.element).setText(dateToText(dateOrigin()));
    return store(u.element, result, dateToText(value));
}

int32_t readInto(const Update& u, ParameterKind kind)
{
    switch (kind) {
    case ParameterKind::Toggle: return update<bool>(u);
    case ParameterKind::ValueFloat: return update<float>(u);
    case ParameterKind::ValueString: return updateString(u);
    case ParameterKind::ValueByte: return update<uint8_t>(u);
    case ParameterKind::ValueShort: return update<int16_t>(u);
    case ParameterKind::ValueLong:
    case ParameterKind::ValueLongFloat: return update<int32_t>(u);
    case ParameterKind::EnumString: return updateEnumString(u);
    case ParameterKind::EnumFloat: return updateEnumFloat(u);
    case ParameterKind::BitMask: return updateBitMask(u);
    case ParameterKind::ValueHexBinary: return updateHexBinary(u);
    case ParameterKind::ValueDate: return updateDate(u);
    default: return rc::Ok;
    }
}

// Values the device does not keep are not read, except the toggles and the kinds
// that are always read.
bool skipped(XmlNode node, ParameterKind kind)
{
    switch (kind) {
    case ParameterKind::ValueFloat:
    case ParameterKind::ValueString:
    case ParameterKind::ValueByte:
    case ParameterKind::ValueShort:
    case ParameterKind::ValueLong:
    case ParameterKind::ValueLongFloat:
    case ParameterKind::EnumString: return node.hasChild("Persistent") && !flagOf(node, "Persistent");
    default: return false;
    }
}

}  // namespace

int32_t updateParameter(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry, XmlNode node,
                        XmlNode parameters, const QString& path, Host* panel)
{
    const ParameterKind kind = parameterKind(node.name());
    switch (kind) {
    case ParameterKind::ActionByte:
    case ParameterKind::ActionLong:
    case ParameterKind::SequenceConstLong:
    case ParameterKind::Group: return rc::Ok;
    case ParameterKind::Unknown:
        ShowMessage(*state.core.host,
                    QStringLiteral("Conf_UpdateValue(): ") + path + QStringLiteral(": Type de paramètre inconnu '") +
                        node.name() + QStringLiteral("'!"),
                    msg::Ok);
        return rc::Ok;
    default: break;
    }
    if (skipped(node, kind))
        return rc::Ok;
    XmlNode element;
    if (Conf_GetNode(path, parameters, element) < 0 || !element)
        return rc::UnknownInConfiguration;
    return readInto({state, settings, entry, node, path, panel, element}, kind);
}

}  // namespace deviceaccess
