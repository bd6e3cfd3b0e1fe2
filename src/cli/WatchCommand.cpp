// watch: the measured value with its unit every 500 ms, as the main window shows it.
#include "cli/CliOptions.h"
#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "core/Host.h"
#include "measure/MeasureTick.h"

#include <QTextStream>

#include <csignal>

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int)
{
    stopRequested = 1;
}

// SIGINT and SIGTERM end the watch after the current tick, so that the devices are
// left cleanly.
void stopOnSignals()
{
    struct sigaction action = {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

}  // namespace

int runWatch(CliSession& session, const CliOptions& options)
{
    if (!session.openDevice(options.interface, options.device))
        return exitcode::Failed;
    stopOnSignals();
    DeviceContext d = session.device();
    QTextStream out(stdout);
    for (int tick = 1; !stopRequested; ++tick) {
        const TickDisplay shown = measureTick(d);
        if (shown.result < 0)
            return exitcode::Failed;
        out << shown.text << Qt::endl;
        if (tick == options.count)
            break;
        session.host().sleepMs(MeasureTickMs);
    }
    return exitcode::Ok;
}
