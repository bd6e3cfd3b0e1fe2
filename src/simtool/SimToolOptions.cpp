#include "simtool/SimToolOptions.h"

#include "simtool/ConsoleCommands.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

constexpr int HighestNode = 127;

const QCommandLineOption DataOption(QStringLiteral("data"), QStringLiteral("Folder of the device descriptions."),
                                    QStringLiteral("dir"));
const QCommandLineOption FamilyOption(QStringLiteral("family"),
                                      QStringLiteral("Family of the amplifiers of --node: QSG2 or QSN2."),
                                      QStringLiteral("family"), QStringLiteral("QSG2"));
const QCommandLineOption NodeOption(QStringLiteral("node"),
                                    QStringLiteral("Node ID of an amplifier (repeatable); none: the demo rack."),
                                    QStringLiteral("id"));
const QCommandLineOption CanOption(QStringLiteral("can"),
                                   QStringLiteral("Serve CANopen SDO on a QCanBus plugin and interface, such as "
                                                  "virtualcan:can0 or virtualcan:tcp://127.0.0.1:35468/can0."),
                                   QStringLiteral("plugin:interface"));
const QCommandLineOption SerialOption(QStringLiteral("serial"),
                                      QStringLiteral("Serve the first amplifier's serial frames on a "
                                                     "pseudo-terminal and print its path."));
const QCommandLineOption LinkOption(QStringLiteral("link"),
                                    QStringLiteral("With --serial: make <path> a symbolic link to the "
                                                   "pseudo-terminal while it runs, so that a COM port keeps one "
                                                   "path from run to run."),
                                    QStringLiteral("path"));

// Beside the executable in the build tree; an installed program keeps its data
// under <prefix>/share/quelbrin.
QString defaultDescriptionFolder()
{
    const QString exeFolder = QCoreApplication::applicationDirPath();
    const QString beside = exeFolder + QStringLiteral("/DeviceDescription");
    if (QFileInfo::exists(beside))
        return beside;
    return QDir::cleanPath(exeFolder + QStringLiteral("/../share/quelbrin/DeviceDescription"));
}

bool readNodes(const QCommandLineParser& parser, SimToolOptions& options, QString& message)
{
    for (const QString& text : parser.values(NodeOption)) {
        bool ok = false;
        const int node = text.toInt(&ok);
        if (!ok || node < 1 || node > HighestNode) {
            message = QStringLiteral("--node %1: a node ID is 1 to %2").arg(text).arg(HighestNode);
            return false;
        }
        options.nodes.push_back(uint8_t(node));
    }
    return true;
}

// The interface may hold colons itself (a tcp:// URL): the plugin ends at the first.
bool readCan(const QCommandLineParser& parser, SimToolOptions& options, QString& message)
{
    if (!parser.isSet(CanOption))
        return true;
    const QString value = parser.value(CanOption);
    const qsizetype colon = value.indexOf(':');
    if (colon <= 0 || colon == value.size() - 1) {
        message = QStringLiteral("--can %1: give plugin:interface, such as virtualcan:can0").arg(value);
        return false;
    }
    options.canPlugin = value.left(colon);
    options.canInterface = value.mid(colon + 1);
    return true;
}

bool servesSomething(const SimToolOptions& options)
{
    return !options.canPlugin.isEmpty() || options.serial;
}

}  // namespace

SimToolCommand parseSimToolOptions(const QStringList& arguments, SimToolOptions& options, QString& message)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Runs simulated Quelbrin amplifiers on a bus until it is stopped (SIGINT, SIGTERM); "
                       "commands on standard input act on the CAN nodes."));
    const QCommandLineOption help = parser.addHelpOption();
    parser.addOptions({DataOption, FamilyOption, NodeOption, CanOption, SerialOption, LinkOption});
    if (!parser.parse(arguments)) {
        message = parser.errorText();
        return SimToolCommand::Fail;
    }
    if (parser.isSet(help)) {
        message = parser.helpText() + consoleHelp();
        return SimToolCommand::ShowHelp;
    }
    if (!parser.positionalArguments().isEmpty()) {
        message = QStringLiteral("unexpected argument: %1").arg(parser.positionalArguments().first());
        return SimToolCommand::Fail;
    }
    options.descriptionFolder = parser.isSet(DataOption) ? parser.value(DataOption) : defaultDescriptionFolder();
    options.family = parser.value(FamilyOption);
    options.serial = parser.isSet(SerialOption);
    options.serialLink = parser.value(LinkOption);
    if (!options.serialLink.isEmpty() && !options.serial) {
        message = QStringLiteral("--link needs --serial");
        return SimToolCommand::Fail;
    }
    if (!readNodes(parser, options, message) || !readCan(parser, options, message))
        return SimToolCommand::Fail;
    if (!servesSomething(options)) {
        message = QStringLiteral("nothing to serve: give --can plugin:interface or --serial");
        return SimToolCommand::Fail;
    }
    return SimToolCommand::Run;
}
