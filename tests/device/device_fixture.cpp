#include "device/device_fixture.h"

#include "core/Log.h"
#include "core/ResultCodes.h"
#include "core/Settings.h"
#include "core/xml/XmlFiles.h"
#include "device/AppInit.h"
#include "device/CanSetup.h"
#include "device/DeviceAccess.h"
#include "device/DeviceSession.h"
#include "model/Configuration.h"
#include "model/Descriptions.h"
#include "sim/amplifier/DescriptionReader.h"
#include "sim/can/SimCanNet.h"
#include "sim/serial/SerialFrameServer.h"
#include "sim/simnet_application.h"
#include "support/ForwardingCanLibrary.h"
#include "transport/InterfaceManager.h"
#include "transport/can/lib/CanopenClient.h"
#include "transport/serial/PosixSerialLibrary.h"
#include "transport/serial/SerialFrame.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <optional>

// The buses run under an application, as in the program.
[[maybe_unused]] static ::testing::Environment* const deviceEnvironment =
    ::testing::AddGlobalTestEnvironment(new SimNetApplication);

namespace devicetest {

namespace {

// Serial tests run with a short delay unit: the settling pause of an open lasts 5 ms.
constexpr std::chrono::microseconds kSerialDelayUnit{1};

QString descriptionFolder()
{
    return TestFolder::shippedProgramFolder() + QStringLiteral("/DeviceDescription");
}

template <typename Calls>
Traffic countCalls(const Calls& calls)
{
    const auto named = [&](const char* prefix) {
        return int(std::count_if(calls.begin(), calls.end(), [&](const auto& c) { return c.name.rfind(prefix, 0) == 0; }));
    };
    return {named("Read"), named("Write")};
}

}  // namespace

// The program's CAN client, counting transfers and keeping the time-outs it is given.
class RecordingCan : public ForwardingCanLibrary {
public:
    using ForwardingCanLibrary::ForwardingCanLibrary;

    int32_t upload(uint8_t node, uint16_t index, uint8_t sub, uint8_t* buffer, int32_t& length) override
    {
        ++traffic.reads;
        const int32_t result = ForwardingCanLibrary::upload(node, index, sub, buffer, length);
        if (silenceTarget && silenceKey == ObjectKey{index, sub})
            silenceTarget->setSilent(true);
        return result;
    }
    int32_t download(uint8_t node, uint16_t index, uint8_t sub, const uint8_t* data, int32_t length) override
    {
        ++traffic.writes;
        return ForwardingCanLibrary::download(node, index, sub, data, length);
    }
    int32_t setTimeoutTime(int32_t milliseconds) override
    {
        timeouts.push_back(milliseconds);
        return ForwardingCanLibrary::setTimeoutTime(milliseconds);
    }

    Traffic traffic;
    std::vector<int32_t> timeouts;
    SimAmplifier* silenceTarget = nullptr;
    std::optional<ObjectKey> silenceKey;
};

// The POSIX serial library, counting the request frames it sends.
class DeviceWorld::CountingSerial : public PosixSerialLibrary {
public:
    CountingSerial(const AppCore& app, DeviceWorld& world) : PosixSerialLibrary(app, kSerialDelayUnit), world_(world) {}

