// nets and scan: what the interfaces offer and which devices answer.
#include "cli/CliOptions.h"
#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "transport/can/CanNets.h"

#include <QTextStream>
#include <algorithm>

namespace {

QString familyOf(const AppState& state, const DeviceEntry& entry)
{
    const Description* description = Descr_OfDevice(state.descriptions, entry);
    if (!description)
        return {};
    return description->document()->documentElement().child("Header").childText("Family");
}

}  // namespace

int runNets(CliSession& session, const CliOptions&)
{
    if (!session.start())
        return exitcode::Failed;
    QList<InterfaceSettings> nets;
    const int32_t result = CAN_ListNets(session.state(), nets);
    if (result < 0) {
        cliError(QStringLiteral("the CAN library lists no nets (%1)").arg(result));
        return exitcode::Failed;
    }
    qsizetype width = 0;
    for (const InterfaceSettings& net : nets)
        width = std::max(width, net.HWName.size() + 1 + net.BusName.size());
    QTextStream out(stdout);
    for (const InterfaceSettings& net : nets)
        out << (net.HWName + '/' + net.BusName).leftJustified(width + 2) << net.BaudRate << " kbit/s" << Qt::endl;
    return exitcode::Ok;
}

int runScan(CliSession& session, const CliOptions& options)
{
    if (!session.start() || !session.connectAndScan(options.interface))
        return exitcode::Failed;
    const AppState& state = session.state();
    QTextStream out(stdout);
    for (int32_t i = 1; i <= state.DeviceCount; ++i) {
        const DeviceEntry& entry = state.Devices[i];
        out << i << "  " << Device_GetLabel(entry) << "  " << familyOf(state, entry) << Qt::endl;
    }
    return exitcode::Ok;
}
