// The parameter grid for the larger shipped description (QSG 2): building its rows
// until the first paint, one refresh of all rows beside the whole-configuration read
// of the same device on the same bus, and one periodic refresh; on the in-process CAN
// net and over virtualcan with quelbrin-sim.
#include "Bench.h"
#include "BenchWorld.h"

#include "device/DeviceAccess.h"
#include "model/Configuration.h"
#include "ui/OperationGuard.h"
#include "ui/grid/GridModel.h"
#include "ui/grid/ParameterGrid.h"

namespace {

void benchGridOn(World& world, const QString& bus, long builds, long refreshes)
{
    if (!connectLarger(world)) {
        QTextStream(stderr) << "grid bench on " << bus << " skipped: no device connected" << Qt::endl;
        return;
    }
    AppState& state = world.state();
    OperationGuard guard;
    ParameterGrid grid(state, GridHooks{guard, [] {}, [] {}});
    grid.resize(600, 800);
    grid.show();
    const double build = microsecondsPerRun(builds, [&](long) {
        grid.InitParameterGroup();
        grid.grab();
    }) / 1000.0;
    report(QStringLiteral("grid build, %1 rows, until painted").arg(grid.gridModel().rowCountAll()), build, "ms",
           QStringLiteral("goal 50 ms"));

    DeviceEntry& entry = state.Devices[size_t(state.CurrentDevice)];
    const XmlNode parameters = Conf_Parameters(state.Configuration.get());
    const double whole = microsecondsPerRun(refreshes, [&](long) {
        static_cast<void>(Conf_UpdateValue(state, state.CurrentInterface, entry, parameters, QStringLiteral("."), nullptr));
    }) / 1000.0;
    const double all = microsecondsPerRun(refreshes, [&](long) { grid.refreshValues(); }) / 1000.0;
    for (int row = 0; row < grid.gridModel().rowCountAll(); ++row)
        if (grid.gridModel().row(row).status < 0)
            QTextStream(stderr) << "grid bench: the read of " << grid.gridModel().row(row).path << " failed" << Qt::endl;
    report(QStringLiteral("whole-configuration read, %1").arg(bus), whole, "ms");
    report(QStringLiteral("grid refresh of all rows, %1").arg(bus), all, "ms",
           QStringLiteral("%1 x the whole read, goal 1.2").arg(all / whole, 0, 'f', 2));
    const double periodic = microsecondsPerRun(refreshes, [&](long) { grid.refreshPeriodicValues(); }) / 1000.0;
    report(QStringLiteral("grid periodic refresh, %1 rows, %2").arg(grid.gridModel().periodicPaths().size()).arg(bus),
           periodic, "ms");
}

}  // namespace

void benchGrid()
{
    onInProcessCan([](World& world, const QString& bus) { benchGridOn(world, bus, 20, 10); });
    onSimulatorCan(QStringLiteral("grid bench"), [](World& world, const QString& bus) { benchGridOn(world, bus, 3, 2); });
}
