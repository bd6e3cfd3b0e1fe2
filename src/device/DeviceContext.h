#pragma once
#include "core/xml/XmlDocument.h"
#include "transport/AppState.h"

// One device at work: what every device operation is handed.
struct DeviceContext {
    AppState& state;
    InterfaceSettings& settings;
    DeviceEntry& entry;
    XmlNode parameters;   // "Parameters" of the current configuration
};
