// The demo net as the program finds it: the net list, the scan and the NMT commands
// that reach the amplifiers.
#include "sim/simnet_fixture.h"

#include "core/ResultCodes.h"
#include "device/CanSetup.h"
#include "transport/can/CanNets.h"
#include "transport/can/CanScan.h"
#include "transport/can/SdoTransfers.h"

namespace {

std::vector<int32_t> nodeIds(const std::vector<DeviceEntry>& found)
{
    std::vector<int32_t> ids;
    for (const DeviceEntry& entry : found) {
        EXPECT_EQ(entry.InterfaceKind, CANBus);
        ids.push_back(entry.NodeId);
    }
    return ids;
}

TEST_F(SimNetTest, ScanFindsTheAnsweringNodesHighestFirst)
{
    const struct {
        const char* what;
        std::vector<uint8_t> silenced;
        std::vector<int32_t> found;
        int64_t busMs;   // 500 ms for each batch that waits for a silent node
    } cases[] = {
        {"demo rack", {}, {42, 17, 3}, 0},
        {"17 silent", {17}, {42, 3}, 500},
        {"all silent", {3, 17, 42}, {}, 1500},   // 42, 17 and 3 are in three batches
    };
    for (const auto& c : cases) {
        for (uint8_t node : {3, 17, 42})
            amplifier(node).setSilent(false);
        for (uint8_t node : c.silenced)
            amplifier(node).setSilent(true);
        const int64_t start = busTimeMs();
        std::vector<DeviceEntry> found;
        EXPECT_EQ(CAN_ScanRead(state(), settings_, &host(), found), int32_t(c.found.size())) << c.what;
        EXPECT_EQ(nodeIds(found), c.found) << c.what;
        EXPECT_EQ(busTimeMs() - start, c.busMs) << c.what;
    }
    EXPECT_TRUE(host().messages.empty());
}

TEST_F(SimNetTest, NmtCommandsSetTheAmplifiersState)
{
    const auto states = [this] {
        return std::vector<NmtState>{amplifier(3).nmtState(), amplifier(17).nmtState(), amplifier(42).nmtState()};
    };
    using enum NmtState;
    EXPECT_EQ(states(), (std::vector{PreOperational, PreOperational, PreOperational}));
    ASSERT_EQ(can().setPdoOperMode(1, 0), rc::Ok);
    EXPECT_EQ(states(), (std::vector{Operational, Operational, Operational}));
    ASSERT_EQ(can().setPdoOperMode(2, 17), rc::Ok);
    EXPECT_EQ(states(), (std::vector{Operational, Stopped, Operational}));
    uint32_t vendor = 0;
    EXPECT_EQ(SDO_ReadValue(can(), 17, 0x1018, 1, vendor), rc::CanTimeout) << "a stopped node serves no SDO";
    EXPECT_EQ(SDO_ReadValue(can(), 3, 0x1018, 1, vendor), rc::Ok);

    host().answers = {msg::No, msg::Yes};
    CAN_SetPreOperational(state());
    EXPECT_EQ(states(), (std::vector{Operational, Stopped, Operational}));
    CAN_SetPreOperational(state());
    EXPECT_EQ(states(), (std::vector{PreOperational, PreOperational, PreOperational}));
    EXPECT_EQ(host().messages.size(), 2u);
    EXPECT_EQ(SDO_ReadValue(can(), 17, 0x1018, 1, vendor), rc::Ok);
    EXPECT_EQ(vendor, 858u);
}

// The program's own library: the QCanBus interfaces and the built-in net.
TEST(SimNetLibrary, ListsTheDemoNetAndServesItsRack)
{
    TestFolder folder;
    AppState& state = folder.state;
    state.buses.can = Can_CreateLibrary(TestFolder::shippedProgramFolder());
    const auto demoEntry = [&state] {
        QList<InterfaceSettings> nets;
        EXPECT_GE(CAN_ListNets(state, nets), 1);
        std::vector<InterfaceSettings> demo;
        for (const InterfaceSettings& net : nets) {
            EXPECT_EQ(net.InterfaceType, CANBus);
            if (net.HWName == QStringLiteral("Simulation"))
                demo.push_back(net);
        }
        EXPECT_EQ(demo.size(), 1u);
        return demo.empty() ? InterfaceSettings{} : demo.front();
    };
    InterfaceSettings demo = demoEntry();
    EXPECT_EQ(demo.BusName, QStringLiteral("Démo"));
    EXPECT_EQ(demo.BaudRate, 1000);
    EXPECT_FALSE(demo.Connected);

    InterfaceSettings wanted;
    wanted.HWName = QStringLiteral("Simulation");
    wanted.BusName = QStringLiteral("Démo");
    ASSERT_TRUE(CAN_FindNet(state, wanted));
    EXPECT_EQ(wanted.InterfaceType, CANBus);
    EXPECT_EQ(wanted.BaudRate, 1000);

    ASSERT_EQ(state.buses.can->connectClientToNet(wanted.HWName, wanted.BusName), rc::Ok);
    EXPECT_TRUE(demoEntry().Connected);
    uint32_t product = 0;
    ASSERT_EQ(SDO_ReadValue(*state.buses.can, 17, 0x1018, 2, product), rc::Ok);
    EXPECT_EQ(product, 0x00520001u);
}

}  // namespace
