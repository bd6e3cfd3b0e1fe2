#pragma once
#include "sim/amplifier/FaultInjection.h"

#include <QString>
#include <cstdint>
#include <optional>

class CanRackServers;

// One command of quelbrin-sim's standard input.
struct ConsoleCommand {
    enum class Kind { Reboot, Off, On, Fault };
    Kind kind = Kind::Reboot;
    uint8_t node = 0;
    DeviceFault fault = DeviceFault::InputOverload;   // Fault only
    bool start = false;                               // Fault only

    friend bool operator==(const ConsoleCommand&, const ConsoleCommand&) = default;
};

// What a line asks for: a command, or why it is refused; neither for a blank line.
struct ConsoleLine {
    std::optional<ConsoleCommand> command;
    QString error;
};

ConsoleLine parseConsoleLine(const QString& line);

// Runs the command on the CAN nodes (null: no CAN bus is served). True and the
// answer line ("ok: reboot 5"), or false and why in `answer`.
bool runConsoleCommand(const ConsoleCommand& command, CanRackServers* servers, QString& answer);

// The commands and the faults, for --help.
QString consoleHelp();
