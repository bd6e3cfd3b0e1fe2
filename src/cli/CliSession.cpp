#include "cli/CliSession.h"

#include "core/Host.h"
#include "device/AppInit.h"
#include "device/BusSetup.h"
#include "device/DeviceSession.h"
#include "transport/InterfaceManager.h"
#include "transport/can/CanNets.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace {

// Each run is an instance of its own: several commands may run side by side, also
// beside the window program, as long as they use different buses.
QString instanceKey()
{
    return QStringLiteral("quelbrin-cli-%1").arg(QCoreApplication::applicationPid());
}

}  // namespace

void cliError(const QString& text)
{
    QTextStream(stderr) << "quelbrin-cli: " << text << Qt::endl;
}

CliSession::CliSession(Host& host) : host_(host)
{
    state_.core.host = &host_;
    state_.core.programFolder = App_ProgramFolder();
    state_.core.instanceKey = instanceKey();
}

CliSession::~CliSession()
{
    if (state_.CurrentInterface.Connected)
        Interface_Disconnect(state_, state_.CurrentInterface);
}

bool CliSession::start()
{
    if (App_Init(state_) < 0)
        return false;
    Bus_CreateProgramLibraries(state_);
    return true;
}

bool CliSession::connectInterface(const InterfaceSettings& interface)
{
    InterfaceSettings& settings = state_.CurrentInterface;
    settings = interface;
    if (Interface_Connect(state_, settings) < 0)
        return false;
    // As the interface command does: a serial line counts as connected once chosen.
    settings.Connected = true;
    if (settings.InterfaceType == CANBus)
        CAN_FindNet(state_, settings);
    return true;
}

bool CliSession::scan()
{
    return Device_Scan(state_, state_.CurrentInterface, &host_) > 0;
}

bool CliSession::connectAndScan(const InterfaceSettings& interface)
{
    return connectInterface(interface) && scan();
}

bool CliSession::deviceExists(int32_t n) const
{
    if (n <= state_.DeviceCount)
        return true;
    cliError(QStringLiteral("--device %1: the scan found %2 device(s)").arg(n).arg(state_.DeviceCount));
    return false;
}

bool CliSession::connectDevice(int32_t n)
{
    if (!deviceExists(n))
        return false;
    DeviceEntry& entry = state_.Devices[n];
    // A device that stopped answering while its configuration was read is offline
    // again (after the connect's message): what is in the document is not its own.
    if (Device_Connect(state_, state_.CurrentInterface, entry, parameters_, &host_) < 0)
        return false;
    if (!entry.Online) {
        cliError(Device_GetLabel(entry) + QStringLiteral(": the device stopped answering"));
        return false;
    }
    state_.CurrentDevice = n;
    return true;
}

bool CliSession::openDevice(const InterfaceSettings& interface, int32_t n)
{
    return start() && connectAndScan(interface) && connectDevice(n);
}

DeviceContext CliSession::device()
{
    return {state_, state_.CurrentInterface, state_.Devices[state_.CurrentDevice], parameters_};
}

QString CliSession::configurationSchema() const
{
    const QString schema = state_.core.programFolder + QStringLiteral("/DevConf.xsd");
    return QFileInfo::exists(schema) ? schema : QString();
}
