#pragma once
#include <QString>

class CliSession;
struct CliOptions;

// One command of quelbrin-cli: its name, its arguments, what it does. `run` returns
// the exit code.
struct CliCommand {
    const char* name;
    const char* synopsis;
    int minArguments;
    int maxArguments;
    int (*run)(CliSession& session, const CliOptions& options);
};

// The command of that name, or null.
const CliCommand* findCliCommand(const QString& name);
// One line per command, for the help text.
QString cliCommandSummary();

int runNets(CliSession& session, const CliOptions& options);
int runScan(CliSession& session, const CliOptions& options);
int runShow(CliSession& session, const CliOptions& options);
int runGet(CliSession& session, const CliOptions& options);
int runSet(CliSession& session, const CliOptions& options);
int runBackup(CliSession& session, const CliOptions& options);
int runRestore(CliSession& session, const CliOptions& options);
int runWatch(CliSession& session, const CliOptions& options);
int runMonitor(CliSession& session, const CliOptions& options);
int runNmt(CliSession& session, const CliOptions& options);
