#pragma once
#include <memory>

// The bus libraries of the program, one per interface kind; each is chosen when the
// program starts (hardware, plug-in or built-in simulation) and lives for the run.
struct BusLibraries {
    BusLibraries();
    ~BusLibraries();
    BusLibraries(const BusLibraries&) = delete;
    BusLibraries& operator=(const BusLibraries&) = delete;
};
