// quelbrin-cli on the buses the program simulates itself: the CAN net
// "Simulation"/"Démo" and the simulated PROFIBUS and DeviceNet masters, each
// serving QSG 2 amplifiers at 3 and 42 and a QSN 2 at 17.
#include "e2e/cli_runner.h"
#include "support/QStringPrint.h"

#include "core/xml/XmlDocument.h"
#include "support/TestFolder.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(CliSimulation, ScanListsTheDevicesByDescriptionThenAsFound)
{
    const struct {
        QStringList interface;
        QStringList lines;
    } cases[] = {
        {{}, {"1  CAN-ID 42, Snr. 100042  QSG 2", "2  CAN-ID 3, Snr. 100003  QSG 2", "3  CAN-ID 17, Snr. 100017  QSN 2"}},
        {{"--profibus", "10:1"},
         {"1  Adr 3, Snr. 100003  QSG 2", "2  Adr 42, Snr. 100042  QSG 2", "3  Adr 17, Snr. 100017  QSN 2"}},
        {{"--devicenet", "0"},
         {"1  Adr 3, Snr. 100003  QSG 2", "2  Adr 42, Snr. 100042  QSG 2", "3  Adr 17, Snr. 100017  QSN 2"}},
    };
    CliRunner cli;
    for (const auto& c : cases) {
        const CliRun run = cli.run(QStringList{"scan"} + c.interface);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(run.outLines(), c.lines);
        EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    }
}

