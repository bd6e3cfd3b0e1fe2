// quelbrin-sim as its own process on virtualcan, reached through the real QtSerialBus
// backend of the CAN library: time-outs are real here, so they are kept short.
#include "e2e/SimProcess.h"

#include "core/ResultCodes.h"
#include "transport/can/SdoTransfers.h"
#include "transport/can/lib/CanFrame.h"
#include "transport/can/lib/CanopenClient.h"
#include "transport/can/lib/SdoAbortCodes.h"

#include <QDeadlineTimer>
#include <QTcpSocket>
#include <QThread>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

constexpr int32_t ShortTimeoutMs = 300;
const QString VirtualCan = QStringLiteral("virtualcan");

QByteArray padded(const QByteArray& text, int size)
{
    return text + QByteArray(size - text.size(), '\0');
}

TEST(QuelbrinSim, ServesItsAmplifiersOverVirtualcan)
{
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--node", "5", "--node", "127", "--family", "QSN2"}, 2)) << sim.errors().toStdString();
    EXPECT_EQ(sim.announced(), (QStringList{"node 5: QSN2, serial 100005", "node 127: QSN2, serial 100127"}));

    CanopenClient can{CanNetCatalog()};
    ASSERT_EQ(can.connectClientToNet(VirtualCan, sim.canInterface()), rc::Ok);
    ASSERT_EQ(can.setTimeoutTime(ShortTimeoutMs), rc::Ok);

    QByteArray bytes;
    int32_t length = 64;
    ASSERT_EQ(SDO_ReadBytes(can, 5, 0x1008, 0, bytes, length), rc::Ok);
    EXPECT_EQ(bytes, padded("ZEM QSN 2", 16));
    uint32_t serial = 0;
    ASSERT_EQ(SDO_ReadValue(can, 127, 0x1018, 4, serial), rc::Ok);
    EXPECT_EQ(serial, 100127u);

    const QByteArray name = QStringLiteral("Prüfstand 3").toLatin1();
    ASSERT_EQ(SDO_WriteBytes(can, 127, 0x2002, 0, name), rc::Ok);
    length = 64;
    ASSERT_EQ(SDO_ReadBytes(can, 127, 0x2002, 0, bytes, length), rc::Ok);
    EXPECT_EQ(bytes, padded(name, 16));
    ASSERT_EQ(SDO_WriteValue<uint8_t>(can, 5, 0x2500, 2, 3), rc::Ok);
    uint8_t decimals = 0;
    ASSERT_EQ(SDO_ReadValue(can, 5, 0x2500, 2, decimals), rc::Ok);
    EXPECT_EQ(decimals, 3);

    EXPECT_EQ(SDO_ReadValue(can, 5, 0x5FFF, 0, serial), rc::CanSdoAbort);
    EXPECT_EQ(can.lastAbortCode(5, 0x5FFF, 0), sdoabort::NoObject);
    EXPECT_EQ(SDO_ReadValue(can, 6, 0x1018, 4, serial), rc::CanTimeout);

    ASSERT_EQ(can.setPdoOperMode(2, 5), rc::Ok);
    EXPECT_EQ(SDO_ReadValue(can, 5, 0x1018, 4, serial), rc::CanTimeout) << "stopped by NMT";
    ASSERT_EQ(can.setPdoOperMode(0, 0), rc::Ok);
    EXPECT_EQ(SDO_ReadValue(can, 5, 0x1018, 4, serial), rc::Ok);
    EXPECT_EQ(serial, 100005u);

    EXPECT_EQ(can.disconnectBus(), rc::Ok);
    EXPECT_EQ(sim.stop(), 0) << "SIGTERM ends it cleanly";
}

