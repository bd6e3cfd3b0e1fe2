#pragma once
#include <QString>
#include <cstdint>
#include <vector>

// The NMT commands a person can send, with the name the command line takes and the
// captions of the menus (for one node and for every node).
struct NmtCommand {
    const char* name;   // "start", "stop", "preop", "reset", "reset-comm"
    uint8_t code;       // the NMT command specifier
    QString caption;    // for the chosen device
    QString allCaption; // for every node of the net
    bool asks;          // a reset: the device loses its volatile settings, so ask first
};

const std::vector<NmtCommand>& nmtCommands();
// The command of that name, or null.
const NmtCommand* findNmtCommand(const QString& name);
// The question before a reset; node 0 for every node.
QString nmtQuestion(const NmtCommand& command, const QString& device);
