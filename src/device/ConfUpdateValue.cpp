#include "device/DeviceAccess.h"
#include "device/DeviceAccessSupport.h"
#include "core/Log.h"
#include "model/ParameterKind.h"
#include "transport/AppState.h"

using namespace deviceaccess;

namespace {

// Member after member; a lost device ends the walk, any other failure stays on its
// element and the walk goes on.
int32_t updateGroup(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry, XmlNode group,
                    XmlNode parameters, const QString& path, Host* panel)
{
    int32_t result = rc::Ok;
    for (XmlNode member : group.selectAll(QStringLiteral("Members/*"))) {
        const bool wasOnline = entry.Online;
        result = Conf_UpdateValue(state, settings, entry, parameters, childPath(path, member.childText("Name")),
                                  panel);
        if (deviceLost(result, wasOnline, entry))
            break;
    }
    return result;
}

bool requiresOtherInterface(XmlNode node, const InterfaceSettings& settings)
{
    const int32_t required = numberOf(node, "RequiresInterface");
    return required != 0 && required != settings.InterfaceType;
}

}  // namespace

int32_t Conf_UpdateValue(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry,
                         XmlNode parameters, const QString& path, Host* panel)
{
    Host& host = *state.core.host;
    BusyPointer busy(host);
    XmlNode node;
    if (const int32_t found = findParameter(state, entry, path, node); found < 0)
        return found;
    if (requiresOtherInterface(node, settings))
        return rc::Ok;
    try {
        if (parameterKind(node.name()) == ParameterKind::Group)
            return updateGroup(state, settings, entry, node, parameters, path, panel);
        return updateParameter(state, settings, entry, node, parameters, path, panel);
    } catch (const std::exception& error) {
        Log_Write(state.core, QStringLiteral("Conf_UpdateValue: Exception occured!"));
        ShowMessage(host,
                    Device_GetLabel(entry) + QStringLiteral("\r\n: Erreur lors de la lecture du paramètre '") + path +
                        QStringLiteral("' à partir de l'appareil : '") + QString::fromLocal8Bit(error.what()) +
                        u'\'',
                    msg::Ok);
        return rc::Failed;
    }
}

void readBackIntoConfiguration(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry,
                               XmlNode parameters, const QString& path, Host* panel)
{
    static_cast<void>(Conf_UpdateValue(state, settings, entry, parameters, path, panel));
}
