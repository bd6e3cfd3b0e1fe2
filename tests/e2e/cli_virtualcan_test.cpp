// quelbrin-cli against quelbrin-sim, each in a process of its own, over Qt's
// virtualcan bus: the real CANopen client with real time-outs.
#include "e2e/SimProcess.h"
#include "e2e/cli_runner.h"
#include "support/QStringPrint.h"

#include "core/xml/XmlDocument.h"
#include "support/TestFolder.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Backup {
    QString serial;
    QString label;
};
const Backup Devices[] = {{"100127", "CAN-ID 127, Snr. 100127"}, {"100005", "CAN-ID 5, Snr. 100005"}};

QString configurationSchema()
{
    return TestFolder::shippedProgramFolder() + QStringLiteral("/DevConf.xsd");
}

QString stored(const XmlDocument& document, const QString& path)
{
    return document.documentElement().selectSingle(QStringLiteral("Parameters/") + path).text();
}

// Backs up both devices into the folder and checks the report line of each.
void backUp(const CliRunner& cli, const SimProcess& sim, const QString& folder)
{
    const CliRun run = cli.run({"backup", folder, "--can", "virtualcan/" + sim.canInterface()});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QStringList lines;
    for (const Backup& device : Devices)
        lines << device.label + "  " + QDir(folder).filePath(device.serial + ".xml");
    EXPECT_EQ(run.outLines(), lines);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), (QStringList{"100005.xml", "100127.xml"}));
}

// The saved file is a valid configuration document holding what the device holds.
void loadBackup(const QString& folder, const QString& serial, XmlDocument& document)
{
    QString reason;
    ASSERT_TRUE(document.load(QDir(folder).filePath(serial + ".xml"), configurationSchema(), &reason))
        << reason.toStdString();
    EXPECT_EQ(document.documentElement().name(), "DeviceConfiguration");
    EXPECT_EQ(stored(document, "Common/SerialNumber"), serial);
    EXPECT_EQ(stored(document, "Common/VendorID"), "858");
    EXPECT_EQ(stored(document, "Common/ProductID"), "5308417");
    EXPECT_EQ(stored(document, "Common/DeviceName"), "ZEM QSG 2");
    EXPECT_TRUE(document.documentElement().selectAll("//*[@Status]").empty()) << "a read failed";
}

TEST(CliVirtualcan, BackupRestoreBackup)
{
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--node", "5", "--node", "127"}, 2)) << sim.errors().toStdString();
    CliRunner cli;
    QTemporaryDir before;
    ASSERT_NO_FATAL_FAILURE(backUp(cli, sim, before.path()));
    XmlDocument node5;
    XmlDocument node127;
    ASSERT_NO_FATAL_FAILURE(loadBackup(before.path(), "100005", node5));
    ASSERT_NO_FATAL_FAILURE(loadBackup(before.path(), "100127", node127));
    EXPECT_EQ(stored(node5, "Scaling/PhysicalUnit"), "0");
    EXPECT_EQ(stored(node5, "Common/ChannelName"), "");

    // Into node 5 (the second device of the scan): kg and a channel name.
    node5.documentElement().selectSingle("Parameters/Scaling/PhysicalUnit").setText("3");
    node5.documentElement().selectSingle("Parameters/Common/ChannelName").setText("Balance 5");
    const QString edited = before.filePath("edited.xml");
    ASSERT_TRUE(node5.save(edited));
    // quelbrin-sim's way of naming the bus is taken too.
    const CliRun restore = cli.run({"restore", edited, "--device", "2", "--can", "virtualcan:" + sim.canInterface()});
    EXPECT_EQ(restore.exitCode, 0) << restore.err.toStdString();
    EXPECT_EQ(restore.outLines(), QStringList{edited + "  CAN-ID 5, Snr. 100005"});

    QTemporaryDir after;
    ASSERT_NO_FATAL_FAILURE(backUp(cli, sim, after.path()));
    XmlDocument restored;
    XmlDocument untouched;
    ASSERT_NO_FATAL_FAILURE(loadBackup(after.path(), "100005", restored));
    ASSERT_NO_FATAL_FAILURE(loadBackup(after.path(), "100127", untouched));
    EXPECT_EQ(stored(restored, "Scaling/PhysicalUnit"), "3");
    EXPECT_EQ(stored(restored, "Common/ChannelName"), "Balance 5");
    EXPECT_EQ(stored(untouched, "Scaling/PhysicalUnit"), "0");
    EXPECT_EQ(stored(untouched, "Common/ChannelName"), "");
    EXPECT_EQ(sim.stop(), 0);
}

// The device goes away while its configuration is read: nothing the command was asked
// for can be done, and no value is printed from a document the device never filled.
TEST(CliVirtualcan, ADeviceLostWhileConnectingFailsTheCommand)
{
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--node", "5"}, 1)) << sim.errors().toStdString();
    const CliRunner cli;
    QProcess get;
    get.setReadChannel(QProcess::StandardError);
    cli.start(get, {"get", "Scaling/PhysicalUnit", "--verbose", "--can", "virtualcan/" + sim.canInterface()});
    QString err;
    while (!err.contains("Lire l'appareil...") && get.waitForReadyRead(30000))
        err += QString::fromUtf8(get.readAllStandardError());
    ASSERT_TRUE(err.contains("Lire l'appareil...")) << err.toStdString();
    sim.stop();
    ASSERT_TRUE(get.waitForFinished(60000));
    err += QString::fromUtf8(get.readAllStandardError());
    EXPECT_EQ(get.exitCode(), 1) << err.toStdString();
    EXPECT_TRUE(get.readAllStandardOutput().isEmpty());
    EXPECT_TRUE(err.contains("the device stopped answering")) << err.toStdString();
}

}  // namespace

namespace {

// Reads the process's channel until the text shows; what was read.
QString readUntil(QProcess& process, QProcess::ProcessChannel channel, const QString& text, QString& seen)
{
    process.setReadChannel(channel);
    while (!seen.contains(text) && process.waitForReadyRead(30000))
        seen += QString::fromUtf8(channel == QProcess::StandardError ? process.readAllStandardError()
                                                                     : process.readAllStandardOutput());
    return seen;
}

// The bus goes with the simulator and comes back with it: watch says so once each way
// on standard error and prints the values it was asked for.
TEST(CliVirtualcan, WatchOutlivesTheBusGoingAndComingBack)
{
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--node", "5"}, 1)) << sim.errors().toStdString();
    const CliRunner cli;
    QProcess watch;
    cli.start(watch, {"watch", "--count", "3", "--can", "virtualcan/" + sim.canInterface()});
    QString out;
    QString err;
    ASSERT_TRUE(readUntil(watch, QProcess::StandardOutput, "mV/V", out).contains("mV/V")) << out.toStdString();
    sim.kill();
    ASSERT_TRUE(readUntil(watch, QProcess::StandardError, "ne répond plus", err).contains("ne répond plus"))
        << err.toStdString();
    ASSERT_TRUE(sim.start({"--node", "5"}, 1)) << sim.errors().toStdString();
    ASSERT_TRUE(watch.waitForFinished(60000));
    out += QString::fromUtf8(watch.readAllStandardOutput());
    err += QString::fromUtf8(watch.readAllStandardError());
    EXPECT_EQ(watch.exitCode(), 0) << err.toStdString();
    EXPECT_EQ(out.count("mV/V"), 3) << out.toStdString();
    EXPECT_EQ(err.count("ne répond plus"), 1) << err.toStdString();
    EXPECT_EQ(err.count("sa configuration a été relue"), 1) << err.toStdString();
}

}  // namespace