TEST(CliSimulation, NetsOffersTheSimulationNet)
{
    const CliRun run = CliRunner().run({"nets"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.outLines().contains("Simulation/Démo  1000 kbit/s")) << run.out.toStdString();
}

// Every value as a user reads it: enumeration texts, LongFloat decimals, the float
// format, bit masks in hex, units; hidden parameters and those of other buses left out.
TEST(CliSimulation, ShowPrintsEveryParameterAsTheGridShowsIt)
{
    CliRunner cli;
    const CliRun can = cli.run({"show", "1"});
    ASSERT_EQ(can.exitCode, 0) << can.err.toStdString();
    const struct {
        const char* path;
        const char* value;
    } rows[] = {
        {"Common/VendorID", "ZEM"},
        {"Common/ProductID", "QSG 2 amplificateur pour jauges de contrainte"},
        {"Common/SerialNumber", "100042"},
        {"Common/DeviceName", "ZEM QSG 2"},
        {"Common/CalibrationDate", "2000-01-01"},
        {"Common/ParameterLock", "false"},
        {"Amplifier/Sensitivity", "0.0000 mV/V"},
        {"Amplifier/ExcitationVoltage", "2,5 V"},
        {"Amplifier/Filter", "0.5 Hz"},
        {"Amplifier/NominalLoad", "0.00000 mV/V"},
        {"ZeroTare/TareOffset", "0.000"},
        {"Scaling/ScalingSource", "Mise à l'échelle à deux points"},
        {"Measurement/StatusShort", "0x00"},
        {"DigitalIO/InputOutputLevel", "0x00000000"},
        {"Interface/CANNodeID", "42"},
        {"PDO/Mappings/SendParametersCANId1", "426"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(can.valueOf(row.path), QString::fromUtf8(row.value)) << row.path;
    EXPECT_TRUE(QRegularExpression("^-?\\d+\\.\\d{5} mV/V$").match(can.valueOf("Measurement/ValueNet")).hasMatch())
        << can.valueOf("Measurement/ValueNet").toStdString();
    EXPECT_FALSE(can.out.contains("TEDS/TEDSBlock")) << "hidden";
    EXPECT_FALSE(can.out.contains("ApplicationObjects/Restart")) << "an action has no value";
    EXPECT_FALSE(can.out.contains('[')) << "no read failed";

    const CliRun profibus = cli.run({"show", "3", "--profibus", "10:1"});
    ASSERT_EQ(profibus.exitCode, 0) << profibus.err.toStdString();
    EXPECT_EQ(profibus.valueOf("Common/SerialNumber"), "100017");
    EXPECT_EQ(profibus.valueOf("Common/ProductID"), "QSN 2 amplificateur de signaux normalisés");
    EXPECT_FALSE(profibus.out.contains("PDO/")) << "CANopen only";
    // A count of bytes read (the 8 of the TEDS sensor ID) is no failure.
    for (const QStringList& interface : {QStringList{"--profibus", "10:1"}, QStringList{"--devicenet", "0"}}) {
        const CliRun qsg = cli.run(QStringList{"show", "1"} + interface);
        EXPECT_EQ(qsg.exitCode, 0) << qsg.err.toStdString();
        EXPECT_EQ(qsg.valueOf("TEDS/SensorID"), "1F00394308A38601") << qsg.out.toStdString();
    }
}

TEST(CliSimulation, GetShowsOneParameterOrAGroup)
{
    CliRunner cli;
    const CliRun one = cli.run({"get", "Amplifier/MeasuringRange", "--device", "3"});
    EXPECT_EQ(one.exitCode, 0) << one.err.toStdString();
    EXPECT_EQ(one.outLines(), QStringList{"Amplifier/MeasuringRange  0 ... 10 V"});

    const CliRun group = cli.run({"get", "Scaling", "--devicenet", "0"});
    EXPECT_EQ(group.exitCode, 0) << group.err.toStdString();
    EXPECT_EQ(group.outLines(), (QStringList{
                                    "Scaling/PhysicalUnit     mV/V",
                                    "Scaling/DecimalPointPos  4",
                                    "Scaling/InputPoint1      0.00000 mV/V",
                                    "Scaling/OutputPoint1     0.00000 mV/V",
                                    "Scaling/InputPoint2      0.00000 mV/V",
                                    "Scaling/OutputPoint2     0.00000 mV/V",
                                    "Scaling/DisplayStep      1",
                                    "Scaling/ScalingSource    Mise à l'échelle à deux points",
                                }));
}

// Validated as the grid validates an edit, written, and read back from the device.
QString notSet(const char* description)
{
    return "Paramètre '" + QString::fromUtf8(description) + "': Erreur lors de la mise du paramètre !\n";
}

TEST(CliSimulation, SetValidatesWritesAndReadsBack)
{
    const QString saveQuestion =
        "Enregistrer la configuration actuelle en permanence dans l'appareil avant de déconnecter ?\n(answered no)\n";
    const struct {
        QStringList arguments;
        int exitCode;
        QString line;
        QString err;
    } cases[] = {
        {{"DigitalIO/InputDebounceTime", "250 ms"}, 0, "DigitalIO/InputDebounceTime  250 ms", saveQuestion},
        {{"DigitalIO/InputDebounceTime", "2000"}, 1, "DigitalIO/InputDebounceTime  0 ms",
         "La valeur2000 est en-dehors de l'étendue de valeurs valide 0... 1000\n"
         "Paramètre 'Temps anti-rebond de l'entrée': Erreur lors de la mise du paramètre !\n"},
        {{"Amplifier/Sensitivity", "2,5"}, 0, "Amplifier/Sensitivity  2.5000 mV/V", saveQuestion},
        {{"Amplifier/Sensitivity", "90000"}, 1, "Amplifier/Sensitivity  0.0000 mV/V",
         "La valeur90000  est en-dehors de l'étendue de valeurs valide <= 80000\n"
         "Paramètre 'Sensibilité du capteur': Erreur lors de la mise du paramètre !\n"},
        {{"Scaling/PhysicalUnit", "kg"}, 0, "Scaling/PhysicalUnit  kg", saveQuestion},
        {{"Scaling/PhysicalUnit", "parsec"}, 1, "Scaling/PhysicalUnit  mV/V",
         "La valeur 'parsec' non est admise pour 'Scaling/PhysicalUnit' le type d'énumération !\n"
         "Paramètre 'Unité physique': Erreur lors de la mise du paramètre !\n"},
        {{"Amplifier/Filter", "2 Hz"}, 0, "Amplifier/Filter  2 Hz", saveQuestion},
        {{"Common/CalibrationDate", "31/12/2023"}, 0, "Common/CalibrationDate  2023-12-31", saveQuestion},
        {{"Common/CalibrationDate", "2023-13-01"}, 1, "Common/CalibrationDate  2000-01-01",
         "Date non valide !\nParamètre 'Date d'étalonnage': Erreur lors de la mise du paramètre !\n"},
        {{"Common/SerialNumber", "1"}, 1, "", "Ce paramètre peut être lu uniquement !\n"},
        // What cannot be read unambiguously, or not carried by the bus type, is not written.
        {{"Amplifier/SixWireCircuit", "vrai"}, 1, "Amplifier/SixWireCircuit  false",
         "Valeur booléenne non valide : 'vrai' (true, false, 1 ou 0)\n" + notSet("Montage six fils")},
        {{"Amplifier/SixWireCircuit", "1"}, 0, "Amplifier/SixWireCircuit  true", saveQuestion},
        {{"Amplifier/NominalLoad", "abc"}, 1, "Amplifier/NominalLoad  0.00000 mV/V",
         "Nombre non valide : 'abc'\n" + notSet("Charge nominale du capteur")},
        {{"DigitalIO/InputDebounceTime", "250 s"}, 1, "DigitalIO/InputDebounceTime  0 ms",
         "Nombre non valide : '250 s'\n" + notSet("Temps anti-rebond de l'entrée")},
        {{"LimitSwitches/EnableMask", "zz"}, 1, "LimitSwitches/EnableMask  0x00",
         "Masque binaire non valide : 'zz'\n" + notSet("Seuils activés")},
        {{"LimitSwitches/EnableMask", "0x1FF"}, 1, "LimitSwitches/EnableMask  0x00",
         "La valeur511 est en-dehors de l'étendue de valeurs valide 0... 255\n" + notSet("Seuils activés")},
        {{"LimitSwitches/EnableMask", "0x05"}, 0, "LimitSwitches/EnableMask  0x05", saveQuestion},
        {{"PDO/Mappings/SendParametersTransferMode1", "300"}, 1, "PDO/Mappings/SendParametersTransferMode1  254",
         "La valeur300 est en-dehors de l'étendue de valeurs valide 0... 255\n" +
             notSet("PDO de transmission 1 : type de transmission")},
    };
    CliRunner cli;
    for (const auto& c : cases) {
        const CliRun run = cli.run(QStringList{"set"} + c.arguments);
        const std::string name = c.arguments.join(' ').toStdString();
        EXPECT_EQ(run.exitCode, c.exitCode) << name;
        EXPECT_EQ(run.out.trimmed(), c.line) << name;
        EXPECT_EQ(run.err, c.err) << name;
    }
}

// 9 passes the shown limit but is 90000 raw: the device refuses it and keeps its value.
TEST(CliSimulation, SetOfAValueTheDeviceRefusesShowsTheDevicesValue)
{
    const CliRun run = CliRunner().run({"set", "Amplifier/Sensitivity", "9"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out.trimmed(), "Amplifier/Sensitivity  0.0000 mV/V");
    const QStringList lines = run.err.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << run.err.toStdString();
    EXPECT_EQ(lines[0].trimmed(), "DeviceSetValue(): Amplifier/Sensitivity : Erreur CiA : 'Error class 6, error 9, "
                                  "additional code 31 (hex)");
    EXPECT_EQ(lines[1], "Description :Surveillance de l'étendue de mesure dépassée à la limite supérieure'");
    EXPECT_EQ(lines[2], "Paramètre 'Sensibilité du capteur': Erreur lors de la mise du paramètre !");
}

TEST(CliSimulation, YesStoresTheChangedConfigurationWhenLeaving)
{
    const CliRun run = CliRunner().run({"set", "Common/ChannelName", "Prüfstand 3", "--yes"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.trimmed(), "Common/ChannelName  Prüfstand 3");
    EXPECT_EQ(run.err, "Enregistrer la configuration actuelle en permanence dans l'appareil avant de déconnecter ?\n"
                       "(answered yes)\n"
                       "Enregistrer la configuration actuelle en permanence dans l'appareil ?\n"
                       "(answered yes)\n");
}

TEST(CliSimulation, BackupNamesEveryFileAfterItsDevicesSerialNumber)
{
    QTemporaryDir folder;
    const QString target = folder.filePath("new/backups");
    const CliRun run = CliRunner().run({"backup", target, "--devicenet", "0"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.outLines(), (QStringList{"Adr 3, Snr. 100003  " + target + "/100003.xml",
                                           "Adr 42, Snr. 100042  " + target + "/100042.xml",
                                           "Adr 17, Snr. 100017  " + target + "/100017.xml"}));
    EXPECT_EQ(QDir(target).entryList(QDir::Files), (QStringList{"100003.xml", "100017.xml", "100042.xml"}));
}

// Nothing is written into the device from a file that is no configuration, or
// one of another family.
TEST(CliSimulation, RestoreRefusesAFileThatDoesNotSuitTheDevice)
{
    QTemporaryDir folder;
    CliRunner cli;
    ASSERT_EQ(cli.run({"backup", folder.path()}).exitCode, 0);
    const QString description = TestFolder::shippedProgramFolder() + "/DeviceDescription/QSN2.xml";
    // A transmission type of 300 would reach the device as 255.
    XmlDocument wide;
    ASSERT_TRUE(wide.load(folder.filePath("100042.xml"), QString(), nullptr));
    wide.documentElement().selectSingle("Parameters/PDO/Mappings/SendParametersTransferMode1").setText("300");
    const QString wideFile = folder.filePath("wide.xml");
    ASSERT_TRUE(wide.save(wideFile));
    const struct {
        QString file;
        QString err;
    } cases[] = {
        {folder.filePath("100017.xml"),
         "quelbrin-cli: " + folder.filePath("100017.xml") + ": does not suit CAN-ID 42, Snr. 100042; nothing written\n"},
        {description, "'" + description + "' n'est pas un fichier de configuration de l'appareil !\n"},
        {wideFile, "La valeur300 est en-dehors de l'étendue de valeurs valide 0... 255\nquelbrin-cli: " + wideFile +
                       ": does not suit CAN-ID 42, Snr. 100042; nothing written\n"},
    };
    for (const auto& c : cases) {
        const CliRun run = cli.run({"restore", c.file});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
        EXPECT_EQ(run.err, c.err);
    }
}

TEST(CliSimulation, WatchPrintsTheNetValueWithItsUnitUntilTheCount)
{
    const CliRun run = CliRunner().run({"watch", "--count", "2", "--device", "3"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = run.outLines();
    ASSERT_EQ(lines.size(), 2) << run.out.toStdString();
    for (const QString& line : lines)   // no decimals configured
        EXPECT_TRUE(QRegularExpression("^-?\\d+\\.\\d{4} V$").match(line).hasMatch()) << line.toStdString();
}

// Stopped from outside, it leaves the device and the bus as a finished command does.
TEST(CliSimulation, WatchEndsCleanlyWhenStopped)
{
    QProcess watch;
    CliRunner().start(watch, {"watch", "--device", "2"});
    ASSERT_TRUE(watch.waitForReadyRead(10000)) << watch.readAllStandardError().toStdString();
    watch.terminate();
    ASSERT_TRUE(watch.waitForFinished(5000));
    EXPECT_EQ(watch.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(watch.exitCode(), 0);
    EXPECT_TRUE(QRegularExpression("^-?\\d+\\.\\d{4} mV/V\n").match(QString::fromUtf8(watch.readAllStandardOutput())).hasMatch());
}

}  // namespace
