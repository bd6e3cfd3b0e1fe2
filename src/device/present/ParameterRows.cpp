#include "device/present/ParameterRows.h"

#include "core/ResultCodes.h"
#include "core/xml/XmlFiles.h"
#include "device/DeviceContext.h"
#include "device/DeviceReadText.h"
#include "device/present/ParameterText.h"
#include "model/Descriptions.h"
#include "model/ParameterKind.h"
#include "model/ValueText.h"
#include "transport/ErrorText.h"

#include <algorithm>

namespace {

bool isTrue(XmlNode node, const char* child)
{
    return textToBool(node.childText(child));
}

// Stored values, toggles and dates come from the configuration, as in the grid.
bool fromConfiguration(XmlNode member)
{
    const ParameterKind kind = parameterKind(member.name());
    return isTrue(member, "Persistent") || kind == ParameterKind::Toggle || kind == ParameterKind::ValueDate;
}

int32_t storedText(XmlNode parameters, const QString& path, QString& text)
{
    XmlNode element;
    const int32_t found = Conf_GetNode(path, parameters, element);
    if (found < 0)
        return found;
    text = element.text();
    return element.hasAttribute("Status") ? element.attribute("Status").toInt() : 0;
}

// Enumerations are read as wide as their "Width" says.
int32_t readDeviceText(DeviceContext& d, XmlNode member, const QString& path, QString& text)
{
    const int32_t width = int32_t(leadingNumber(member.childText("Width")));
    return Device_GetValueText(d.state, d.settings, d.entry, path, parameterKind(member.name()), width, text,
                               d.state.core.host);
}

}  // namespace

bool shownOn(XmlNode member, int32_t interfaceKind)
{
    const int32_t required = int32_t(leadingNumber(member.childText("RequiresInterface")));
    return !isTrue(member.child("GUI"), "Hidden") && (required == 0 || required == interfaceKind);
}

bool hasValue(XmlNode member)
{
    switch (parameterKind(member.name())) {
    case ParameterKind::Group:
    case ParameterKind::ActionByte:
    case ParameterKind::ActionLong:
    case ParameterKind::SequenceConstLong:
    case ParameterKind::Unknown:
        return false;
    default:
        return true;
    }
}

ParameterRow parameterRow(DeviceContext& d, XmlNode member, const QString& path)
{
    ParameterRow row{path, {}, {}, 0, {}};
    if (member.childText("AccessMode") == QLatin1String("WO"))
        return row;
    QString text;
    const int32_t result = fromConfiguration(member) ? storedText(d.parameters, path, text)
                                                     : readDeviceText(d, member, path, text);
    // A positive result is a success with a note (a count of bytes, say), no failure.
    row.status = std::min(result, int32_t(rc::Ok));
    if (row.status != 0)
        row.statusText = ErrorText(d.state, d.settings, d.entry, row.status, path);
    const QString& language = d.state.core.Language;
    const QString unit =
        displayUnit(member, Descr_OfDevice(d.state.descriptions, d.entry), d.parameters, language);
    row.stored = text;
    row.value = displayValue(member, text, language);
    if (!row.value.isEmpty() && !unit.isEmpty())
        row.value += ' ' + unit;
    return row;
}

void groupRows(DeviceContext& d, XmlNode group, const QString& path, std::vector<ParameterRow>& rows)
{
    for (XmlNode member : group.child("Members").elementChildren()) {
        if (!shownOn(member, d.settings.InterfaceType))
            continue;
        const QString name = member.childText("Name");
        const QString memberPath = path == QLatin1String(".") ? name : path + '/' + name;
        if (parameterKind(member.name()) == ParameterKind::Group)
            groupRows(d, member, memberPath, rows);
        else if (hasValue(member))
            rows.push_back(parameterRow(d, member, memberPath));
    }
}
