// Connecting a device: open it and read its whole configuration into a new document.
#include "device/DeviceAccess.h"
#include "device/DeviceSession.h"

#include "core/Host.h"
#include "core/ResultCodes.h"
#include "model/Configuration.h"
#include "transport/AppState.h"
#include "transport/ErrorText.h"

#include <QFileInfo>

namespace {

// The configuration schema beside the program; none when it is not installed.
QString configurationSchema(const AppCore& app)
{
    const QString path = app.programFolder + QStringLiteral("/DevConf.xsd");
    return QFileInfo::exists(path) ? path : QString();
}

void showStatus(Host* panel, const QString& text)
{
    if (panel)
        panel->setStatusText(text);
}

}  // namespace

int32_t Device_Connect(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry,
                       XmlNode& parameters, Host* panel)
{
    const QString schema = configurationSchema(state.core);
    // A failed open has already shown the real error: one message is enough, and the
    // caller learns from the negative result that nothing is connected.
    if (const int32_t opened = Device_Open(state, settings, entry, panel); opened < 0)
        return opened;
    if (const int32_t created = Conf_New(schema, state.Configuration); created < 0)
        return created;
    parameters = Conf_Parameters(state.Configuration.get());
    showStatus(panel, QStringLiteral("Lire l'appareil..."));
    const QString everything = QStringLiteral(".");
    const int32_t loaded = Conf_UpdateValue(state, settings, entry, parameters, everything, panel);
    // A bus that gave up on the device has already said why: one message is enough.
    if (loaded < 0 && loaded != rc::NoDevice)
        ShowMessage(*state.core.host,
                    QStringLiteral("Erreur lors du raccordement à l'appareil : ") +
                        ErrorText(state, settings, entry, loaded, everything) + QStringLiteral("!"),
                    msg::Error);
    showStatus(panel, QString());
    Device_CheckRequiredVersion(state, parameters);
    return rc::Ok;
}
