#include "cli/CliOptions.h"

#include "cli/Commands.h"
#include "device/CanSetup.h"

#include <QCommandLineParser>
#include <QRegularExpression>

#include <climits>

namespace {

const QCommandLineOption CanOption(
    QStringLiteral("can"),
    QStringLiteral("CAN hardware and net, such as Simulation/Démo (the default), virtualcan/can0 or "
                   "virtualcan/tcp://127.0.0.1:35468/can0."),
    QStringLiteral("hardware/net"));
const QCommandLineOption SerialOption(QStringLiteral("serial"), QStringLiteral("Serial port COM n."),
                                      QStringLiteral("n"));
const QCommandLineOption ProfibusOption(QStringLiteral("profibus"),
                                        QStringLiteral("PROFIBUS master card type and device number."),
                                        QStringLiteral("ptype:devno"));
const QCommandLineOption DeviceNetOption(QStringLiteral("devicenet"),
                                         QStringLiteral("DeviceNet baud code: 0 500k, 1 250k, 2 125k."),
                                         QStringLiteral("baud"));
const QCommandLineOption DeviceOption(QStringLiteral("device"),
                                      QStringLiteral("The device to work with, by its number in the scan."),
                                      QStringLiteral("n"), QStringLiteral("1"));
const QCommandLineOption YesOption(QStringLiteral("yes"), QStringLiteral("Answer every question with yes."));
const QCommandLineOption NoOption(QStringLiteral("no"),
                                  QStringLiteral("Answer every question with no (the default)."));
const QCommandLineOption CountOption(QStringLiteral("count"),
                                     QStringLiteral("watch: stop after n measurements; monitor: after n events."),
                                     QStringLiteral("n"));
const QCommandLineOption SecondsOption(QStringLiteral("seconds"), QStringLiteral("monitor: stop after s seconds."),
                                       QStringLiteral("s"));
const QCommandLineOption AllOption(QStringLiteral("all"), QStringLiteral("nmt: to every node of the net."));
const QCommandLineOption VerboseOption(QStringLiteral("verbose"),
                                       QStringLiteral("Show the status texts on standard error."));

constexpr int HighestComPort = 255;
constexpr int HighestDeviceNetBaud = 2;

// An integer from low to high, or a message naming the option.
bool readInteger(const QString& option, const QString& text, int low, int high, int& value, QString& message)
{
    bool ok = false;
    value = text.toInt(&ok);
    if (ok && value >= low && value <= high)
        return true;
    message = high == INT_MAX ? QStringLiteral("--%1 %2: give a number from %3").arg(option, text).arg(low)
                              : QStringLiteral("--%1 %2: give a number from %3 to %4").arg(option, text).arg(low).arg(high);
    return false;
}

// The net may hold slashes and colons itself (a tcp:// URL): the hardware ends at
// the first of them, so that quelbrin-sim's "virtualcan:can0" is taken too.
bool readCan(const QString& value, InterfaceSettings& settings, QString& message)
{
    static const QRegularExpression separator(QStringLiteral("[/:]"));
    const qsizetype split = value.indexOf(separator);
    if (split <= 0 || split == value.size() - 1) {
        message = QStringLiteral("--can %1: give hardware/net, such as Simulation/Démo or virtualcan/can0").arg(value);
        return false;
    }
    settings.InterfaceType = CANBus;
    settings.HWName = value.left(split);
    settings.BusName = value.mid(split + 1);
    return true;
}

bool readProfibus(const QString& value, InterfaceSettings& settings, QString& message)
{
    const QStringList parts = value.split(':');
    int type = 0;
    int devno = 0;
    if (parts.size() != 2 || !readInteger("profibus", parts[0], 0, INT16_MAX, type, message) ||
        !readInteger("profibus", parts[1], 0, INT16_MAX, devno, message)) {
        message = QStringLiteral("--profibus %1: give ptype:devno, such as 10:1").arg(value);
        return false;
    }
    settings.InterfaceType = PROFIBUS;
    settings.PType = int16_t(type);
    settings.Devno = int16_t(devno);
    return true;
}

// At most one interface option; none leaves the simulation net.
bool readInterface(const QCommandLineParser& parser, InterfaceSettings& settings, QString& message)
{
    int given = 0;
    for (const QCommandLineOption* option : {&CanOption, &SerialOption, &ProfibusOption, &DeviceNetOption})
        given += parser.isSet(*option) ? 1 : 0;
    if (given > 1) {
        message = QStringLiteral("give one interface: --can, --serial, --profibus or --devicenet");
        return false;
    }
    settings = InterfaceSettings{};
    if (parser.isSet(SerialOption)) {
        int port = 0;
        if (!readInteger("serial", parser.value(SerialOption), 1, HighestComPort, port, message))
            return false;
        settings.InterfaceType = RS232;
        settings.ComPort = int16_t(port);
        return true;
    }
    if (parser.isSet(ProfibusOption))
        return readProfibus(parser.value(ProfibusOption), settings, message);
    if (parser.isSet(DeviceNetOption)) {
        settings.InterfaceType = DeviceNet;
        return readInteger("devicenet", parser.value(DeviceNetOption), 0, HighestDeviceNetBaud,
                           settings.DeviceNetBaud, message);
    }
    return readCan(parser.isSet(CanOption) ? parser.value(CanOption) : SimulationHardware + '/' + DemoNet,
                   settings, message);
}

bool readCommand(const QStringList& positional, CliOptions& options, QString& message)
{
    if (positional.isEmpty()) {
        message = QStringLiteral("give a command:\n") + cliCommandSummary();
        return false;
    }
    options.command = positional.first();
    options.arguments = positional.mid(1);
    const CliCommand* command = findCliCommand(options.command);
    if (!command) {
        message = QStringLiteral("unknown command %1; the commands are:\n").arg(options.command) + cliCommandSummary();
        return false;
    }
    const int count = int(options.arguments.size());
    if (count < command->minArguments || count > command->maxArguments) {
        message = QStringLiteral("usage: %1").arg(QString::fromLatin1(command->synopsis).section("  ", 0, 0));
        return false;
    }
    return true;
}

bool readNumbers(const QCommandLineParser& parser, CliOptions& options, QString& message)
{
    if (!readInteger("device", parser.value(DeviceOption), 1, INT_MAX, options.device, message))
        return false;
    // "show N" names the device as --device does.
    if (options.command == QLatin1String("show") && !options.arguments.isEmpty() &&
        !readInteger("device", options.arguments.first(), 1, INT_MAX, options.device, message)) {
        message = QStringLiteral("show %1: give the device's number in the scan").arg(options.arguments.first());
        return false;
    }
    options.all = parser.isSet(AllOption);
    if (options.all && parser.isSet(DeviceOption)) {
        message = QStringLiteral("give --device or --all, not both");
        return false;
    }
    return (!parser.isSet(CountOption) ||
            readInteger("count", parser.value(CountOption), 1, INT_MAX, options.count, message)) &&
           (!parser.isSet(SecondsOption) ||
            readInteger("seconds", parser.value(SecondsOption), 1, INT_MAX, options.seconds, message));
}

}  // namespace