    int32_t writePortCount(const char* buffer, int32_t count) override
    {
        if (count >= SerialFrameHeader::Size) {
            const uint8_t command = SerialFrameHeader::decode(buffer).command;
            world_.serialReads_ += command == SerialFrameHeader::Read;
            world_.serialWrites_ += command == SerialFrameHeader::Write;
        }
        return PosixSerialLibrary::writePortCount(buffer, count);
    }

private:
    DeviceWorld& world_;
};

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

SimRackEntry amplifierEntry(const QString& file, uint8_t node, const QString& serial, uint32_t productId)
{
    SimIdentity identity;
    identity.nodeId = node;
    identity.serialNumber = serial.isEmpty() ? QString::number(100000 + node) : serial;
    identity.productId = productId;
    return {QDir(descriptionFolder()).filePath(file), identity};
}

SimRackEntry qsg(uint8_t node, const QString& serial, uint32_t productId)
{
    return amplifierEntry(QLatin1String(demorack::StrainGaugeFile), node, serial, productId);
}

SimRackEntry qsn(uint8_t node, const QString& serial)
{
    return amplifierEntry(QLatin1String(demorack::StandardSignalFile), node, serial);
}

std::vector<SimRackEntry> demoRack()
{
    return demoRackEntries(descriptionFolder());
}

int RackHost::showMessage(const QString& text, int style)
{
    const int answer = ScriptedHost::showMessage(text, style);
    if (onMessage)
        onMessage(text);
    return answer;
}

void RackHost::sleepMs(int ms)
{
    ScriptedHost::sleepMs(ms);
    if (rack)
        rack->advance(ms);
}

DeviceWorld::DeviceWorld()
{
    state().core.host = &host_;
    EXPECT_EQ(App_Init(state()), rc::Ok);
    Log_Open(state().core, true);
}

DeviceWorld::DeviceWorld(int32_t kind, const std::vector<SimRackEntry>& amplifiers) : DeviceWorld()
{
    open(kind, amplifiers);
}

DeviceWorld::~DeviceWorld() = default;

void DeviceWorld::open(int32_t kind, const std::vector<SimRackEntry>& amplifiers)
{
    kind_ = kind;
    settings().InterfaceType = kind;
    if (kind == CANBus) {
        openCan(amplifiers);
    } else {
        rack_ = std::make_unique<SimRack>();
        EXPECT_EQ(rack_->build(kind == RS232 ? std::vector{amplifiers.front()} : amplifiers), rc::Ok);
        host_.rack = rack_.get();
    }
    if (kind == PROFIBUS || kind == DeviceNet) {
        // A card that reports its station list.
        settings().PType = profibus::HilscherMaster;
        settings().Devno = 1;
    }
    switch (kind) {
    case PROFIBUS: {
        auto library = std::make_unique<dpv1test::RecordingProfibus>(rack_.get());
        profibus_ = library.get();
        state().buses.profibus = std::move(library);
        break;
    }
    case DeviceNet: {
        auto library = std::make_unique<dnettest::RecordingDeviceNet>(rack_.get());
        devicenet_ = library.get();
        state().buses.devicenet = std::move(library);
        settings().DeviceNetBaud = 0;
        break;
    }
    case RS232:
        openSerial(amplifiers.front());
        break;
    }
    EXPECT_GE(Interface_Connect(state(), settings()), 0) << kindName(kind);
    // The interface command counts a serial line as connected although nothing is open yet.
    settings().Connected = true;
    host_.messages.clear();
    clearTraffic();
}

void DeviceWorld::openCan(const std::vector<SimRackEntry>& amplifiers)
{
    settings().HWName = SimulationHardware;
    settings().BusName = DemoNet;
    settings().BaudRate = DemoNetKbit;
    CanNetCatalog catalog(false);
    catalog.addBuiltInNet(SimulationHardware, DemoNet, DemoNetKbit, [this, amplifiers] {
        auto net = SimCanNet::create(amplifiers, SimCanNet::Time::Virtual);
        canRack_ = &net->rack();
        host_.rack = canRack_;
        return net;
    });
    auto library = std::make_unique<RecordingCan>(std::make_unique<CanopenClient>(std::move(catalog)));
    can_ = library.get();
    state().buses.can = std::move(library);
}

void DeviceWorld::openSerial(const SimRackEntry& amplifier)
{
    QString reason;
    server_ = SerialFrameServer::start(*rack_->node(amplifier.identity.nodeId), &reason);
    EXPECT_TRUE(server_) << reason.toStdString();
    settings().ComPort = 1;
    if (!state().core.SettingsDocument)
        AppConf_Create(state().core);
    const QString port = server_ ? server_->slavePath() : QString();
    EXPECT_EQ(AppConf_SetValue(state().core, QStringLiteral("SerialPorts/COM1"), port), rc::Ok);
    state().buses.serial = std::make_unique<CountingSerial>(state().core, *this);
}

SimRack& DeviceWorld::rack()
{
    return canRack_ ? *canRack_ : *rack_;
}

SimAmplifier& DeviceWorld::amplifier(uint8_t node)
{
    SimAmplifier* found = rack().node(node);
    if (!found)
        throw std::runtime_error("no amplifier at node " + std::to_string(node));
    return *found;
}

DeviceEntry DeviceWorld::entry(uint8_t node)
{
    DeviceEntry entry;
    entry.InterfaceKind = kind_;
    entry.NodeId = node;
    entry.Address = node;
    entry.MacId = node;
    if (const SimAmplifier* found = rack().node(node))
        entry.SerialNumber = found->identity().serialNumber;
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

DeviceEntry& DeviceWorld::connectDevice(uint8_t node)
{
    Device_ResetTable(state());
    state().Devices.push_back(entry(node));
    state().DeviceCount = 1;
    state().CurrentDevice = 1;
    DeviceEntry& connected = state().Devices[1];
    XmlNode parameters;
    EXPECT_EQ(Device_Connect(state(), settings(), connected, parameters, &host_), rc::Ok);
    EXPECT_TRUE(host_.messages.empty()) << host_.texts().join('\n').toStdString();
    host_.messages.clear();
    clearTraffic();
    return connected;
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

XmlNode DeviceWorld::element(const QString& path) const
{
    const auto& configuration = folder_.state.Configuration;
    return configuration ? Conf_Parameters(configuration.get()).selectSingle(path) : XmlNode();
}

void DeviceWorld::configure(const QString& path, const QString& text)
{
    XmlNode element;
    ASSERT_GE(Conf_GetNode(path, Conf_Parameters(state().Configuration.get()), element), 0) << path.toStdString();
    element.setText(text);
}

QByteArray DeviceWorld::onDevice(const QString& path, uint8_t node)
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
    if (profibus_)
        return countCalls(profibus_->calls);
    if (devicenet_)
        return countCalls(devicenet_->calls);
    if (can_)
        return can_->traffic;
    return {serialReads_, serialWrites_};
}

void DeviceWorld::clearTraffic()
{
    serialReads_ = 0;
    serialWrites_ = 0;
    if (can_) {
        can_->traffic = {};
        can_->timeouts.clear();
    }
    if (profibus_)
        profibus_->calls.clear();
    if (devicenet_)
        devicenet_->calls.clear();
}

void DeviceWorld::silenceAfterRead(const QString& path, uint8_t node)
{
    can_->silenceKey = amplifier(node).keyOfPath(path);
    ASSERT_TRUE(can_->silenceKey) << path.toStdString();
    can_->silenceTarget = &amplifier(node);
}

const std::vector<int32_t>& DeviceWorld::canTimeouts() const
{
    return can_->timeouts;
}

QStringList DeviceWorld::tableLabels() const
{
    QStringList labels;
    for (int32_t i = 1; i <= folder_.state.DeviceCount; ++i)
        labels << Device_GetLabel(folder_.state.Devices[size_t(i)]);
    return labels;
}

QStringList DeviceWorld::logLines() const
{
    QFile file(GetAppDataFolder(folder_.state.core) + QStringLiteral("/Quelbrin Assistant.log"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        lines << line.mid(line.indexOf(QStringLiteral(": ")) + 2);
    return lines;
}

QString DeviceWorld::describedCopy(const char* file, const QString& parameterPath, const QString& element,
                                   const QString& text) const
{
    XmlDocument document;
    QString reason;
    EXPECT_TRUE(document.load(QDir(descriptionFolder()).filePath(QLatin1String(file)), QString(), &reason))
        << reason.toStdString();
    XmlNode parameter = findDescriptionNode(document.documentElement().child("ParameterGroup"), parameterPath);
    EXPECT_FALSE(parameter.isNull()) << parameterPath.toStdString();
    parameter.appendElement(element).setText(text);
    const QString copy = folder_.file(QStringLiteral("changed-") + QLatin1String(file));
    EXPECT_TRUE(document.save(copy));
    return copy;
}

}  // namespace devicetest
