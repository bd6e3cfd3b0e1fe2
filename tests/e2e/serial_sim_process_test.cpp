// quelbrin-sim --serial in a process of its own, reached through the real serial
// library over a link to the pseudo-terminal it prints.
#include "core/ResultCodes.h"
#include "core/Settings.h"
#include "support/TestFolder.h"
#include "transport/serial/ComSettings.h"
#include "transport/serial/ComTransport.h"
#include "transport/serial/ComValues.h"
#include "transport/serial/PosixSerialLibrary.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

// The "serial: PATH" line of a started simulator, or "" when it gives none in time.
QString announcedTerminal(QProcess& sim)
{
    while (sim.waitForReadyRead(5000)) {
        while (sim.canReadLine()) {
            const QString line = QString::fromUtf8(sim.readLine()).trimmed();
            if (line.startsWith(QLatin1String("serial: ")))
                return line.mid(8);
        }
    }
    return {};
}

TEST(QuelbrinSimSerial, AnswersSerialFramesOnTheLinkToItsTerminal)
{
    TestFolder world;
    const QString link = world.file(QStringLiteral("com2"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), link)) << "a link of an earlier run is replaced";
    QProcess sim;
    sim.start(QCoreApplication::applicationDirPath() + QStringLiteral("/quelbrin-sim"),
              {QStringLiteral("--serial"), QStringLiteral("--link"), link, QStringLiteral("--node"),
               QStringLiteral("9"), QStringLiteral("--family"), QStringLiteral("QSN2")});
    const QString terminal = announcedTerminal(sim);
    ASSERT_FALSE(terminal.isEmpty()) << sim.readAllStandardError().toStdString();
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), terminal);

    AppState& state = world.state;
    AppConf_Create(state.core);
    ASSERT_EQ(AppConf_SetValue(state.core, QStringLiteral("SerialPorts/COM2"), link), rc::Ok);
    state.CurrentInterface.InterfaceType = RS232;
    state.CurrentInterface.ComPort = 2;
    state.buses.serial = std::make_unique<PosixSerialLibrary>(state.core, std::chrono::microseconds(1));
    ASSERT_EQ(COM_Open(state, comSettingsOf(state.CurrentInterface)), rc::Ok);

    uint32_t serial = 0;
    EXPECT_EQ(COM_ReadValue(state, 0x1018, 4, serial), rc::Ok);
    EXPECT_EQ(serial, 100009u);
    uint32_t vendor = 0;
    EXPECT_EQ(COM_ReadValue(state, 0x1018, 1, vendor), rc::Ok);
    EXPECT_EQ(vendor, 858u);
    EXPECT_EQ(COM_Close(state), rc::Ok);

    sim.terminate();
    EXPECT_TRUE(sim.waitForFinished(3000));
    EXPECT_EQ(sim.exitCode(), 0);
    EXPECT_FALSE(QFileInfo(link).isSymLink()) << "removed at the end";
}

}  // namespace
