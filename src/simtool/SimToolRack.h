#pragma once
#include "sim/amplifier/SimRack.h"
#include "simtool/SimToolOptions.h"

// The amplifiers quelbrin-sim serves: one of the family per node given, with the
// serial number 100000 + node ID, or the demo rack when no node is given.
std::vector<SimRackEntry> simToolRackEntries(const SimToolOptions& options);

// The line announcing a served amplifier: "node 5: QSG2, serial 100005".
QString servedNodeLine(const SimRackEntry& entry);
