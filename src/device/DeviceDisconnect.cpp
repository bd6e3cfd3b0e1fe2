// Disconnecting devices, with the offer to keep a changed configuration.
#include "device/DeviceAccess.h"
#include "device/DeviceSession.h"

#include "core/Host.h"
#include "core/Log.h"
#include "core/ResultCodes.h"
#include "model/ConfCheck.h"
#include "model/Configuration.h"
#include "transport/AppState.h"
#include "transport/ErrorText.h"

#include <exception>

namespace {

bool workingConfigurationChanged(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry,
                                 Host* panel)
{
    uint8_t changed = 0;
    return Device_GetByte(state, settings, entry, QStringLiteral("ApplicationObjects/Changed"), changed, panel) >= 0 &&
           changed != 0;
}

const QString kSaveAppPath = QStringLiteral("ApplicationObjects/SaveApp");

// Asks whether to store the configuration permanently; a configuration that fails
// its check is stored only when the user insists. A store the device refuses is
// logged: the device is closed all the same.
void offerToSave(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry, Host* panel)
{
    Host& host = *state.core.host;
    if (ShowMessage(host,
                    QStringLiteral("Enregistrer la configuration actuelle en permanence dans l'appareil avant "
                                   "de déconnecter ?"),
                    msg::Question) != msg::Yes)
        return;
    const XmlNode parameters = Conf_Parameters(state.Configuration.get());
    const bool valid =
        Conf_CheckParameter(state.core, state.descriptions, entry, parameters, QStringLiteral(".")) >= 0;
    if (!valid && ShowMessage(host,
                              QStringLiteral("Erreur lors de la vérification des paramètres ! Sauvegarder la "
                                             "configuration quand même ?"),
                              msg::Warning + msg::YesNo) != msg::Yes)
        return;
    const int32_t saved = Device_ExecuteAction(state, settings, entry, kSaveAppPath, panel);
    if (saved < 0)
        Log_Write(state.core, QStringLiteral("Device_Disconnect(): ") + kSaveAppPath + QStringLiteral(" : ") +
                                  ErrorText(state, settings, entry, saved, kSaveAppPath));
}

}  // namespace

int32_t Device_Disconnect(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry,
                          Host* panel)
{
    if (!settings.Connected) {
        entry.Online = false;
        return rc::Ok;
    }
    Host& host = *state.core.host;
    try {
        if (entry.Online && workingConfigurationChanged(state, settings, entry, panel))
            offerToSave(state, settings, entry, panel);
        host.closeDeviceViews();
        return Device_Close(state, settings, entry, panel);
    } catch (const std::exception& failure) {
        ShowMessage(host,
                    QStringLiteral("Erreur lors de la déconnexion de l'appareil '") +
                        QString::fromUtf8(failure.what()) + '\'',
                    msg::Ok);
        return rc::Failed;
    }
}

void Device_DisconnectAll(AppState& state, const InterfaceSettings& settings, Host* panel)
{
    // Each failed close has shown its message; the devices are all offline afterwards.
    for (int32_t i = 1; i <= state.DeviceCount && size_t(i) < state.Devices.size(); ++i)
        static_cast<void>(Device_Disconnect(state, settings, state.Devices[size_t(i)], panel));
    state.DeviceCount = 0;
    state.CurrentDevice = 0;
}
