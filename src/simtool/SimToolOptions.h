#pragma once
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

// What quelbrin-sim serves, from its command line.
struct SimToolOptions {
    QString descriptionFolder;   // --data: where the descriptions are
    QString family = QStringLiteral("QSG2");   // --family: description file name without ".xml"
    std::vector<uint8_t> nodes;  // --node, repeatable; none: the demo rack

    // Services; at least one is asked for. --can plugin:interface.
    QString canPlugin;
    QString canInterface;
    // --serial: the first amplifier also answers serial frames on a pseudo-terminal.
    bool serial = false;
    // --link: a symbolic link to the pseudo-terminal, made at start and removed at the end.
    QString serialLink;
};

enum class SimToolCommand { Run, ShowHelp, Fail };

// Reads the command line (arguments[0] is the program). ShowHelp: `message` holds
// the help text; Fail: `message` says what is wrong.
SimToolCommand parseSimToolOptions(const QStringList& arguments, SimToolOptions& options, QString& message);
