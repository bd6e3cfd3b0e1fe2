#include "device/present/ParameterEdit.h"

#include "core/Host.h"
#include "core/ResultCodes.h"
#include "device/DeviceAccess.h"
#include "device/DeviceContext.h"
#include "device/present/ValueEntry.h"
#include "model/Descriptions.h"

int32_t editValue(DeviceContext& d, XmlNode member, const QString& path, const QString& text,
                  const QString& failedName)
{
    AppState& state = d.state;
    int32_t result = storeEnteredValue(state.core, Descr_OfDevice(state.descriptions, d.entry), member,
                                       d.parameters, path, text);
    if (result >= 0)
        result = DeviceSetValue(state, d.settings, d.entry, d.parameters, path, state.core.host, false);
    if (result == rc::ReloadComplete) {
        readBackIntoConfiguration(state, d.settings, d.entry, d.parameters, QStringLiteral("."), state.core.host);
        return result;
    }
    if (result == rc::Ok)
        return result;
    ShowMessage(*state.core.host,
                failedName.isEmpty() ? QStringLiteral("Paramètre '") + Descr_GetText(member, state.core.Language) +
                                           QStringLiteral("': Erreur lors de la mise du paramètre !")
                                     : failedName + QStringLiteral(": Erreur lors de la mise du paramètre !"),
                msg::Ok);
    // The document must hold again what the device holds, also after a refused entry;
    // a device the write lost has nothing more to read.
    if (d.entry.Online)
        readBackIntoConfiguration(state, d.settings, d.entry, d.parameters, path, state.core.host);
    return result;
}
