// The window program, started as a user starts it, against quelbrin-sim on virtualcan:
// its first activation connects the standard interface stored in its settings.
#include "e2e/SimProcess.h"
#include "support/QStringPrint.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A settings file whose standard interface is the CAN net of the simulator.
void writeSettings(const QString& appData, const QString& net)
{
    const QString folder = appData + QStringLiteral("/ZEM/Quelbrin Assistant");
    QDir().mkpath(folder);
    QFile file(folder + QStringLiteral("/Quelbrin Assistant.conf"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Configuration><Device><StandardInterface>"
                              "<CANBus><HardwareName>virtualcan</HardwareName><BusName>%1</BusName>"
                              "<Baudrate>1000</Baudrate></CANBus></StandardInterface></Device></Configuration>\n")
                   .arg(net)
                   .toUtf8());
}

TEST(WindowProgram, FirstActivationConnectsTheStandardInterfaceOverVirtualcan)
{
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--node", "5"}, 1)) << sim.errors().toStdString();
    QTemporaryDir home;
    writeSettings(home.filePath("appdata"), sim.canInterface());

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("APPDATA", home.filePath("appdata"));
    environment.insert("USERPROFILE", home.path());
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    // A user of its own: a window program the developer has open is no second instance of this one.
    environment.insert("USER", "quelbrin-e2e-" + QString::number(QCoreApplication::applicationPid()));
    program.setProcessEnvironment(environment);
    program.start(QCoreApplication::applicationDirPath() + "/quelbrin-assistant", {"--startup-report"});
    ASSERT_TRUE(program.waitForFinished(30000)) << "no report: the window program waits for someone";
    EXPECT_EQ(program.exitCode(), 0);
    const QStringList lines = QString::fromUtf8(program.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines, (QStringList{"painted", "activated: Hardware: virtualcan Réseau :" + sim.canInterface() +
                                                 " (1000 kBaud); connected: yes"}));
    EXPECT_EQ(sim.stop(), 0);
}

}  // namespace
