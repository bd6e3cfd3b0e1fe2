#pragma once
#include "transport/InterfaceSettings.h"

#include <QList>
#include <cstdint>

struct AppState;

// kbit/s of a CAN bit-timing value (BTR0 * 256 + BTR1); 0 when unknown.
int32_t CAN_BitTimingToKbit(int32_t bitTiming);
// Appends one entry per net the CAN library offers; the count, or the library's
// negative result.
[[nodiscard]] int32_t CAN_ListNets(AppState& state, QList<InterfaceSettings>& nets);
// Whether the settings' hardware and net are available; then the kind and bit rate
// are taken from the list.
bool CAN_FindNet(AppState& state, InterfaceSettings& settings);
