#include "device/device_fixture.h"

#include "core/ResultCodes.h"
#include "core/Settings.h"
#include "device/AppInit.h"
#include "device/BusSetup.h"
#include "device/CanSetup.h"
#include "device/DeviceAccess.h"
#include "core/xml/XmlFiles.h"
#include "model/Configuration.h"
#include "model/Descriptions.h"
#include "sim/can/SimCanNet.h"
#include "sim/serial/SerialFrameServer.h"
#include "sim/simnet_application.h"
#include "transport/InterfaceManager.h"
#include "transport/can/lib/CanopenClient.h"
#include "transport/dnet_fixture.h"
#include "transport/dpv1_fixture.h"
#include "transport/serial/PosixSerialLibrary.h"
#include "transport/serial/SerialFrame.h"

#include <algorithm>

// The buses run under an application, as in the program.
[[maybe_unused]] static ::testing::Environment* const deviceEnvironment =
    ::testing::AddGlobalTestEnvironment(new SimNetApplication);

namespace devicetest {

namespace {

constexpr uint16_t kSdoRequestBase = 0x600;
constexpr uint8_t kInitiateDownload = 1;
constexpr uint8_t kInitiateUpload = 2;
// Serial tests run with a short delay unit: the settling pause of an open lasts 5 ms.
constexpr std::chrono::microseconds kSerialDelayUnit{1};

bool startsWith(const std::string& name, const char* prefix)
{
    return name.rfind(prefix, 0) == 0;
}

}  // namespace

std::string kindName(int32_t kind)
{
    switch (kind) {
    case CANBus: return "CAN";
    case PROFIBUS: return "PROFIBUS";
    case RS232: return "RS232";
    case DeviceNet: return "DeviceNet";
    default: return "Kind" + std::to_string(kind);
    }
}

QByteArray le(int64_t value, int size)
{
    QByteArray bytes;
    for (int i = 0; i < size; ++i)
        bytes.append(char((uint64_t(value) >> (8 * i)) & 0xFF));
    return bytes;
}

// The POSIX serial library, counting the request frames it sends.
class DeviceWorld::CountingSerial : public PosixSerialLibrary {
public:
    CountingSerial(const AppCore& app, DeviceWorld& world) : PosixSerialLibrary(app, kSerialDelayUnit), world_(world) {}

