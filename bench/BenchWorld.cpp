#include "BenchWorld.h"

#include "Bench.h"
#include "device/BusSetup.h"
#include "device/CanSetup.h"
#include "device/DeviceSession.h"
#include "model/Descriptions.h"
#include "sim/amplifier/SimRack.h"
#include "sim/can/SimCanNet.h"
#include "transport/can/lib/CanopenClient.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTcpServer>

World::World()
{
    expectSetUp(Desr_LoadAll(folder.state.core, folder.state.descriptions), "loading the descriptions");
}

void useSimulatedBuses(World& world, SimRack& rack, const QString& descriptionFolder)
{
    CanNetCatalog catalog(false);
    catalog.addBuiltInNet(SimulationHardware, DemoNet, DemoNetKbit, [descriptionFolder] {
        return createDemoCanNet(descriptionFolder, SimCanNet::Time::Virtual);
    });
    world.state().buses.can = std::make_unique<CanopenClient>(std::move(catalog));
    expectSetUp(buildDemoRack(rack, descriptionFolder), "building the demo rack");
    Bus_CreateLibraries(world.state(), &rack);
}

InterfaceSettings canNet(const QString& hardware, const QString& net)
{
    InterfaceSettings settings;
    settings.InterfaceType = CANBus;
    settings.HWName = hardware;
    settings.BusName = net;
    return settings;
}

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

bool startSimulator(QProcess& sim, const QString& interfaceName)
{
    constexpr int StartTimeoutMs = 5000;
    sim.start(QCoreApplication::applicationDirPath() + QStringLiteral("/quelbrin-sim"),
              {QStringLiteral("--can"), QStringLiteral("virtualcan:") + interfaceName});
    int announced = 0;
    const QDeadlineTimer deadline(StartTimeoutMs);
    while (announced < DemoRackDevices && sim.waitForReadyRead(int(deadline.remainingTime()))) {
        while (sim.canReadLine())
            announced += sim.readLine().startsWith("node ") ? 1 : 0;
    }
    return announced == DemoRackDevices;
}

bool connectLarger(World& world)
{
    constexpr int32_t LargerDescription = 0;   // QSG2.xml, the first by file name
    AppState& state = world.state();
    expectSetUp(Device_Scan(state, state.CurrentInterface, nullptr), "the scan");
    for (int32_t n = 1; n <= state.DeviceCount; ++n) {
        if (state.Devices[size_t(n)].DescriptionIndex != LargerDescription)
            continue;
        state.CurrentDevice = n;
        XmlNode parameters;
        return Device_Connect(state, state.CurrentInterface, state.Devices[size_t(n)], parameters, nullptr) >= 0;
    }
    return false;
}

namespace {

// Connects the world to the net as the current interface, runs the bench and closes all.
void runConnected(World& world, const InterfaceSettings& net, const QString& bus, const NetBench& bench)
{
    const bool connected = world.connect(net);
    world.state().CurrentInterface = world.settings;
    if (connected)
        bench(world, bus);
    else
        QTextStream(stderr) << "benches on " << bus << " skipped: the net did not open" << Qt::endl;
    Interface_Disconnect(world.state(), world.state().CurrentInterface);
}

}  // namespace

void onInProcessCan(const NetBench& bench)
{
    World world;
    SimRack rack;
    useSimulatedBuses(world, rack, TestFolder::shippedProgramFolder() + QStringLiteral("/DeviceDescription"));
    runConnected(world, canNet(SimulationHardware, DemoNet), QStringLiteral("in-process CAN"), bench);
}

void onSimulatorCan(const QString& what, const NetBench& bench)
{
    const QString interfaceName = QStringLiteral("tcp://127.0.0.1:%1/can0").arg(freePort());
    QProcess sim;
    if (!startSimulator(sim, interfaceName)) {
        QTextStream(stderr) << what << " on virtualcan skipped: quelbrin-sim did not start" << Qt::endl;
        return;
    }
    World world;
    world.state().buses.can = std::make_unique<CanopenClient>(CanNetCatalog());
    runConnected(world, canNet("virtualcan", interfaceName), QStringLiteral("virtualcan, quelbrin-sim"), bench);
    sim.terminate();
    sim.waitForFinished();
}
