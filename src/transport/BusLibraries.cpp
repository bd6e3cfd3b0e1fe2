#include "transport/BusLibraries.h"

BusLibraries::BusLibraries() = default;
BusLibraries::~BusLibraries() = default;
