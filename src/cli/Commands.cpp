#include "cli/Commands.h"

#include <QStringList>

namespace {

constexpr CliCommand Commands[] = {
    {"nets", "nets                 the CAN nets that --can can name", 0, 0, runNets},
    {"scan", "scan                 the devices on the interface", 0, 0, runScan},
    {"show", "show [N]             every parameter of device N (default --device)", 0, 1, runShow},
    {"get", "get PATH             one parameter, or every parameter of a group", 1, 1, runGet},
    {"set", "set PATH VALUE       validate, write and read back one parameter", 2, 2, runSet},
    {"backup", "backup DIR           every device's configuration to DIR/<serial>.xml", 1, 1, runBackup},
    {"restore", "restore FILE         write a saved configuration into the device", 1, 1, runRestore},
    {"watch", "watch                the measured value every 500 ms until stopped", 0, 0, runWatch},
    {"monitor", "monitor              boot-ups, NMT states, heartbeats and EMCYs of every node", 0, 0, runMonitor},
    {"nmt", "nmt COMMAND          start, stop, preop, reset or reset-comm to --device N or --all", 1, 1, runNmt},
};

}  // namespace

const CliCommand* findCliCommand(const QString& name)
{
    for (const CliCommand& command : Commands) {
        if (name == QLatin1String(command.name))
            return &command;
    }
    return nullptr;
}

QString cliCommandSummary()
{
    QStringList lines;
    for (const CliCommand& command : Commands)
        lines << QStringLiteral("  ") + QLatin1String(command.synopsis);
    return lines.join('\n');
}
