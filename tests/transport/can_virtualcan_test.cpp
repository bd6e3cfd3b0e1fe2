#include "can_sim_rack.h"

#include "core/ResultCodes.h"
#include "transport/can/lib/CanopenClient.h"
#include "transport/can/lib/QtCanFrameBus.h"

#include <QTcpServer>
#include <gtest/gtest.h>

namespace {

// A port of our own, so that the virtualcan hub of this test meets no other test.
quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// Client and server each on a QCanBusDevice of their own, joined by a virtualcan
// hub inside this process; real time, so the time-out is short.
TEST(CanVirtualcan, TransfersBetweenTwoDevices)
{
    ensureApplication();
    const QString net = QString("tcp://127.0.0.1:%1/can0").arg(freePort());
    int32_t opened = rc::Failed;
    std::unique_ptr<QtCanFrameBus> serverBus = QtCanFrameBus::open("virtualcan", net, opened);
    ASSERT_EQ(opened, rc::Ok);
    MapSdoTarget target;
    target.objects[{0x1000, 0}] = bytes({0x94, 0x01, 0x02, 0x00});
    target.objects[{0x1008, 0}] = "Quelbrin virtual amplifier";
    SdoServer server(*serverBus, 7, target);

    CanopenClient client{CanNetCatalog()};
    ASSERT_EQ(client.connectClientToNet("virtualcan", net), rc::Ok);
    ASSERT_EQ(client.setTimeoutTime(200), rc::Ok);

    uint8_t buffer[64];
    int32_t length = sizeof buffer;
    ASSERT_EQ(client.upload(7, 0x1000, 0, buffer, length), rc::Ok);
    EXPECT_EQ(QByteArray(reinterpret_cast<char*>(buffer), length), bytes({0x94, 0x01, 0x02, 0x00}));

    const QByteArray name = "Amplificateur du banc d'essai";
    ASSERT_EQ(client.download(7, 0x1008, 0, reinterpret_cast<const uint8_t*>(name.constData()), int32_t(name.size())),
              rc::Ok);
    length = sizeof buffer;
    ASSERT_EQ(client.upload(7, 0x1008, 0, buffer, length), rc::Ok);
    EXPECT_EQ(QByteArray(reinterpret_cast<char*>(buffer), length), name);

    length = sizeof buffer;
    EXPECT_EQ(client.upload(8, 0x1000, 0, buffer, length), rc::CanTimeout);
    EXPECT_EQ(client.getStatus(), 0);
}

TEST(CanVirtualcan, InterfaceThePluginRefuses)
{
    ensureApplication();
    int32_t opened = rc::Ok;
    EXPECT_EQ(QtCanFrameBus::open("virtualcan", "can7", opened), nullptr);
    EXPECT_EQ(opened, -16510);
}

}  // namespace
