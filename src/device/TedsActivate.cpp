// Applying the sensor's TEDS to the channel configuration.
#include "device/TedsOperations.h"

#include "core/Host.h"
#include "core/Log.h"
#include "core/ResultCodes.h"
#include "device/DeviceAccess.h"
#include "device/TedsHelper.h"
#include "transport/AppState.h"
#include "transport/ErrorText.h"

#include <exception>

int32_t Device_ActivateTEDS(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry,
                            XmlNode parameters, QString&, QString&, Host* panel)
{
    Host& host = *state.core.host;
    try {
        const int32_t result = Device_ExecuteAction(state, settings, entry, tedspath::Activate, panel);
        if (result == rc::Declined)
            return rc::Ok;
        if (result == rc::Ok || result == rc::ReloadComplete) {
            // The channel now follows the TEDS: everything may have changed.
            readBackIntoConfiguration(state, settings, entry, parameters, QStringLiteral("."), panel);
        } else {
            const QString text = QStringLiteral("Impossible d'activer TEDS : ") +
                                 ErrorText(state, settings, entry, result, tedspath::Activate) +
                                 QStringLiteral(" (%1)").arg(result);
            Log_Write(state.core, text);
            ShowMessage(host, text, msg::Error);
            readBackIntoConfiguration(state, settings, entry, parameters, tedspath::Activate, panel);
        }
        host.refreshAllWindows();
        return rc::Ok;
    } catch (const std::exception&) {
        Log_Write(state.core, QStringLiteral("Device_ActivateTEDS: Exception occured!"));
        return rc::Failed;
    }
}
