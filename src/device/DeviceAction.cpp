#include "device/DeviceAccess.h"
#include "device/DeviceAccessSupport.h"
#include "model/Configuration.h"
#include "model/ParameterKind.h"
#include "model/ValueText.h"
#include "transport/AppState.h"

using namespace deviceaccess;

namespace {

int32_t sendAction(AppState& state, const InterfaceSettings& settings, const DeviceEntry& entry, XmlNode node)
{
    const double value = StrToDouble(node.childText("Value"));
    if (parameterKind(node.name()) == ParameterKind::ActionLong)
        return Device_SetLong(state, settings, entry, node, roundTo<int32_t>(value));
    return Device_SetByte(state, settings, entry, node, roundTo<uint8_t>(value));
}

int32_t executeAction(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry, const QString& path,
                      Host* panel)
{
    XmlNode node;
    if (const int32_t found = findParameter(state, entry, path, node); found < 0)
        return found;
    Host& host = *state.core.host;
    if (const XmlNode confirmation = node.child("Confirmation")) {
        if (ShowMessage(host, Descr_GetText(confirmation, state.core.Language), msg::Question) != msg::Yes)
            return rc::Declined;
    }
    if (!isBusKind(entry.InterfaceKind))
        return rc::UnknownInterface;
    if (panel)
        panel->setStatusText(QStringLiteral("L'action est exécutée..."));
    BusyPointer busy(host);
    const int32_t result = sendAction(state, settings, entry, node);
    if (panel)
        panel->setStatusText(QString());
    if (result < 0) {
        // What the failed action left in the device is unknown: read all of it again.
        readBackIntoConfiguration(state, settings, entry, Conf_Parameters(state.Configuration.get()),
                                  QStringLiteral("."), panel);
        return rc::ValueNotSet;
    }
    return flagOf(node, "ReloadComplete") ? rc::ReloadComplete : rc::Ok;
}

}  // namespace

int32_t Device_ExecuteAction(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry,
                             const QString& path, Host* panel)
{
    return guarded(
        *state.core.host, msg::Warning,
        [](const QString& what) {
            return QStringLiteral("Erreur '") + what +
                   QStringLiteral("' lors de la mise d'un paramètre dans l'appareil !");
        },
        [&] { return executeAction(state, settings, entry, path, panel); });
}
