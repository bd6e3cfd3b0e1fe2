#include "model/ConfCheck.h"

#include "core/AppCore.h"
#include "core/DeviceEntry.h"
#include "core/Host.h"
#include "core/ResultCodes.h"
#include "core/xml/XmlFiles.h"
#include "model/Checks.h"
#include "model/ParameterKind.h"
#include "model/ParameterLog.h"
#include "model/ValueText.h"

#include <algorithm>
#include <stdexcept>

namespace {

struct CheckContext {
    AppCore& app;
    const Descriptions& descriptions;
    const DeviceEntry& entry;
    XmlNode parameters;
};

int32_t checkPath(CheckContext& c, const QString& path);

// "Persistent" of a node: `fallback` when missing, or an error when the kind has none.
bool persistent(XmlNode node, std::optional<bool> fallback)
{
    const XmlNode flag = node.child("Persistent");
    if (flag)
        return textToBool(flag.text());
    if (!fallback)
        throw std::runtime_error("élément 'Persistent' manquant");
    return *fallback;
}

int32_t checkGroup(CheckContext& c, XmlNode group, const QString& path)
{
    int32_t result = rc::Ok;
    for (XmlNode member : group.child("Members").elementChildren()) {
        const int32_t memberResult = checkPath(c, path + '/' + member.childText("Name"));
        if (memberResult < 0)
            result = memberResult;
    }
    return result;
}

int32_t checkStoredValue(CheckContext& c, const Description* d, XmlNode node, ParameterKind kind,
                         const QString& path, QString& text)
{
    const bool onlyWhenMarked = kind == ParameterKind::EnumString || kind == ParameterKind::EnumFloat ||
                                kind == ParameterKind::BitMask || kind == ParameterKind::ValueHexBinary;
    if (!persistent(node, onlyWhenMarked ? std::optional<bool>(false) : std::nullopt))
        return rc::ReloadComplete;
    const XmlNode element = c.parameters.selectSingle(path);
    if (!element)
        return rc::UnknownInConfiguration;
    text = element.text();
    // A number the bus type cannot carry would be sent cut to its width.
    if (const int32_t fits = Check_Width(c.app, node, StrToDouble(text)); fits < 0)
        return fits;
    switch (kind) {
    case ParameterKind::ValueShort:
    case ParameterKind::ValueLong:
    case ParameterKind::ValueLongFloat:
        return Check_Long(c.app, d, path, roundTo<int32_t>(StrToDouble(text)));
    case ParameterKind::ValueByte:
        return Check_Byte(c.app, d, path, roundTo<uint8_t>(StrToDouble(text)));
    case ParameterKind::ValueString:
        return Check_String(c.app, d, path, text);
    case ParameterKind::ValueFloat:
        return Check_Float(c.app, d, path, float(StrToDouble(text)));
    default:
        return rc::Ok;
    }
}

// A parameter reachable only through another kind of interface: the device's
// configuration has no value for it, as the device read skipped it.
bool onAnotherInterface(const CheckContext& c, XmlNode node)
{
    const int32_t required = roundTo<int32_t>(StrToDouble(node.childText("RequiresInterface")));
    return required != 0 && required != c.entry.InterfaceKind;
}

int32_t checkNode(CheckContext& c, const Description* d, XmlNode node, const QString& path,
                  QString& text)
{
    if (onAnotherInterface(c, node))
        return rc::ReloadComplete;
    const ParameterKind kind = parameterKind(node.name());
    switch (kind) {
    case ParameterKind::Group:
        return checkGroup(c, node, path);
    case ParameterKind::Toggle:
    case ParameterKind::ValueDate:
    case ParameterKind::SequenceConstLong:
        return rc::Ok;
    case ParameterKind::ActionByte:
    case ParameterKind::ActionLong:
        return rc::ReloadComplete;
    case ParameterKind::Unknown:
        ShowMessage(*c.app.host,
                    path + QStringLiteral(": Type de paramètre inconnu '") + node.name() +
                        QStringLiteral("'!"),
                    msg::Ok);
        return rc::UnknownInDescription;
    default:
        return checkStoredValue(c, d, node, kind, path, text);
    }
}

int32_t checkPath(CheckContext& c, const QString& path)
{
    const Description* d = Descr_OfDevice(c.descriptions, c.entry);
    XmlNode node;
    const int32_t found = Descr_FindNode(path, d, node);
    if (found < 0)
        return found;
    QString text;
    try {
        const int32_t result = checkNode(c, d, node, path, text);
        if (result < 0)
            Log_WriteParameterError(c.app, c.entry, node,
                                    QStringLiteral("Erreur lors de la vérification du paramètre"));
        return result;
    } catch (const std::exception& failure) {
        const QString message = Device_GetLabel(c.entry) +
                                QStringLiteral("Erreur lors de la vérification du paramètre '") + path +
                                QStringLiteral("' avec la valeur : '") + text + QStringLiteral("'\r\n") +
                                QStringLiteral("Message : '") + QString::fromUtf8(failure.what()) + '\'';
        Log_Write(c.app, message);
        ShowMessage(*c.app.host, message, msg::Warning);
        return rc::Failed;
    }
}

}  // namespace

int32_t Conf_CheckParameter(AppCore& app, const Descriptions& descriptions,
                            const DeviceEntry& entry, XmlNode parameters, const QString& path)
{
    CheckContext context{app, descriptions, entry, parameters};
    return checkPath(context, path);
}

bool Conf_SuitsDescription(XmlNode parameters, const Description* description)
{
    if (description == nullptr)
        return true;
    for (const char* path : {"Common/VendorID", "Common/ProductID"}) {
        const XmlNode element = parameters.selectSingle(QLatin1String(path));
        if (!element || element.text().trimmed().isEmpty())
            continue;
        bool ok = false;
        const qlonglong code = element.text().trimmed().toLongLong(&ok);
        const std::vector<int32_t> codes = Descr_EnumerationCodes(*description, QLatin1String(path));
        if (!ok || std::find(codes.begin(), codes.end(), static_cast<int32_t>(static_cast<uint32_t>(code))) ==
                       codes.end())
            return false;
    }
    return true;
}
