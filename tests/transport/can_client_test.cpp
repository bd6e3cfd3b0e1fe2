#include "can_client_fixture.h"

#include "core/ResultCodes.h"

namespace {

TEST(CanClientOffline, EveryBusCallNeedsANet)
{
    CanopenClient client{CanNetCatalog(false)};
    uint8_t buffer[4];
    int32_t length = 4;
    uint32_t sdoError = 0;
    uint8_t node = 3, sub = 0;
    uint16_t index = 0x1000;
    QByteArray data;
    EXPECT_EQ(client.upload(3, 0x1000, 0, buffer, length), rc::NoInterface);
    EXPECT_EQ(client.download(3, 0x1000, 0, buffer, 4), rc::NoInterface);
    EXPECT_EQ(client.getStatus(), rc::NoInterface);
    EXPECT_EQ(client.resetCan(), rc::NoInterface);
    EXPECT_EQ(client.queueReadSdo(3, 0x1000, 0), rc::NoInterface);
    EXPECT_EQ(client.getReadSdoFromQueue(sdoError, node, index, sub, data), rc::NoInterface);
    EXPECT_EQ(client.setPdoOperMode(0, 0), rc::NoInterface);
    EXPECT_EQ(client.connectClientToNet("virtualcan", "can0"), rc::CanNoSuchNet);
}

TEST(CanNetList, TextMarksTheConnectedNet)
{
    std::vector<CanNetInfo> nets{{"socketcan", "can0", canBitTiming(500)},
                                 {"Simulation", "Démo", canBitTiming(1000)},
                                 {"Simulation", "Banc", canBitTiming(125)}};
    EXPECT_EQ(formatCanNetList(nets, "", ""), "socketcan;can0;28;Simulation;Démo;20;Simulation;Banc;796");
    EXPECT_EQ(formatCanNetList(nets, "Simulation", "Démo"),
              "socketcan;can0;28;Simulation;*Démo;20;Simulation;Banc;796");
    EXPECT_EQ(formatCanNetList({}, "", ""), "");
}

TEST(CanNetList, QtPluginsAreListedAsHardware)
{
    CanNetCatalog catalog;
    catalog.addBuiltInNet("Simulation", "Démo", 1000, [] { return std::make_unique<InProcessCanBus>(); });
    CanopenClient client{std::move(catalog)};
    QString list;
    ASSERT_EQ(client.getAvailableNets(list), rc::Ok);
    EXPECT_TRUE(list.contains("virtualcan;can0;28;virtualcan;can1;28")) << list.toStdString();
    EXPECT_TRUE(list.endsWith("Simulation;Démo;20")) << list.toStdString();
    EXPECT_EQ(client.connectClientToNet("nosuchplugin", "can0"), rc::CanNoSuchNet);
}

class CanConnectedTest : public CanClientTest {};

TEST_F(CanConnectedTest, OneNetAtATime)
{
    EXPECT_EQ(client_.connectClientToNet("Simulation", "Démo"), rc::Ok);
    EXPECT_EQ(client_.connectClientToNet("Simulation", "Banc"), rc::CanAlreadyOnOtherNet);
    QString list;
    ASSERT_EQ(client_.getAvailableNets(list), rc::Ok);
    EXPECT_EQ(list, "Simulation;*Démo;20");
    EXPECT_EQ(client_.disconnectBus(), rc::Ok);
    ASSERT_EQ(client_.getAvailableNets(list), rc::Ok);
    EXPECT_EQ(list, "Simulation;Démo;20");
    EXPECT_EQ(client_.connectClientToNet("Simulation", "Banc"), rc::CanNoSuchNet);
}

TEST_F(CanConnectedTest, InvalidArgumentsAreRefused)
{
    uint8_t buffer[4];
    int32_t length = 4;
    EXPECT_EQ(client_.upload(0, Index, Sub, buffer, length), rc::Failed);
    EXPECT_EQ(client_.upload(128, Index, Sub, buffer, length), rc::Failed);
    EXPECT_EQ(client_.download(1, Index, Sub, nullptr, 4), rc::Failed);
    EXPECT_EQ(client_.setTimeoutTime(0), rc::Failed);
    EXPECT_EQ(client_.setPdoOperMode(3, 0), rc::Failed);
    EXPECT_TRUE(rack_->log.empty());
}

TEST_F(CanConnectedTest, StatusBitsUntilReset)
{
    rack_->addNode(5);
    rack_->target(5).objects[{Index, Sub}] = "ab";
    EXPECT_EQ(client_.getStatus(), 0);
    rack_->setStatus(canstatus::BufferOverflow | canstatus::BusHeavy | canstatus::BusOff);
    EXPECT_EQ(client_.getStatus(), 0x1A);
    QByteArray read;
    EXPECT_EQ(this->read(5, read, 4), rc::CanBusGone);
    EXPECT_EQ(client_.setPdoOperMode(0, 0), rc::CanBusGone);
    EXPECT_TRUE(rack_->log.empty());
    EXPECT_EQ(client_.resetCan(), rc::Ok);
    EXPECT_EQ(client_.getStatus(), 0);
    EXPECT_EQ(this->read(5, read, 4), rc::Ok);
    EXPECT_EQ(read, "ab");
}

TEST_F(CanConnectedTest, NmtCommandsReachAllOrOneNode)
{
    SdoServer& a = rack_->addNode(3);
    SdoServer& b = rack_->addNode(17);
    ASSERT_EQ(client_.setPdoOperMode(1, 0), rc::Ok);
    EXPECT_EQ(a.nmtState(), SdoServer::NmtState::Operational);
    EXPECT_EQ(b.nmtState(), SdoServer::NmtState::Operational);
    ASSERT_EQ(client_.setPdoOperMode(2, 17), rc::Ok);
    EXPECT_EQ(a.nmtState(), SdoServer::NmtState::Operational);
    EXPECT_EQ(b.nmtState(), SdoServer::NmtState::Stopped);
    ASSERT_EQ(client_.setPdoOperMode(0, 0), rc::Ok);
    EXPECT_EQ(a.nmtState(), SdoServer::NmtState::PreOperational);
    EXPECT_EQ(b.nmtState(), SdoServer::NmtState::PreOperational);
    EXPECT_EQ(rack_->log, (std::vector<CanFrame>{CanFrame::make(0, {0x01, 0x00}), CanFrame::make(0, {0x02, 17}),
                                                 CanFrame::make(0, {0x80, 0x00})}));
}

}  // namespace
