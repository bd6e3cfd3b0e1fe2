// quelbrin-cli refuses what it cannot do before it touches a bus (exit code 2), and
// says which device or net it cannot find (exit code 1).
#include "e2e/cli_runner.h"
#include "support/QStringPrint.h"

#include <gtest/gtest.h>

namespace {

TEST(CliUsage, RefusesBadCommandLinesWithTheReason)
{
    const struct {
        QStringList arguments;
        QString line;
    } cases[] = {
        {{}, "quelbrin-cli: give a command:"},
        {{"list"}, "quelbrin-cli: unknown command list; the commands are:"},
        {{"get"}, "quelbrin-cli: usage: get PATH"},
        {{"set", "Scaling/PhysicalUnit"}, "quelbrin-cli: usage: set PATH VALUE"},
        {{"scan", "now"}, "quelbrin-cli: usage: scan"},
        {{"show", "first"}, "quelbrin-cli: show first: give the device's number in the scan"},
        {{"show", "--device", "0"}, "quelbrin-cli: --device 0: give a number from 1"},
        {{"scan", "--can", "Simulation"},
         "quelbrin-cli: --can Simulation: give hardware/net, such as Simulation/Démo or virtualcan/can0"},
        {{"scan", "--serial", "0"}, "quelbrin-cli: --serial 0: give a number from 1 to 255"},
        {{"scan", "--profibus", "10"}, "quelbrin-cli: --profibus 10: give ptype:devno, such as 10:1"},
        {{"scan", "--devicenet", "3"}, "quelbrin-cli: --devicenet 3: give a number from 0 to 2"},
        {{"scan", "--can", "virtualcan/can0", "--serial", "1"},
         "quelbrin-cli: give one interface: --can, --serial, --profibus or --devicenet"},
        {{"watch", "--count", "0"}, "quelbrin-cli: --count 0: give a number from 1"},
        {{"scan", "--yes", "--no"}, "quelbrin-cli: give --yes or --no, not both"},
        {{"scan", "--fast"}, "quelbrin-cli: Unknown option 'fast'."},
    };
    CliRunner cli;
    for (const auto& c : cases) {
        const CliRun run = cli.run(c.arguments);
        EXPECT_EQ(run.exitCode, 2) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.startsWith(c.line)) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    }
}

TEST(CliUsage, HelpListsTheCommandsAndTheInterfaceOptions)
{
    const CliRun run = CliRunner().run({"--help"});
    EXPECT_EQ(run.exitCode, 0);
    for (const char* text : {"backup DIR", "restore FILE", "set PATH VALUE", "watch", "--can <hardware/net>",
                             "--serial <n>", "--profibus <ptype:devno>", "--devicenet <baud>", "--yes", "--count <n>"})
        EXPECT_TRUE(run.out.contains(QString::fromUtf8(text))) << text;
}

TEST(CliUsage, SaysWhatItCannotReach)
{
    const struct {
        QStringList arguments;
        QString text;
    } cases[] = {
        {{"scan", "--can", "Simulation/Nulle part"},
         "Erreur-16510 lors de la connexion : 'Matériel 'Simulation' ou réseau 'Nulle part' n'existe pas !'"},
        {{"show", "4"}, "quelbrin-cli: --device 4: the scan found 3 device(s)"},
        {{"get", "Scaling/Nothing"},
         "quelbrin-cli: Scaling/Nothing: Paramètre inconnu au fichier de description de l'appareil"},
        {{"get", "ApplicationObjects/Restart"}, "quelbrin-cli: ApplicationObjects/Restart: no value to show"},
        {{"set", "TEDS/SensorID", "00"},
         "quelbrin-cli: TEDS/SensorID: the command line sets no value of a ParameterValueHexBinary"},
    };
    CliRunner cli;
    for (const auto& c : cases) {
        const CliRun run = cli.run(c.arguments);
        EXPECT_EQ(run.exitCode, 1) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(c.text)) << run.err.toStdString();
    }
}

}  // namespace
