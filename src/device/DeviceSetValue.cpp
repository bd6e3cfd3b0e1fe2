#include "device/DeviceAccess.h"
#include "device/DeviceAccessSupport.h"
#include "model/ParameterKind.h"
#include "model/ValueText.h"
#include "transport/AppState.h"
#include "transport/ErrorText.h"

using namespace deviceaccess;

namespace {

const QString kChannelNamePath = QStringLiteral("Common/ChannelName");

// Every writable, stored member in turn; a member the device holds read-only does
// not fail the group, any other failure does (the last one is reported). A lost
// device ends the walk.
int32_t writeGroup(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry, XmlNode group,
                   XmlNode parameters, const QString& path, Host* panel, bool quiet)
{
    int32_t result = rc::Ok;
    for (XmlNode member : group.child("Members").elementChildren()) {
        const bool persistent = !member.hasChild("Persistent") || flagOf(member, "Persistent");
        if (accessModeOf(member) == QLatin1String("RO") || !persistent)
            continue;
        const bool wasOnline = entry.Online;
        const int32_t written = DeviceSetValue(state, settings, entry, parameters,
                                               childPath(path, member.childText("Name")), panel, quiet);
        if (written < 0 && written != rc::ReadOnly)
            result = written;
        if (deviceLost(written, wasOnline, entry))
            break;
    }
    return result;
}

int32_t setValue(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry, XmlNode parameters,
                 const QString& path, Host* panel, bool quiet)
{
    XmlNode node;
    if (const int32_t found = findParameter(state, entry, path, node); found < 0)
        return found;
    WriteReport report;
    const bool group = parameterKind(node.name()) == ParameterKind::Group;
    const int32_t result = group ? writeGroup(state, settings, entry, node, parameters, path, panel, quiet)
                                 : writeFromConfiguration(state, settings, entry, node, parameters, path, quiet, report);
    if (path == kChannelNamePath && report.written)
        entry.Name = trimBlanks(*report.written);
    if (result == rc::Ok && flagOf(node, "ReloadComplete"))
        return rc::ReloadComplete;
    // A failed member has said so and read itself back already.
    if (result >= 0 || group)
        return result;
    if (!quiet && !report.told)
        ShowMessage(*state.core.host,
                    QStringLiteral("DeviceSetValue(): ") + path + QStringLiteral(" : ") +
                        ErrorText(state, settings, entry, result, path),
                    msg::Warning);
    // The document must hold again what the device holds.
    readBackIntoConfiguration(state, settings, entry, parameters, path, panel);
    return result;
}

}  // namespace

int32_t DeviceSetValue(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry, XmlNode parameters,
                       const QString& path, Host* panel, bool quiet)
{
    return guarded(
        *state.core.host, msg::Warning,
        [&](const QString& what) {
            return QStringLiteral("Erreur lors de l'écriture du paramètre '") + path +
                   QStringLiteral("' dans l'appareil : '") + what + QStringLiteral("'!");
        },
        [&] { return setValue(state, settings, entry, parameters, path, panel, quiet); });
}
