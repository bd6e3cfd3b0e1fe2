// watch: the measured value with its unit every 500 ms, as the main window shows it,
// through a lost bus or a rebooted device: a line on standard error per change.
#include "cli/CliOptions.h"
#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "cli/StopSignals.h"
#include "core/Host.h"
#include "measure/RecoveringTick.h"

#include <QTextStream>

int runWatch(CliSession& session, const CliOptions& options)
{
    if (!session.openDevice(options.interface, options.device))
        return exitcode::Failed;
    stopOnSignals();
    DeviceContext d = session.device();
    RecoveringTick link;
    QTextStream out(stdout);
    for (int printed = 0; !stopRequested();) {
        const RecoveringTick::Outcome outcome = link.tick(d);
        // --verbose has shown it with the status texts.
        if (!outcome.said.isEmpty() && !options.verbose)
            cliError(outcome.said);
        if (outcome.link != RecoveringTick::Link::Lost) {
            if (outcome.shown.result < 0)
                return exitcode::Failed;
            out << outcome.shown.text << Qt::endl;
            if (++printed == options.count)
                break;
        }
        session.host().sleepMs(MeasureTickMs);
    }
    return exitcode::Ok;
}
