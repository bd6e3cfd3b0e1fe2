#pragma once

struct AppState;
class SimRack;

// Chooses the bus libraries when the program starts. A shared library named in the
// settings ("Plugins/PROFIBUS", "Plugins/DeviceNet") is loaded as that bus's library;
// when none is named, or it does not load (a message says why), the built-in
// simulated master serves the amplifiers of `rack` (null: an empty bus). The rack
// must outlive the state's libraries.
void Bus_CreateLibraries(AppState& state, SimRack* rack);

// The program's libraries: the CAN library with every CAN interface and the built-in
// "Simulation" net, and PROFIBUS and DeviceNet as above, the simulated masters serving
// a demo rack built from the program's descriptions and owned by the state.
void Bus_CreateProgramLibraries(AppState& state);
