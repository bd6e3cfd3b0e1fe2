// monitor and nmt: what the CAN net announces, and the NMT commands to its nodes.
#include "cli/CliOptions.h"
#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "cli/StopSignals.h"
#include "transport/ErrorText.h"
#include "transport/can/events/CanNetListener.h"
#include "transport/can/events/NmtCommand.h"
#include "transport/can/lib/CanLibrary.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QTextStream>

namespace {

constexpr int MonitorPollMs = 20;

bool requireCan(const CliOptions& options)
{
    if (options.interface.InterfaceType == CANBus)
        return true;
    cliError(QStringLiteral("%1 works on a CAN net only (--can)").arg(options.command));
    return false;
}

// The device of the scan on that node, or the node alone.
QString nodeName(const AppState& state, uint8_t node)
{
    for (int32_t i = 1; i <= state.DeviceCount; ++i)
        if (state.Devices[i].NodeId == node)
            return Device_GetLabel(state.Devices[i]);
    return QStringLiteral("node %1").arg(node);
}

QString monitorLine(const AppState& state, const NetEvent& event)
{
    return QDateTime::currentDateTime().toString(Qt::ISODateWithMs) + QStringLiteral("  ") +
           nodeName(state, event.node) + QStringLiteral("  ") + netEventText(event);
}

}  // namespace

int runMonitor(CliSession& session, const CliOptions& options)
{
    if (!requireCan(options))
        return exitcode::Usage;
    // The scan names the known nodes; a net where nothing answers is still worth hearing.
    if (!session.start() || !session.connectInterface(options.interface))
        return exitcode::Failed;
    session.scan();
    AppState& state = session.state();
    CanNetListener& listener = *state.buses.canEvents();
    stopOnSignals();
    QTextStream out(stdout);
    QElapsedTimer elapsed;
    elapsed.start();
    int printed = 0;
    while (!stopRequested() && (options.seconds == 0 || elapsed.elapsed() < options.seconds * 1000LL)) {
        listener.checkSilence(state.buses.can->busTimeMs());
        for (const NetEvent& event : listener.takeEvents()) {
            out << monitorLine(state, event) << Qt::endl;
            if (++printed == options.count)
                return exitcode::Ok;
        }
        session.host().sleepMs(MonitorPollMs);
    }
    return exitcode::Ok;
}

int runNmt(CliSession& session, const CliOptions& options)
{
    const NmtCommand* nmt = findNmtCommand(options.arguments.first());
    if (!nmt) {
        QStringList names;
        for (const NmtCommand& command : nmtCommands())
            names << QLatin1String(command.name);
        cliError(QStringLiteral("nmt %1: give one of %2").arg(options.arguments.first(), names.join(", ")));
        return exitcode::Usage;
    }
    if (!requireCan(options))
        return exitcode::Usage;
    if (!session.start() || !session.connectInterface(options.interface))
        return exitcode::Failed;
    AppState& state = session.state();
    uint8_t node = 0;
    QString label;
    if (!options.all) {
        if (!session.scan() || !session.deviceExists(options.device))
            return exitcode::Failed;
        node = uint8_t(state.Devices[options.device].NodeId);
        label = Device_GetLabel(state.Devices[options.device]);
    }
    if (nmt->asks && ShowMessage(session.host(), nmtQuestion(*nmt, label), msg::Question) != msg::Yes) {
        cliError(QStringLiteral("nmt %1: nothing sent").arg(QLatin1String(nmt->name)));
        return exitcode::Failed;
    }
    if (const int32_t result = state.buses.can->sendNmt(nmt->code, node); result < 0) {
        cliError(QStringLiteral("nmt %1: %2").arg(QLatin1String(nmt->name), resultCodeText(result)));
        return exitcode::Failed;
    }
    return exitcode::Ok;
}
