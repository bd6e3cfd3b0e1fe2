#pragma once
#include <memory>

class CanLibrary;
class ProfibusLibrary;
class DeviceNetLibrary;
class SerialLibrary;
class CanNetListener;

// The bus libraries of the program, one per interface kind; each is chosen when the
// program starts (hardware, plug-in or built-in simulation) and lives for the run.
struct BusLibraries {
    BusLibraries();
    ~BusLibraries();
    BusLibraries(const BusLibraries&) = delete;
    BusLibraries& operator=(const BusLibraries&) = delete;

    std::unique_ptr<CanLibrary> can;
    // What the nodes of the CAN library's net announce; made on first use, made anew
    // for another CAN library. Nothing while there is no CAN library.
    CanNetListener* canEvents();
    std::unique_ptr<ProfibusLibrary> profibus;
    std::unique_ptr<DeviceNetLibrary> devicenet;
    std::unique_ptr<SerialLibrary> serial;

    // The amplifiers of the built-in simulation, kept alive while the simulated
    // masters above serve them.
    std::shared_ptr<void> simulation;

private:
    std::unique_ptr<CanNetListener> canEvents_;
    const CanLibrary* canEventsOf_ = nullptr;
};
