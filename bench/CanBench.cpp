// CANopen SDO through the CAN library against the simulated amplifiers, on the
// in-process bus and on virtualcan, each figure beside a 1 Mbit/s bus model.
#include "Bench.h"

#include "core/ResultCodes.h"
#include "sim/can/CanRackServers.h"
#include "sim/can/SimCanNet.h"
#include "sim/can/SimClock.h"
#include "support/TestFolder.h"
#include "transport/can/CanScan.h"
#include "transport/can/SdoTransfers.h"
#include "transport/can/lib/CanopenClient.h"
#include "transport/can/lib/QtCanFrameBus.h"

#include <QTcpServer>
#include <map>

namespace {

// One 8-byte data frame at 1 Mbit/s, stuff bits included: an expedited round trip
// (two frames) is about 0.23 ms of bus time.
constexpr double FrameMs = 0.115;
constexpr uint8_t VendorNode = 42;
// A node beside the amplifiers holding objects of the sizes the throughput is measured for.
constexpr uint8_t BlockNode = 100;
constexpr uint16_t BlockIndex = 0x2F50;
constexpr int BlockSizes[] = {256, 4096};
constexpr int PresentNodes = 3;

// Read-only objects of given sizes at BlockIndex, sub-index 1, 2, ...
class BlockTarget final : public SdoTarget {
public:
    BlockTarget()
    {
        uint8_t sub = 1;
        for (int size : BlockSizes)
            blocks_[sub++] = QByteArray(size, '\x5A');
    }
    uint32_t readObject(uint16_t index, uint8_t sub, QByteArray& data) override
    {
        const auto found = blocks_.find(sub);
        if (index != BlockIndex || found == blocks_.end())
            return sdoabort::NoObject;
        data = found->second;
        return 0;
    }
    uint32_t writeObject(uint16_t, uint8_t, const QByteArray&) override { return sdoabort::ReadOnly; }

private:
    std::map<uint8_t, QByteArray> blocks_;
};

double segmentedModelKBps(int bytes)
{
    const int frames = 2 + 2 * ((bytes + 6) / 7);
    return double(bytes) / (frames * FrameMs);   // bytes per ms = kB/s
}

QString modelNote(double model, const QString& unit, double measured)
{
    return QStringLiteral("1 Mbit/s model %1 %2, measured/model %3")
        .arg(model, 0, 'f', 3)
        .arg(unit)
        .arg(measured / model, 0, 'f', 2);
}

// A CANopen client of the program's kind with the descriptions loaded (the scan
// needs the vendor ID's address), connected to a net.
struct Client {
    TestFolder folder;
    InterfaceSettings settings;

    Client(CanNetCatalog catalog, const QString& hardware, const QString& net)
    {
        expectSetUp(Desr_LoadAll(folder.state.core, folder.state.descriptions), "loading the descriptions");
        folder.state.buses.can = std::make_unique<CanopenClient>(std::move(catalog));
        settings.InterfaceType = CANBus;
        if (can().connectClientToNet(hardware, net) != rc::Ok)
            QTextStream(stderr) << "cannot connect to " << hardware << " " << net << Qt::endl;
    }
    CanLibrary& can() { return *folder.state.buses.can; }
};

void benchTransfers(Client& client, const QString& bus, long roundTrips, long blockReads)
{
    CanLibrary& can = client.can();
    uint32_t vendor = 0;
    bool failed = false;
    const double us = microsecondsPerRun(roundTrips, [&](long) {
        failed |= SDO_ReadValue(can, VendorNode, 0x1018, 1, vendor) != rc::Ok;
    });
    if (failed)
        QTextStream(stderr) << "expedited upload failed" << Qt::endl;
    report("CAN expedited upload round trip, " + bus, us, "us", modelNote(2 * FrameMs * 1000, "us", us));

    uint8_t sub = 1;
    for (int size : BlockSizes) {
        QByteArray data;
        const double perRead = microsecondsPerRun(blockReads, [&](long) {
            int32_t length = size;
            // The size of the data read tells whether the reads worked.
            static_cast<void>(SDO_ReadBytes(can, BlockNode, BlockIndex, sub, data, length));
        });
        if (data.size() != size)
            QTextStream(stderr) << "segmented upload of " << size << " bytes failed" << Qt::endl;
        const double kBps = size / (perRead / 1000.0);
        report(QStringLiteral("CAN segmented upload %1 bytes, %2").arg(size).arg(bus), kBps, "kB/s",
               modelNote(segmentedModelKBps(size), "kB/s", kBps));
        ++sub;
    }
}

// Bus time of a scan: a request to every node and three answers; on a real bus
// every batch of 16 with an absent node also waits its 500 ms time-out.
void benchScan(Client& client, const QString& bus, long scans)
{
    std::vector<DeviceEntry> found;
    const double us = microsecondsPerRun(scans, [&](long) {
        found.clear();
        // The count found tells whether the scans worked.
        static_cast<void>(CAN_ScanRead(client.folder.state, client.settings, nullptr, found));
    });
    if (found.size() != PresentNodes)
        QTextStream(stderr) << "the scan found " << found.size() << " nodes" << Qt::endl;
    const double framesMs = (127 + PresentNodes) * FrameMs;
    report("CAN_ScanRead 127..1, 3 present, " + bus, us / 1000.0, "ms",
           modelNote(framesMs, "ms", us / 1000.0) + QStringLiteral("; with the 8 batch time-outs %1 ms")
                                                     .arg(framesMs + 8 * 500, 0, 'f', 0));
}

void benchInProcess(const QString& descriptionFolder)
{
    CanNetCatalog catalog(false);
    SimCanNet* net = nullptr;
    catalog.addBuiltInNet("Simulation", "Démo", 1000, [&] {
        auto created = createDemoCanNet(descriptionFolder, SimCanNet::Time::Virtual);
        net = created.get();
        return created;
    });
    Client client(std::move(catalog), "Simulation", "Démo");
    if (!net)
        return;
    BlockTarget blocks;
    SdoServer blockServer(*net, BlockNode, blocks);
    benchTransfers(client, "in-process bus", 20000, 500);
    benchScan(client, "in-process bus", 50);
}

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// The amplifiers on a QCanBus device of this process, the client on another; the
// first device opened holds the virtualcan hub.
void benchVirtualcan(const QString& descriptionFolder)
{
    const QString interfaceName = QStringLiteral("tcp://127.0.0.1:%1/can0").arg(freePort());
    int32_t opened = rc::Ok;
    std::unique_ptr<QtCanFrameBus> serverBus = QtCanFrameBus::open("virtualcan", interfaceName, opened);
    SimRack rack;
    if (!serverBus || buildDemoRack(rack, descriptionFolder) != rc::Ok) {
        QTextStream(stderr) << "virtualcan bench skipped (" << opened << ")" << Qt::endl;
        return;
    }
    rack.setTimeSource(elapsedTimeSource());
    CanRackServers servers(*serverBus, rack);
    BlockTarget blocks;
    SdoServer blockServer(*serverBus, BlockNode, blocks);

    Client client(CanNetCatalog(), "virtualcan", interfaceName);
    benchTransfers(client, "virtualcan", 1000, 20);
    benchScan(client, "virtualcan", 1);
    static_cast<void>(client.can().disconnectBus());  // the figures are taken
}

}  // namespace

void benchCan()
{
    const QString descriptionFolder = TestFolder::shippedProgramFolder() + QStringLiteral("/DeviceDescription");
    benchInProcess(descriptionFolder);
    benchVirtualcan(descriptionFolder);
}
