#pragma once
#include "core/Host.h"
#include "transport/InterfaceSettings.h"

#include <QString>
#include <QStringList>
#include <cstdint>

// Exit codes of quelbrin-cli.
namespace exitcode {
constexpr int Ok = 0;
constexpr int Failed = 1;
constexpr int Usage = 2;
}  // namespace exitcode

// What one run of quelbrin-cli is asked to do, from its command line.
struct CliOptions {
    QString command;
    QStringList arguments;        // the command's own arguments
    InterfaceSettings interface;  // the built-in simulation net unless an option names another
    int32_t device = 1;           // --device: index in the scan's device table
    int answer = msg::No;         // the answer to every question: --yes, --no
    bool verbose = false;         // status texts to standard error
    int count = 0;                // --count: values (watch) or events (monitor) before the end; 0 until stopped
    int seconds = 0;              // --seconds: monitor ends after this long; 0 until stopped
    bool all = false;             // --all: nmt to every node
};

enum class CliParse { Run, ShowHelp, Fail };

// Reads the command line (arguments[0] is the program). ShowHelp: `message` holds
// the help text; Fail: `message` says what is wrong.
CliParse parseCliOptions(const QStringList& arguments, CliOptions& options, QString& message);
