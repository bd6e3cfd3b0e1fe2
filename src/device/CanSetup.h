#pragma once
#include <QString>
#include <cstdint>
#include <memory>

class CanLibrary;

// The built-in CAN hardware and its net: a rack of simulated amplifiers in the
// program, so that the whole program works without CAN hardware.
inline const QString SimulationHardware = QStringLiteral("Simulation");
inline const QString DemoNet = QStringLiteral("Démo");
constexpr int32_t DemoNetKbit = 1000;

// The CAN library of the program: a CANopen client that offers every interface of
// every QCanBus plugin and the built-in hardware "Simulation" with the net "Démo",
// the demo rack built from programFolder's "DeviceDescription" when the net opens.
std::unique_ptr<CanLibrary> Can_CreateLibrary(const QString& programFolder);
