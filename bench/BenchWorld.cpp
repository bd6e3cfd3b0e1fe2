#include "BenchWorld.h"

#include "Bench.h"
#include "device/CanSetup.h"
#include "model/Descriptions.h"
#include "sim/can/SimCanNet.h"
#include "transport/InterfaceManager.h"
#include "transport/can/lib/CanopenClient.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTcpServer>

World::World() { expectSetUp(Desr_LoadAll(folder.state.core, folder.state.descriptions), "loading the descriptions"); }

bool World::connect(const InterfaceSettings& interface)
{
    settings = interface;
    return Interface_Connect(state(), settings) >= 0;
}

InterfaceSettings canNet(const QString& hardware, const QString& net)
{
    InterfaceSettings settings;
    settings.InterfaceType = CANBus;
    settings.HWName = hardware;
    settings.BusName = net;
    return settings;
}

void useSimulationCan(World& world, const QString& descriptionFolder)
{
    CanNetCatalog catalog(false);
    catalog.addBuiltInNet(SimulationHardware, DemoNet, DemoNetKbit, [descriptionFolder] {
        return createDemoCanNet(descriptionFolder, SimCanNet::Time::Virtual);
    });
    world.state().buses.can = std::make_unique<CanopenClient>(std::move(catalog));
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
