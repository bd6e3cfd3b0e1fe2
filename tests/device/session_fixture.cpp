#include "session_fixture.h"

#include "core/Log.h"
#include "core/ResultCodes.h"
#include "core/Settings.h"
#include "core/xml/XmlFiles.h"
#include "device/BusSetup.h"
#include "device/CanSetup.h"
#include "device/DeviceAccess.h"
#include "device/DeviceSession.h"
#include "sim/amplifier/DescriptionReader.h"
#include "sim/can/SimCanNet.h"
#include "sim/serial/SerialFrameServer.h"
#include "transport/InterfaceManager.h"
#include "support/ForwardingCanLibrary.h"
#include "transport/can/lib/CanopenClient.h"
#include "transport/serial/PosixSerialLibrary.h"

#include <QDir>
#include <QFile>

// The program's CAN client, with every time-out it is given on record.
class RecordingCan : public ForwardingCanLibrary {
public:
    using ForwardingCanLibrary::ForwardingCanLibrary;

    std::vector<int32_t> timeouts;

    int32_t setTimeoutTime(int32_t milliseconds) override
    {
        timeouts.push_back(milliseconds);
        return ForwardingCanLibrary::setTimeoutTime(milliseconds);
    }
};

namespace session {

const char* busName(Bus bus)
{
    switch (bus) {
    case Bus::Can: return "CAN";
    case Bus::Profibus: return "PROFIBUS";
    case Bus::DeviceNet: return "DeviceNet";
    case Bus::Serial: return "RS232";
    }
    return "?";
}

SimRackEntry qsg(uint8_t node, const QString& serial, uint32_t productId)
{
    return SessionWorld::amplifierEntry(QLatin1String(demorack::StrainGaugeFile), node, serial, productId);
}

SimRackEntry qsn(uint8_t node, const QString& serial)
{
    return SessionWorld::amplifierEntry(QLatin1String(demorack::StandardSignalFile), node, serial);
}

}  // namespace session

using session::Bus;

namespace {
const QString DecimalsPath = QStringLiteral("Scaling/DecimalPointPos");
}  // namespace

int SessionHost::showMessage(const QString& text, int style)
{
    const int answer = ScriptedHost::showMessage(text, style);
    if (onMessage)
        onMessage(text);
    return answer;
}

void SessionHost::sleepMs(int ms)
{
    ScriptedHost::sleepMs(ms);
    if (rack)
        rack->advance(ms);
}

SessionWorld::SessionWorld()
{
    state().core.host = &host_;
    EXPECT_EQ(Desr_LoadAll(state().core, state().descriptions), 2);
    Log_Open(state().core, true);
}

SessionWorld::~SessionWorld() = default;

SimRackEntry SessionWorld::amplifierEntry(const QString& file, uint8_t node, const QString& serial, uint32_t productId)
{
    const QString path = QDir::isAbsolutePath(file)
                             ? file
                             : TestFolder::shippedProgramFolder() + QStringLiteral("/DeviceDescription/") + file;
    SimIdentity identity;
    identity.nodeId = node;
    identity.serialNumber = serial.isEmpty() ? QString::number(100000 + node) : serial;
    identity.productId = productId;
    return {path, identity};
}

std::vector<SimRackEntry> SessionWorld::demoRack()
{
    return {session::qsg(3), session::qsn(17), session::qsg(42)};
}

void SessionWorld::openBus(Bus bus, const std::vector<SimRackEntry>& amplifiers)
{
    bus_ = bus;
    InterfaceSettings& s = settings();
    switch (bus) {
    case Bus::Can: {
        CanNetCatalog catalog(false);
        catalog.addBuiltInNet(SimulationHardware, DemoNet, DemoNetKbit, [this, amplifiers] {
            auto net = SimCanNet::create(amplifiers, SimCanNet::Time::Virtual);
            net_ = net.get();
            host_.rack = &net_->rack();
            return net;
        });
        auto recording = std::make_unique<RecordingCan>(std::make_unique<CanopenClient>(std::move(catalog)));
        can_ = recording.get();
        state().buses.can = std::move(recording);
        s.InterfaceType = CANBus;
        s.HWName = SimulationHardware;
        s.BusName = DemoNet;
        s.BaudRate = DemoNetKbit;
        break;
    }
    case Bus::Profibus:
    case Bus::DeviceNet:
        rack_ = std::make_unique<SimRack>();
        ASSERT_EQ(rack_->build(amplifiers), rc::Ok);
        host_.rack = rack_.get();
        Bus_CreateLibraries(state(), rack_.get());
        s.InterfaceType = bus == Bus::Profibus ? PROFIBUS : DeviceNet;
        s.PType = 10;  // a card that reports its station list
        s.Devno = 1;
        s.DeviceNetBaud = 0;
        break;
    case Bus::Serial: {
        rack_ = std::make_unique<SimRack>();
        ASSERT_EQ(rack_->build({amplifiers.front()}), rc::Ok);
        host_.rack = rack_.get();
        QString reason;
        server_ = SerialFrameServer::start(*rack_->node(amplifiers.front().identity.nodeId), &reason);
        ASSERT_TRUE(server_) << reason.toStdString();
        AppConf_Create(state().core);
        ASSERT_EQ(AppConf_SetValue(state().core, QStringLiteral("SerialPorts/COM1"), server_->slavePath()), rc::Ok);
        state().buses.serial = std::make_unique<PosixSerialLibrary>(state().core, std::chrono::microseconds{1});
        s.InterfaceType = RS232;
        s.ComPort = 1;
        break;
    }
    }
    ASSERT_GE(Interface_Connect(state(), s), 0);
    // The interface command counts a serial line as connected although nothing is open yet.
    s.Connected = true;
    host_.messages.clear();
}

