#include "device/CanSetup.h"

#include "sim/can/SimCanNet.h"
#include "transport/can/lib/CanopenClient.h"

std::unique_ptr<CanLibrary> Can_CreateLibrary(const QString& programFolder)
{
    CanNetCatalog catalog;
    const QString descriptionFolder = programFolder + QStringLiteral("/DeviceDescription");
    catalog.addBuiltInNet(SimulationHardware, DemoNet, DemoNetKbit, [descriptionFolder] {
        return createDemoCanNet(descriptionFolder, SimCanNet::Time::WallClock);
    });
    return std::make_unique<CanopenClient>(std::move(catalog));
}
