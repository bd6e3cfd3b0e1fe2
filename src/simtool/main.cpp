// quelbrin-sim: simulated amplifiers on a real bus, for the assistant and for
// tests that reach them from another process.
#include "core/ResultCodes.h"
#include "sim/can/SimClock.h"
#include "sim/serial/SerialFrameServer.h"
#include "simtool/CanService.h"
#include "simtool/ConsoleCommands.h"
#include "simtool/ConsoleInput.h"
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

// A command line of the standard input: its answer on standard output, or why not
// on standard error.
void runConsoleLine(const QString& line, CanRackServers* servers, QTextStream& out, QTextStream& err)
{
    const ConsoleLine parsed = parseConsoleLine(line);
    QString answer = parsed.error;
    if (parsed.command && runConsoleCommand(*parsed.command, servers, answer))
        out << answer << Qt::endl;
    else if (!answer.isEmpty())
        err << "quelbrin-sim: " << answer << Qt::endl;
}

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
    CanRackServers* servers = can ? can->servers.get() : nullptr;
    ConsoleInput console([&](const QString& line) { runConsoleLine(line, servers, out, err); });
    quitOnTerminationSignals();
    return application.exec();
}
