// backup and restore: whole configurations between devices and files.
#include "cli/CliOptions.h"
#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "core/ResultCodes.h"
#include "core/xml/XmlFiles.h"
#include "device/DeviceAccess.h"
#include "device/DeviceSession.h"
#include "model/ConfCheck.h"
#include "model/Configuration.h"

#include <QDir>
#include <QTextStream>

namespace {

// Reads device n's whole configuration and saves it as <serial>.xml in the folder.
bool backUp(CliSession& session, int32_t n, const QDir& folder)
{
    AppState& state = session.state();
    DeviceEntry& entry = state.Devices[n];
    if (entry.SerialNumber.isEmpty()) {
        cliError(Device_GetLabel(entry) + QStringLiteral(": no serial number to name its file after"));
        return false;
    }
    if (!session.connectDevice(n))
        return false;
    const QString path = folder.filePath(entry.SerialNumber + QStringLiteral(".xml"));
    const bool saved = Xml_Save(state.Configuration.get(), path) == rc::Ok;
    if (saved)
        QTextStream(stdout) << Device_GetLabel(entry) << "  " << QDir::toNativeSeparators(path) << Qt::endl;
    else
        cliError(path + QStringLiteral(": cannot be written"));
    // The file is written or not whatever the disconnect says; a failed close has shown its message.
    static_cast<void>(Device_Disconnect(state, session.settings(), entry, &session.host()));
    return saved;
}

}  // namespace

int runBackup(CliSession& session, const CliOptions& options)
{
    const QDir folder(options.arguments[0]);
    if (!folder.mkpath(QStringLiteral("."))) {
        cliError(options.arguments[0] + QStringLiteral(": cannot create the folder"));
        return exitcode::Failed;
    }
    if (!session.start() || !session.connectAndScan(options.interface))
        return exitcode::Failed;
    bool allSaved = true;
    for (int32_t n = 1; n <= session.state().DeviceCount; ++n)
        allSaved = backUp(session, n, folder) && allSaved;
    return allSaved ? exitcode::Ok : exitcode::Failed;
}

// As the load command of the program: the file becomes the current configuration,
// is checked against the device's description and written whole into the device.
int runRestore(CliSession& session, const CliOptions& options)
{
    if (!session.openDevice(options.interface, options.device))
        return exitcode::Failed;
    DeviceContext d = session.device();
    const QString& file = options.arguments[0];
    if (Conf_LoadFile(session.host(), file, session.configurationSchema(), d.state.Configuration) < 0)
        return exitcode::Failed;
    d.parameters = Conf_Parameters(d.state.Configuration.get());
    const QString whole = QStringLiteral(".");
    if (Conf_CheckParameter(d.state.core, d.state.descriptions, d.entry, d.parameters, whole) < 0) {
        cliError(file + QStringLiteral(": does not suit ") + Device_GetLabel(d.entry) +
                 QStringLiteral("; nothing written"));
        return exitcode::Failed;
    }
    const int32_t result = DeviceSetValue(d.state, d.settings, d.entry, d.parameters, whole, &session.host(), false);
    if (result == rc::ReloadComplete)
        readBackIntoConfiguration(d.state, d.settings, d.entry, d.parameters, whole, &session.host());
    if (result < 0)
        return exitcode::Failed;
    QTextStream(stdout) << file << "  " << Device_GetLabel(d.entry) << Qt::endl;
    return exitcode::Ok;
}
