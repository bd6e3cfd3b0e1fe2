// The device layer over the simulated buses: a scan of nodes 127..1 with three
// devices present, then connect and whole-configuration read of one device of each
// family, on the in-process buses and over virtualcan. CAN figures stand beside a
// 1 Mbit/s bus model of one expedited SDO round trip per parameter read.
#include "Bench.h"
#include "BenchWorld.h"

#include "core/ResultCodes.h"
#include "device/CanSetup.h"
#include "sim/can/SimCanNet.h"
#include "device/DeviceSession.h"
#include "model/Configuration.h"
#include "sim/amplifier/SimRack.h"
#include "transport/InterfaceManager.h"
#include "transport/can/lib/CanopenClient.h"
#include "transport/profibus/ProfibusLibrary.h"

#include <QCoreApplication>
#include <QProcess>
#include <set>

namespace {

constexpr double RoundTripMs = 0.23;   // two 8-byte frames at 1 Mbit/s, stuff bits included
constexpr double FrameMs = RoundTripMs / 2;
constexpr int PresentDevices = DemoRackDevices;
constexpr int ScannedNodes = 127;
constexpr int IdentifyReads = 3;       // vendor, product, serial number
constexpr int ScanBatches = 8;
constexpr int ScanBatchTimeoutMs = 500;

// The parameters a whole-configuration read fetched: the leaves of "Parameters".
int countParameters(XmlNode element)
{
    const std::vector<XmlNode> children = element.elementChildren();
    int count = children.empty() ? 1 : 0;
    for (XmlNode child : children)
        count += countParameters(child);
    return count;
}

QString modelNote(double modelMs, double measuredMs)
{
    return QStringLiteral("1 Mbit/s model %1 ms, measured/model %2").arg(modelMs, 0, 'f', 3).arg(measuredMs / modelMs, 0, 'f', 2);
}

double scanMs(World& world, long runs)
{
    // The device count below tells whether the scans worked.
    const double us =
        microsecondsPerRun(runs, [&](long) { static_cast<void>(Device_Scan(world.state(), world.settings, nullptr)); });
    if (world.state().DeviceCount != PresentDevices)
        QTextStream(stderr) << "the scan found " << world.state().DeviceCount << " devices" << Qt::endl;
    return us / 1000.0;
}

// Connect (whole read included) and disconnect of the first device of each description.
double connectFamiliesMs(World& world, const QString& bus, long runs, bool canModel)
{
    AppState& state = world.state();
    std::set<int32_t> seen;
    double totalMs = 0;
    for (int32_t n = 1; n <= state.DeviceCount; ++n) {
        DeviceEntry& entry = state.Devices[n];
        if (!seen.insert(entry.DescriptionIndex).second)
            continue;
        XmlNode parameters;
        bool failed = false;
        const double ms = microsecondsPerRun(runs, [&](long) {
            failed |= Device_Connect(state, world.settings, entry, parameters, nullptr) < 0;
            failed |= Device_Disconnect(state, world.settings, entry, nullptr) < 0;
        }) / 1000.0;
        if (failed)
            QTextStream(stderr) << "a connect or disconnect of " << Device_GetLabel(entry) << " failed" << Qt::endl;
        const int count = countParameters(parameters);
        const QString family = state.descriptions[entry.DescriptionIndex]->document()->documentElement()
                                   .child("Header").childText("Family");
        report(QStringLiteral("connect + whole read %1, %2 parameters, %3").arg(family).arg(count).arg(bus), ms, "ms",
               canModel ? modelNote(count * RoundTripMs, ms) : QString());
        report(QStringLiteral("  per parameter, %1").arg(bus), ms * 1000.0 / count, "us",
               canModel ? modelNote(RoundTripMs, ms / count) : QString());
        totalMs += ms;
    }
    return totalMs;
}

void benchBus(World& world, const QString& bus, long scans, long connects, bool canModel)
{
    const double scan = scanMs(world, scans);
    const double scanModel = (ScannedNodes + PresentDevices) * FrameMs + PresentDevices * IdentifyReads * RoundTripMs;
    report(QStringLiteral("Device_Scan 127..1, 3 present, %1").arg(bus), scan, "ms",
           canModel ? modelNote(scanModel, scan) + QStringLiteral("; with the %1 batch time-outs %2 ms")
                                                       .arg(ScanBatches)
                                                       .arg(scanModel + ScanBatches * ScanBatchTimeoutMs, 0, 'f', 0)
                    : QString());
    const double connect = connectFamiliesMs(world, bus, connects, canModel);
    report(QStringLiteral("scan + connect of both families, %1").arg(bus), scan + connect, "ms");
}

void benchInProcess(const QString& descriptionFolder)
{
    World world;
    SimRack rack;
    useSimulatedBuses(world, rack, descriptionFolder);

    if (world.connect(canNet(SimulationHardware, DemoNet)))
        benchBus(world, "in-process CAN", 50, 20, true);
    Interface_Disconnect(world.state(), world.settings);

    InterfaceSettings card;
    card.InterfaceType = PROFIBUS;
    card.PType = profibus::HilscherMaster;   // reports its station list
    if (world.connect(card))
        benchBus(world, "simulated PROFIBUS master", 20, 20, false);
    Interface_Disconnect(world.state(), world.settings);

    InterfaceSettings deviceNet;
    deviceNet.InterfaceType = DeviceNet;
    if (world.connect(deviceNet))
        benchBus(world, "simulated DeviceNet master", 20, 20, false);
    Interface_Disconnect(world.state(), world.settings);
}

// The program's client here, the amplifiers in quelbrin-sim: this process may hold
// the virtualcan hub of an earlier bench already, and a process has only one.
void benchVirtualcan()
{
    const QString interfaceName = QStringLiteral("tcp://127.0.0.1:%1/can0").arg(freePort());
    QProcess sim;
    if (!startSimulator(sim, interfaceName)) {
        QTextStream(stderr) << "virtualcan device bench skipped: quelbrin-sim did not start" << Qt::endl;
        return;
    }
    World world;
    world.state().buses.can = std::make_unique<CanopenClient>(CanNetCatalog());
    if (world.connect(canNet("virtualcan", interfaceName)))
        benchBus(world, "virtualcan, quelbrin-sim", 1, 3, true);
    Interface_Disconnect(world.state(), world.settings);
    sim.terminate();
    sim.waitForFinished();
}

}  // namespace

void benchDevice()
{
    benchInProcess(TestFolder::shippedProgramFolder() + QStringLiteral("/DeviceDescription"));
    benchVirtualcan();
}
