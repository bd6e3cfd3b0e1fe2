#include "transport/BusLibraries.h"

#include "transport/can/lib/CanLibrary.h"
#include "transport/devicenet/DeviceNetLibrary.h"
#include "transport/profibus/ProfibusLibrary.h"
#include "transport/serial/SerialLibrary.h"

BusLibraries::BusLibraries() = default;
BusLibraries::~BusLibraries() = default;
