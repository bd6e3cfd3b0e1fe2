// quelbrin-cli: the program's device operations from the command line.
#include "cli/CliOptions.h"
#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "cli/ConsoleHost.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    CliOptions options;
    QString message;
    switch (parseCliOptions(application.arguments(), options, message)) {
    case CliParse::ShowHelp:
        QTextStream(stdout) << message;
        return exitcode::Ok;
    case CliParse::Fail:
        cliError(message);
        return exitcode::Usage;
    case CliParse::Run:
        break;
    }
    // Qt's CAN plug-ins complain about driver libraries of hardware nobody asked for.
    if (!options.verbose)
        QLoggingCategory::setFilterRules(QStringLiteral("qt.canbus*=false"));
    ConsoleHost host(options.answer, options.verbose);
    CliSession session(host);
    return findCliCommand(options.command)->run(session, options);
}
