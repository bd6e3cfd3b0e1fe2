#include "simtool/ConsoleCommands.h"

#include "sim/can/CanRackServers.h"
#include "sim/can/EmcyFaults.h"

#include <QStringList>
#include <algorithm>
#include <iterator>

namespace {

using Kind = ConsoleCommand::Kind;
constexpr int HighestNode = 127;

struct Verb {
    const char* name;
    Kind kind;
    const char* usage;
    const char* help;
};

constexpr Verb Verbs[] = {
    {"reboot", Kind::Reboot, "reboot N",
     "node N restarts as after a power cycle: silent a moment,\n"
     "                             then boot-up, pre-operational, volatile settings lost"},
    {"off", Kind::Off, "off N", "node N leaves the bus: it answers and sends nothing"},
    {"on", Kind::On, "on N", "node N is back on the bus and boots up as a device powered again"},
    {"fault", Kind::Fault, "fault N NAME start|stop", "fault NAME of node N starts or ends, told by an EMCY"},
};

const Verb* findVerb(const QString& name)
{
    const auto found = std::find_if(std::begin(Verbs), std::end(Verbs),
                                    [&](const Verb& verb) { return name == QLatin1String(verb.name); });
    return found == std::end(Verbs) ? nullptr : found;
}

const Verb& verbOf(Kind kind)
{
    return *std::find_if(std::begin(Verbs), std::end(Verbs), [kind](const Verb& verb) { return verb.kind == kind; });
}

QString faultNames()
{
    QStringList names;
    for (const EmcyFault& fault : emcyFaults())
        names << QLatin1String(fault.name);
    return names.join(QStringLiteral(", "));
}

ConsoleLine refused(const QString& why)
{
    return {std::nullopt, why};
}

// The words after the verb: the node, and for a fault its name and start or stop.
ConsoleLine parseArguments(const Verb& verb, const QStringList& words)
{
    const ConsoleLine usage = refused(QStringLiteral("usage: %1").arg(QLatin1String(verb.usage)));
    const qsizetype expected = verb.kind == Kind::Fault ? 4 : 2;
    bool numeric = false;
    const int node = words.size() == expected ? words[1].toInt(&numeric) : 0;
    if (!numeric || node < 1 || node > HighestNode)
        return usage;
    ConsoleCommand command{verb.kind, uint8_t(node)};
    if (verb.kind != Kind::Fault)
        return {command, {}};
    const EmcyFault* fault = findEmcyFault(words[2]);
    if (!fault)
        return refused(QStringLiteral("unknown fault: %1 (faults: %2)").arg(words[2], faultNames()));
    if (words[3] != QLatin1String("start") && words[3] != QLatin1String("stop"))
        return usage;
    command.fault = fault->fault;
    command.start = words[3] == QLatin1String("start");
    return {command, {}};
}

QString commandText(const ConsoleCommand& command)
{
    QString text = QStringLiteral("%1 %2").arg(QLatin1String(verbOf(command.kind).name)).arg(command.node);
    if (command.kind == Kind::Fault)
        text += QStringLiteral(" %1 %2").arg(QLatin1String(emcyFaultOf(command.fault).name),
                                             command.start ? QStringLiteral("start") : QStringLiteral("stop"));
    return text;
}

}  // namespace

ConsoleLine parseConsoleLine(const QString& line)
{
    const QStringList words = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return {};
    const Verb* verb = findVerb(words[0]);
    if (!verb)
        return refused(QStringLiteral("unknown command: %1").arg(words[0]));
    return parseArguments(*verb, words);
}

bool runConsoleCommand(const ConsoleCommand& command, CanRackServers* servers, QString& answer)
{
    SimCanNode* node = servers ? servers->node(command.node) : nullptr;
    if (!node) {
        answer = servers ? QStringLiteral("no node %1 on the CAN bus").arg(command.node)
                         : QStringLiteral("no CAN bus served (see --can)");
        return false;
    }
    switch (command.kind) {
    case Kind::Reboot: node->reboot(); break;
    case Kind::Off: node->setOnBus(false); break;
    case Kind::On: node->setOnBus(true); break;
    case Kind::Fault: node->setFault(command.fault, command.start); break;
    }
    answer = QStringLiteral("ok: ") + commandText(command);
    return true;
}

QString consoleHelp()
{
    QString help = QStringLiteral("\nCommands on standard input, one a line; each one done is answered\n"
                                  "\"ok: <command>\" on standard output, a refused one on standard error:\n");
    for (const Verb& verb : Verbs)
        help += QStringLiteral("  %1 %2\n").arg(QString::fromLatin1(verb.usage).leftJustified(26),
                                                QLatin1String(verb.help));
    help += QStringLiteral("\nFaults (NAME) and the EMCY error code of each:\n");
    for (const EmcyFault& fault : emcyFaults())
        help += QStringLiteral("  %1 0x%2  %3\n")
                    .arg(QString::fromLatin1(fault.name).leftJustified(14),
                         QString::number(fault.code, 16).toUpper().rightJustified(4, QLatin1Char('0')),
                         QLatin1String(fault.description));
    return help;
}
