#pragma once
#include "support/TestFolder.h"
#include "transport/InterfaceSettings.h"

#include <QString>

class QProcess;

// The amplifiers of the demo rack, as quelbrin-sim announces them.
constexpr int DemoRackDevices = 3;

// A program state with the descriptions loaded and the scripted host, whose sleeps
// cost nothing.
struct World {
    World();
    AppState& state() { return folder.state; }
    bool connect(const InterfaceSettings& interface);

    TestFolder folder;
    InterfaceSettings settings;
};

InterfaceSettings canNet(const QString& hardware, const QString& net);
// The CAN library of the world on the built-in simulation net (on virtual time).
void useSimulationCan(World& world, const QString& descriptionFolder);
quint16 freePort();
// quelbrin-sim serving the demo rack on a virtualcan hub of its own; false when it
// does not announce its three amplifiers in time.
bool startSimulator(QProcess& sim, const QString& interfaceName);