// The simulator holds the bus's hub: killed, it takes the hub along and the bus falls
// off; the reset after it connects the bus again to the simulator started anew.
TEST(QuelbrinSim, BusComesBackAfterItsHubWasKilled)
{
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--node", "5"}, 1)) << sim.errors().toStdString();
    CanopenClient can{CanNetCatalog()};
    ASSERT_EQ(can.connectClientToNet(VirtualCan, sim.canInterface()), rc::Ok);
    ASSERT_EQ(can.setTimeoutTime(ShortTimeoutMs), rc::Ok);
    uint32_t serial = 0;
    ASSERT_EQ(SDO_ReadValue(can, 5, 0x1018, 4, serial), rc::Ok);

    sim.kill();
    EXPECT_NE(SDO_ReadValue(can, 5, 0x1018, 4, serial), rc::Ok);
    EXPECT_EQ(can.getStatus() & canstatus::BusOff, canstatus::BusOff);
    ASSERT_TRUE(sim.start({"--node", "5"}, 1)) << sim.errors().toStdString();
    ASSERT_EQ(can.resetCan(), rc::Ok);
    EXPECT_EQ(SDO_ReadValue(can, 5, 0x1018, 4, serial), rc::Ok);
    EXPECT_EQ(can.getStatus(), 0);
}

// Whether something listens on the port of a virtualcan interface, within `ms`.
bool listening(const QString& canInterface, int ms)
{
    const QUrl url(canInterface);
    for (QDeadlineTimer deadline(ms); !deadline.hasExpired(); QThread::msleep(100)) {
        QTcpSocket probe;
        probe.connectToHost(url.host(), quint16(url.port()));
        if (probe.waitForConnected(100))
            return true;
    }
    return false;
}

// Two simulators on one bus, the first holding its hub: killed, it takes the hub along
// and the second joins the bus again on its own, as the hub now.
TEST(QuelbrinSim, JoinsTheBusAgainWhenItsHubWentAway)
{
    SimProcess hub;
    ASSERT_TRUE(hub.start({"--node", "5"}, 1)) << hub.errors().toStdString();
    SimProcess other(hub.canInterface());
    ASSERT_TRUE(other.start({"--node", "6"}, 1)) << other.errors().toStdString();
    hub.kill();
    ASSERT_TRUE(listening(hub.canInterface(), 5000)) << "the second simulator holds the hub";

    CanopenClient can{CanNetCatalog()};
    ASSERT_EQ(can.connectClientToNet(VirtualCan, hub.canInterface()), rc::Ok);
    ASSERT_EQ(can.setTimeoutTime(ShortTimeoutMs), rc::Ok);
    uint32_t serial = 0;
    EXPECT_EQ(SDO_ReadValue(can, 6, 0x1018, 4, serial), rc::Ok);
    EXPECT_EQ(serial, 100006u);
}

TEST(QuelbrinSim, SaysWhatItCannotServe)
{
    const struct {
        QStringList arguments;
        int exitCode;
        QString line;
    } cases[] = {
        {{"--node", "5"}, 2, "quelbrin-sim: nothing to serve: give --can plugin:interface"},
        {{"--can", "virtualcan:can0", "--node", "128"}, 2, "quelbrin-sim: --node 128: a node ID is 1 to 127"},
        {{"--can", "virtualcan"}, 2, "quelbrin-sim: --can virtualcan: give plugin:interface, such as virtualcan:can0"},
        {{"--can", "virtualcan:can7"}, 1, "quelbrin-sim: CAN plugin virtualcan refuses the interface can7"},
        {{"--can", "nosuchcan:can0"}, 1, "quelbrin-sim: no CAN plugin nosuchcan (there are: "},
        {{"--can", "virtualcan:can0", "--node", "4", "--family", "QXX9", "--data", "/nonexistent"}, 1,
         "quelbrin-sim: /nonexistent/QXX9.xml: "},
        {{"--can", "virtualcan:can0", "--link", "/tmp/com1"}, 2, "quelbrin-sim: --link needs --serial"},
        {{"--serial", "--link", "/"}, 1, "quelbrin-sim: --link /: a file that is no symbolic link is there already"},
    };
    for (const auto& c : cases) {
        QString errors;
        EXPECT_EQ(SimProcess::run(c.arguments, errors), c.exitCode) << c.line.toStdString();
        EXPECT_TRUE(errors.contains(c.line)) << errors.toStdString();
    }
}

}  // namespace