CliParse parseCliOptions(const QStringList& arguments, CliOptions& options, QString& message)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Works with Quelbrin amplifiers from the command line.\n\nCommands:\n") + cliCommandSummary() +
        QStringLiteral("\n\nA value that starts with '-' follows \"--\": set -- ZeroTare/ZeroOffset -5"));
    const QCommandLineOption help = parser.addHelpOption();
    parser.addOptions({CanOption, SerialOption, ProfibusOption, DeviceNetOption, DeviceOption, YesOption, NoOption,
                       CountOption, SecondsOption, AllOption, VerboseOption});
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("What to do (see Commands)."),
                                 QStringLiteral("command [arguments]"));
    if (!parser.parse(arguments)) {
        message = parser.errorText();
        return CliParse::Fail;
    }
    if (parser.isSet(help)) {
        message = parser.helpText();
        return CliParse::ShowHelp;
    }
    if (parser.isSet(YesOption) && parser.isSet(NoOption)) {
        message = QStringLiteral("give --yes or --no, not both");
        return CliParse::Fail;
    }
    options.answer = parser.isSet(YesOption) ? msg::Yes : msg::No;
    options.verbose = parser.isSet(VerboseOption);
    if (!readCommand(parser.positionalArguments(), options, message) ||
        !readInterface(parser, options.interface, message) || !readNumbers(parser, options, message))
        return CliParse::Fail;
    return CliParse::Run;
}