    int32_t writePortCount(const char* buffer, int32_t count) override
    {
        if (count >= SerialFrameHeader::Size) {
            const uint8_t command = SerialFrameHeader::decode(buffer).command;
            if (command == SerialFrameHeader::Read)
                ++world_.reads_;
            else if (command == SerialFrameHeader::Write)
                ++world_.writes_;
        }
        return PosixSerialLibrary::writePortCount(buffer, count);
    }

private:
    DeviceWorld& world_;
};

DeviceWorld::DeviceWorld(int32_t kind) : kind_(kind)
{
    EXPECT_EQ(App_Init(state()), rc::Ok);
    settings().InterfaceType = kind;
    const QString folder = TestFolder::shippedProgramFolder() + QStringLiteral("/DeviceDescription");
    if (kind != CANBus) {
        EXPECT_EQ(buildDemoRack(rack_, folder), rc::Ok);
    }
    switch (kind) {
    case CANBus:
        connectCan();
        break;
    case PROFIBUS: {
        auto library = std::make_unique<dpv1test::RecordingProfibus>(&rack_);
        profibus_ = library.get();
        state().buses.profibus = std::move(library);
        settings().PType = profibus::HilscherMaster;
        settings().Devno = 0;
        break;
    }
    case DeviceNet: {
        auto library = std::make_unique<dnettest::RecordingDeviceNet>(&rack_);
        devicenet_ = library.get();
        state().buses.devicenet = std::move(library);
        settings().DeviceNetBaud = 0;
        break;
    }
    case RS232:
        connectSerial();
        break;
    }
    EXPECT_GE(Interface_Connect(state(), settings()), 0) << kindName(kind);
    clearTraffic();
}

DeviceWorld::~DeviceWorld() = default;

void DeviceWorld::connectCan()
{
    settings().HWName = SimulationHardware;
    settings().BusName = DemoNet;
    settings().BaudRate = DemoNetKbit;
    CanNetCatalog catalog(false);
    const QString folder = TestFolder::shippedProgramFolder() + QStringLiteral("/DeviceDescription");
    catalog.addBuiltInNet(SimulationHardware, DemoNet, DemoNetKbit, [this, folder] {
        auto net = createDemoCanNet(folder, SimCanNet::Time::Virtual);
        canRack_ = &net->rack();
        net->addListener([this](const CanFrame& frame) {
            if (frame.id <= kSdoRequestBase || frame.id > kSdoRequestBase + 0x7F || frame.length == 0)
                return;
            const uint8_t command = frame.data[0] >> 5;
            if (command == kInitiateDownload)
                ++writes_;
            if (command != kInitiateUpload)
                return;
            ++reads_;
            const int index = frame.data[1] | (frame.data[2] << 8);
            if (silenceTarget_ && index == silenceIndex_ && frame.data[3] == silenceSub_)
                silenceTarget_->setSilent(true);
        });
        return net;
    });
    state().buses.can = std::make_unique<CanopenClient>(std::move(catalog));
}

void DeviceWorld::connectSerial()
{
    server_ = SerialFrameServer::start(*rack_.node(QsgNode));
    EXPECT_TRUE(server_) << "no pseudo-terminal";
    settings().ComPort = 1;
    if (!state().core.SettingsDocument)
        AppConf_Create(state().core);
    const QString port = server_ ? server_->slavePath() : QString();
    EXPECT_EQ(AppConf_SetValue(state().core, QStringLiteral("SerialPorts/COM1"), port), rc::Ok);
    state().buses.serial = std::make_unique<CountingSerial>(state().core, *this);
}

SimRack& DeviceWorld::rack()
{
    return canRack_ ? *canRack_ : rack_;
}

SimAmplifier& DeviceWorld::amplifier(uint8_t node)
{
    return *rack().node(node);
}

DeviceEntry DeviceWorld::entry(uint8_t node)
{
    DeviceEntry entry;
    entry.InterfaceKind = kind_;
    entry.NodeId = node;
    entry.Address = node;
    entry.MacId = node;
    entry.SerialNumber = amplifier(node).identity().serialNumber;
    entry.DescriptionIndex = node == QsnNode ? QsnDescription : QsgDescription;
    return entry;
}

DeviceEntry DeviceWorld::openEntry(uint8_t node)
{
    DeviceEntry opened = entry(node);
    EXPECT_GE(Device_Open(state(), settings(), opened, nullptr), 0) << kindName(kind_);
    clearTraffic();
    return opened;
}

XmlNode DeviceWorld::parameter(const QString& path, int32_t description) const
{
    XmlNode node;
    EXPECT_EQ(Descr_FindNode(path, folder_.state.descriptions.at(size_t(description)).get(), node), rc::Ok)
        << path.toStdString();
    return node;
}

XmlNode DeviceWorld::newConfiguration()
{
    EXPECT_EQ(Conf_New(QString(), state().Configuration), rc::Ok);
    return Conf_Parameters(state().Configuration.get());
}

XmlNode DeviceWorld::elementAt(XmlNode parameters, const QString& path)
{
    return parameters.selectSingle(path);
}

void DeviceWorld::configure(XmlNode parameters, const QString& path, const QString& text)
{
    XmlNode element;
    ASSERT_GE(Conf_GetNode(path, parameters, element), 0) << path.toStdString();
    element.setText(text);
}

QByteArray DeviceWorld::stored(const QString& path, uint8_t node)
{
    const auto entry = amplifier(node).entryByPath(path);
    return entry ? entry->value : QByteArray("<none>");
}

void DeviceWorld::put(const QString& path, const QByteArray& bytes, uint8_t node)
{
    const auto key = amplifier(node).keyOfPath(path);
    ASSERT_TRUE(key) << path.toStdString();
    EXPECT_EQ(amplifier(node).writeObject(key->index, key->sub, bytes), 0u) << path.toStdString();
}

Traffic DeviceWorld::traffic() const
{
    if (profibus_) {
        const auto& calls = profibus_->calls;
        return {int(std::count_if(calls.begin(), calls.end(), [](const auto& c) { return startsWith(c.name, "Read"); })),
                int(std::count_if(calls.begin(), calls.end(),
                                  [](const auto& c) { return startsWith(c.name, "Write"); }))};
    }
    if (devicenet_) {
        const auto& calls = devicenet_->calls;
        return {int(std::count_if(calls.begin(), calls.end(), [](const auto& c) { return startsWith(c.name, "Read"); })),
                int(std::count_if(calls.begin(), calls.end(),
                                  [](const auto& c) { return startsWith(c.name, "Write"); }))};
    }
    return {reads_.load(), writes_.load()};
}

void DeviceWorld::clearTraffic()
{
    reads_ = 0;
    writes_ = 0;
    if (profibus_)
        profibus_->calls.clear();
    if (devicenet_)
        devicenet_->calls.clear();
}

void DeviceWorld::silenceAfterRead(const QString& path, uint8_t node)
{
    const auto key = amplifier(node).keyOfPath(path);
    ASSERT_TRUE(key) << path.toStdString();
    silenceTarget_ = &amplifier(node);
    silenceIndex_ = key->index;
    silenceSub_ = key->sub;
}

}  // namespace devicetest
