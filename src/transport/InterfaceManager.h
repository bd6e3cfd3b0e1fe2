#pragma once
#include "transport/InterfaceSettings.h"

#include <cstdint>

struct AppState;

// Opens the interface of the settings' kind; a failure is shown once. >= 0 success.
[[nodiscard]] int32_t Interface_Connect(AppState& state, InterfaceSettings& settings);
// Closes the bus of the settings when it is open (the devices are disconnected by
// the caller first).
void Interface_CloseBus(AppState& state, InterfaceSettings& settings);
// The reply time-out of the bus: CAN and serial; -5 on PROFIBUS, -2 elsewhere.
[[nodiscard]] int32_t Interface_SetTimeout(AppState& state, const InterfaceSettings& settings, int32_t milliseconds);

// The standard interface in the settings document: 0, -6 without a document,
// -2 for a kind that is not stored or an entry with a value missing or damaged
// (the settings are then left as they were).
[[nodiscard]] int32_t LoadStandardInterface(AppState& state, InterfaceSettings& settings);
[[nodiscard]] int32_t SaveStandardInterface(AppState& state, const InterfaceSettings& settings);
// The settings file with the standard interface it holds (none when it holds no
// usable one), for the first activation to connect. Always 0, as the core load.
int32_t AppConf_Load(AppState& state);
