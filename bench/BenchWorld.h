#pragma once
#include "support/TestFolder.h"
#include "transport/InterfaceManager.h"

#include <QString>
#include <functional>

class QProcess;
class SimRack;

// The simulated demo rack holds three amplifiers.
constexpr int DemoRackDevices = 3;

// A program state with the descriptions loaded and the scripted host, whose sleeps
// cost nothing.
struct World {
    TestFolder folder;
    InterfaceSettings settings;

    World();
    AppState& state() { return folder.state; }
    bool connect(const InterfaceSettings& interface)
    {
        settings = interface;
        return Interface_Connect(state(), settings) >= 0;
    }
};

// The built-in CAN net "Simulation"/"Démo" on virtual time and the simulated PROFIBUS
// and DeviceNet masters, all reaching the demo rack built into `rack`.
void useSimulatedBuses(World& world, SimRack& rack, const QString& descriptionFolder);
InterfaceSettings canNet(const QString& hardware, const QString& net);
quint16 freePort();
// quelbrin-sim serving the demo rack on a virtualcan hub of its own; false when it
// does not announce its three amplifiers in time.
bool startSimulator(QProcess& sim, const QString& interfaceName);
// Connects the first device of the larger description (QSG 2) found by a scan as the
// current device; false on failure.
bool connectLarger(World& world);

// A bench run on a connected world; `bus` names the net in the figures.
using NetBench = std::function<void(World& world, const QString& bus)>;
// Runs the bench on the in-process CAN net of the demo rack.
void onInProcessCan(const NetBench& bench);
// Runs the bench over virtualcan against quelbrin-sim; when the simulator does not
// start, says on stderr that `what` is skipped.
void onSimulatorCan(const QString& what, const NetBench& bench);
