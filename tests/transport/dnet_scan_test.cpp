// The device search over MAC IDs 0 to 62.
#include "fieldbus_fixture.h"

#include <numeric>

using namespace dnettest;

namespace {

std::vector<int> macIds(const std::vector<DeviceEntry>& found)
{
    std::vector<int> result;
    for (std::size_t i = 1; i < found.size(); ++i) {
        EXPECT_EQ(found[i].InterfaceKind, DeviceNet);
        result.push_back(found[i].MacId);
    }
    return result;
}

TEST_F(DnetTest, ScanProbesMacIds0To62WithTheVendorIdRead)
{
    // Devices at the ends of the range, and one at 63 that must stay unseen.
    QString reason;
    std::vector<SimRackEntry> more = demoRackEntries(Descr_Folder(world.state.core));
    more.resize(1);
    for (uint8_t mac : {0, 62, 63}) {
        more[0].identity.nodeId = mac;
        ASSERT_EQ(rack.build(more, &reason), rc::Ok) << reason.toStdString();
    }
    rack.node(17)->setSilent(true);

    std::vector<DeviceEntry> found(4);
    EXPECT_EQ(DNET_Scan(world.state, settings, description.get(), found), 4);
    EXPECT_EQ(macIds(found), (std::vector<int>{0, 3, 42, 62}));

    std::vector<int> probed;
    for (const Call& call : library->calls) {
        EXPECT_EQ(call.name, "ReadINT");
        EXPECT_EQ(call.classId, 100);
        EXPECT_EQ(call.instance, 1);
        EXPECT_EQ(call.attribute, 1);
        EXPECT_EQ(call.timeoutMs, 100);
        probed.push_back(call.macId);
    }
    std::vector<int> expected(63);
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_EQ(probed, expected);
    EXPECT_EQ(world.host.busyDepth, 0);
    EXPECT_TRUE(world.host.messages.empty());
}

TEST_F(DnetTest, OnlyAnExactStatusZeroIsADevice)
{
    library->master.injectStatus(DeviceNetCall::Read, dnetstatus::SuccessWithNote);
    std::vector<DeviceEntry> found;
    EXPECT_EQ(DNET_Scan(world.state, settings, description.get(), found), 0);
    EXPECT_EQ(found.size(), 1u);
}

TEST_F(DnetTest, ScanRefusals)
{
    std::vector<DeviceEntry> found;
    InterfaceSettings other = settings;
    other.InterfaceType = PROFIBUS;
    EXPECT_EQ(DNET_Scan(world.state, other, description.get(), found), rc::NoInterface);
    EXPECT_EQ(DNET_Scan(world.state, settings, nullptr, found), rc::UnknownInDescription);
    EXPECT_TRUE(library->calls.empty());
    EXPECT_EQ(found.size(), 1u);
}

}  // namespace
