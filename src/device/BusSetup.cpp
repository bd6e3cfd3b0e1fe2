#include "device/BusSetup.h"

#include "device/CanSetup.h"
#include "transport/can/lib/CanLibrary.h"
#include "sim/amplifier/SimRack.h"
#include "sim/can/SimClock.h"

#include "core/Host.h"
#include "core/Log.h"
#include "core/Settings.h"
#include "sim/devicenet/SimDeviceNetMaster.h"
#include "sim/profibus/SimProfibusMaster.h"
#include "transport/AppState.h"
#include "transport/devicenet/PluginDeviceNetLibrary.h"
#include "transport/profibus/PluginProfibusLibrary.h"

namespace {

// The plug-in named under `key`, else the simulation of `rack`.
template <typename Library, typename Plugin, typename Simulation>
std::unique_ptr<Library> chooseLibrary(AppState& state, const QString& key, const QString& busName, SimRack* rack)
{
    QString path;
    if (AppConf_Find(state.core, key, path) && !path.trimmed().isEmpty()) {
        QString reason;
        if (auto plugin = Plugin::load(path.trimmed(), &reason))
            return plugin;
        const QString text = QStringLiteral("La bibliothèque %1 '%2' n'a pas pu être chargée : %3. "
                                            "La simulation est utilisée.")
                                 .arg(busName, path.trimmed(), reason);
        Log_Write(state.core, text);
        if (state.core.host)
            ShowMessage(*state.core.host, text, msg::Warning);
    }
    return std::make_unique<Simulation>(rack);
}

}  // namespace

void Bus_CreateLibraries(AppState& state, SimRack* rack)
{
    state.buses.profibus = chooseLibrary<ProfibusLibrary, PluginProfibusLibrary, SimProfibusMaster>(
        state, QStringLiteral("Plugins/PROFIBUS"), QStringLiteral("PROFIBUS"), rack);
    state.buses.devicenet = chooseLibrary<DeviceNetLibrary, PluginDeviceNetLibrary, SimDeviceNetMaster>(
        state, QStringLiteral("Plugins/DeviceNet"), QStringLiteral("DeviceNet"), rack);
}

void Bus_CreateProgramLibraries(AppState& state)
{
    state.buses.can = Can_CreateLibrary(state.core.programFolder);
    auto rack = std::make_shared<SimRack>();
    // The net serves the amplifiers it could build; a description that does not load
    // has been reported by the start-up that loaded them all.
    static_cast<void>(buildDemoRack(*rack, state.core.programFolder + QStringLiteral("/DeviceDescription")));
    rack->setTimeSource(elapsedTimeSource());
    Bus_CreateLibraries(state, rack.get());
    state.buses.simulation = rack;
}
