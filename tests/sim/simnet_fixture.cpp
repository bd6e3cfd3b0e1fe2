#include "sim/simnet_fixture.h"

#include "core/ResultCodes.h"
#include "device/CanSetup.h"
#include "sim/can/SimCanNet.h"
#include "transport/can/lib/CanopenClient.h"

SimNetTest::SimNetTest()
{
    settings_.InterfaceType = CANBus;
    settings_.HWName = SimulationHardware;
    settings_.BusName = DemoNet;
    settings_.BaudRate = DemoNetKbit;

    EXPECT_EQ(Desr_LoadAll(state().core, state().descriptions), 2);
    CanNetCatalog catalog(false);
    const QString folder = TestFolder::shippedProgramFolder() + QStringLiteral("/DeviceDescription");
    catalog.addBuiltInNet(SimulationHardware, DemoNet, DemoNetKbit, [this, folder] {
        auto net = createDemoCanNet(folder, SimCanNet::Time::Virtual);
        net_ = net.get();
        return net;
    });
    state().buses.can = std::make_unique<CanopenClient>(std::move(catalog));
    EXPECT_EQ(can().connectClientToNet(SimulationHardware, DemoNet), rc::Ok);
}

CanLibrary& SimNetTest::can()
{
    return *state().buses.can;
}

SimAmplifier& SimNetTest::amplifier(uint8_t node)
{
    return *net_->rack().node(node);
}

int64_t SimNetTest::busTimeMs()
{
    return net_->clock().nowMs();
}

DeviceEntry SimNetTest::device(uint8_t node, int32_t descriptionIndex)
{
    DeviceEntry entry;
    entry.InterfaceKind = CANBus;
    entry.NodeId = node;
    entry.DescriptionIndex = descriptionIndex;
    return entry;
}

XmlNode SimNetTest::parameter(const QString& path, int32_t descriptionIndex)
{
    XmlNode node;
    EXPECT_EQ(Descr_FindNode(path, state().descriptions.at(size_t(descriptionIndex)).get(), node), rc::Ok)
        << path.toStdString();
    return node;
}

QByteArray simnet::le32(uint32_t value)
{
    QByteArray bytes;
    for (int i = 0; i < 4; ++i)
        bytes.append(char(value >> (8 * i)));
    return bytes;
}
