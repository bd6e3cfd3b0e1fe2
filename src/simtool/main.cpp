// quelbrin-sim: simulated amplifiers on a real bus, for the assistant and for
// tests that reach them from another process.
#include "core/ResultCodes.h"
#include "sim/can/SimClock.h"
#include "sim/serial/SerialFrameServer.h"
#include "simtool/CanService.h"
#include "simtool/SimToolOptions.h"
#include "simtool/SimToolRack.h"
#include "simtool/TerminalLink.h"
#include "simtool/TerminationSignals.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {
constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;
// The first amplifier's serial frames on a pseudo-terminal, and the link to it.
struct SerialService {
    std::unique_ptr<SerialFrameServer> server;
    std::unique_ptr<TerminalLink> link;
};

bool startSerial(const SimToolOptions& options, SimAmplifier& amplifier, SerialService& service, QString& message)
{
    service.server = SerialFrameServer::start(amplifier, &message);
    if (service.server && !options.serialLink.isEmpty())
        service.link = TerminalLink::make(options.serialLink, service.server->slavePath(), &message);
    return service.server && (options.serialLink.isEmpty() || service.link);
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    SimToolOptions options;
    QString message;
    switch (parseSimToolOptions(application.arguments(), options, message)) {
    case SimToolCommand::ShowHelp:
        out << message;
        return 0;
    case SimToolCommand::Fail:
        err << "quelbrin-sim: " << message << Qt::endl;
        return ExitUsage;
    case SimToolCommand::Run:
        break;
    }

    const std::vector<SimRackEntry> entries = simToolRackEntries(options);
    SimRack rack;
    if (rack.build(entries, &message) != rc::Ok) {
        err << "quelbrin-sim: " << message << Qt::endl;
        return ExitFailure;
    }
    rack.setTimeSource(elapsedTimeSource());

    // One service per bus asked for; each lives until the event loop ends.
    std::unique_ptr<CanService> can;
    if (!options.canPlugin.isEmpty()) {
        can = startCanService(options.canPlugin, options.canInterface, rack, message);
        if (!can) {
            err << "quelbrin-sim: " << message << Qt::endl;
            return ExitFailure;
        }
    }
    SerialService serial;
    if (options.serial && !startSerial(options, *rack.node(entries.front().identity.nodeId), serial, message)) {
        err << "quelbrin-sim: " << message << Qt::endl;
        return ExitFailure;
    }
    if (serial.server)
        out << "serial: " << serial.server->slavePath() << Qt::endl;

    for (const SimRackEntry& entry : entries)
        out << servedNodeLine(entry) << Qt::endl;
    quitOnTerminationSignals();
    return application.exec();
}