SimRack& SessionWorld::rack()
{
    return net_ ? net_->rack() : *rack_;
}

SimAmplifier& SessionWorld::amplifier(uint8_t node)
{
    SimAmplifier* found = rack().node(node);
    if (!found)
        throw std::runtime_error("no amplifier at that node");
    return *found;
}

std::vector<int32_t>& SessionWorld::canTimeouts()
{
    return can_->timeouts;
}

DeviceEntry SessionWorld::device(uint8_t node, int32_t description) const
{
    DeviceEntry entry;
    entry.DescriptionIndex = description;
    switch (bus_) {
    case Bus::Can:
        entry.InterfaceKind = CANBus;
        entry.NodeId = node;
        break;
    case Bus::Profibus:
        entry.InterfaceKind = PROFIBUS;
        entry.Address = node;
        break;
    case Bus::DeviceNet:
        entry.InterfaceKind = DeviceNet;
        entry.MacId = node;
        break;
    case Bus::Serial:
        entry.InterfaceKind = RS232;
        break;
    }
    return entry;
}

DeviceEntry& SessionWorld::connectDevice(uint8_t node, int32_t description)
{
    Device_ResetTable(state());
    state().Devices.push_back(device(node, description));
    state().DeviceCount = 1;
    state().CurrentDevice = 1;
    DeviceEntry& entry = state().Devices[1];
    XmlNode parameters;
    EXPECT_EQ(Device_Connect(state(), settings(), entry, parameters, &host_), rc::Ok);
    EXPECT_TRUE(host_.messages.empty()) << host_.texts().join('\n').toStdString();
    host_.messages.clear();
    return entry;
}

int32_t SessionWorld::changeOnDevice(const DeviceEntry& entry, uint8_t decimals)
{
    XmlNode node;
    EXPECT_EQ(Descr_FindNode(DecimalsPath, Descr_OfDevice(state().descriptions, entry), node), rc::Ok);
    return Device_SetByte(state(), settings(), entry, node, decimals);
}

int SessionWorld::decimalsOnDevice(uint8_t node)
{
    const auto entry = amplifier(node).entryByPath(DecimalsPath);
    return entry && !entry->value.isEmpty() ? uint8_t(entry->value.at(0)) : -1;
}

QStringList SessionWorld::tableLabels() const
{
    QStringList labels;
    for (int32_t i = 1; i <= folder_.state.DeviceCount; ++i)
        labels << Device_GetLabel(folder_.state.Devices[size_t(i)]);
    return labels;
}

QStringList SessionWorld::logLines() const
{
    QFile file(GetAppDataFolder(folder_.state.core) + QStringLiteral("/Quelbrin Assistant.log"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        lines << line.mid(line.indexOf(QStringLiteral(": ")) + 2);
    return lines;
}

QString SessionWorld::stored(const QString& path) const
{
    if (!folder_.state.Configuration)
        return QStringLiteral("<none>");
    const XmlNode element = folder_.state.Configuration->documentElement().child("Parameters").selectSingle(path);
    return element ? element.text() : QStringLiteral("<none>");
}

QString SessionWorld::describedCopy(const char* file, const QString& parameterPath, const QString& element,
                                   const QString& text) const
{
    XmlDocument document;
    QString reason;
    const QString shipped = TestFolder::shippedProgramFolder() + QStringLiteral("/DeviceDescription/") +
                            QLatin1String(file);
    EXPECT_TRUE(document.load(shipped, QString(), &reason)) << reason.toStdString();
    XmlNode parameter = findDescriptionNode(document.documentElement().child("ParameterGroup"), parameterPath);
    EXPECT_FALSE(parameter.isNull()) << parameterPath.toStdString();
    parameter.appendElement(element).setText(text);
    const QString copy = folder_.file(QStringLiteral("changed-") + QLatin1String(file));
    EXPECT_TRUE(document.save(copy));
    return copy;
}
