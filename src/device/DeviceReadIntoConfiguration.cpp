// One parameter read from the device into the configuration document, by kind.
#include "device/DeviceAccess.h"
#include "device/DeviceAccessSupport.h"
#include "device/DeviceReadText.h"
#include "core/xml/XmlFiles.h"
#include "model/Configuration.h"
#include "model/ParameterKind.h"
#include "model/ValueText.h"
#include "transport/AppState.h"

namespace deviceaccess {

namespace {

constexpr int32_t ByteWidth = 8;

struct Update {
    AppState& state;
    const InterfaceSettings& settings;
    DeviceEntry& entry;
    XmlNode node;
    const QString& path;
    Host* panel;
    XmlNode element;
};

// The value read stored, or the failure marked on the element; the read's result.
int32_t store(XmlNode element, int32_t result, const QString& text)
{
    if (result != rc::Ok)
        Conf_MarkFailed(element, result);
    else
        Conf_StoreRead(element, text);
    return result;
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

// A code from the device is stored only when the description lists it.
int32_t storeCode(const Update& u, const QString& code)
{
    if (!u.node.selectSingle(QStringLiteral("Enumeration/EnumItem[Code = %1]").arg(code))) {
        ShowMessage(*u.state.core.host,
                    Device_GetLabel(u.entry) + QStringLiteral(": La valeur '%1' non est admise pour '").arg(code) +
                        u.path + QStringLiteral("' le type d'énumération !"),
                    msg::Information);
        return rc::Refused;
    }
    Conf_StoreRead(u.element, code);
    return rc::Ok;
}

// A code the read could not give marks the element; a note with it stores nothing.
int32_t storeEnumString(const Update& u, int32_t result, const QString& code)
{
    if (result < 0)
        Conf_MarkFailed(u.element, result);
    return result == rc::Ok ? storeCode(u, code) : result;
}

int32_t storeEnumFloat(const Update& u, int32_t result, const QString& code)
{
    if (result != rc::Ok) {
        Conf_MarkFailed(u.element, result);
        return result;
    }
    return storeCode(u, code);
}

// A block that cannot be read is kept empty; the walk over the tree is not stopped by
// it, unless the bus gave up on the device while reading it.
int32_t storeHexBinary(const Update& u, int32_t result, const QString& hex)
{
    if (result >= 0) {
        Conf_StoreRead(u.element, hex);
    } else {
        Conf_MarkFailed(u.element, result);
        XmlNode(u.element).setText(QString());
    }
    return result == rc::NoDevice ? result : rc::Ok;
}

int32_t storeDate(const Update& u, int32_t result, const QString& date)
{
    if (result != rc::Ok)
        XmlNode(u.element).setText(dateToText(dateOrigin()));
    return store(u.element, result, date);
}

// Enumerations of floats are read as a byte, whatever their "Width".
int32_t readInto(const Update& u, ParameterKind kind)
{
    const int32_t width = kind == ParameterKind::EnumFloat ? ByteWidth : numberOf(u.node, "Width");
    QString text;
    const int32_t result = Device_GetValueText(u.state, u.settings, u.entry, u.path, kind, width, text, u.panel);
    switch (kind) {
    case ParameterKind::ValueString: return store(u.element, result, masked(text));
    case ParameterKind::EnumString: return storeEnumString(u, result, text);
    case ParameterKind::EnumFloat: return storeEnumFloat(u, result, text);
    case ParameterKind::ValueHexBinary: return storeHexBinary(u, result, text);
    case ParameterKind::ValueDate: return storeDate(u, result, text);
    default: return store(u.element, result, text);
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
