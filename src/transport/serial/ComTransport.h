#pragma once
#include "transport/serial/ComSettings.h"

#include <QByteArray>
#include <cstdint>

struct AppState;
class Host;

// Object reads and writes over the serial line: one frame out, one frame back,
// addressed by the amplifier's SDO index and sub-index. The serial library is
// state.buses.serial; when none is installed the POSIX one is, on first use.

// Opens the port and drops what the line held before. `panel` shows
// "Ouverture COM<n>..." meanwhile; null for none.
[[nodiscard]] int32_t COM_Open(AppState& state, const ComSettings& settings, Host* panel = nullptr);
[[nodiscard]] int32_t COM_Close(AppState& state);
// Reads `length` bytes into buffer: returns length, -1 for a reply that does not
// fit the request, or the receive error after the port has been reopened.
[[nodiscard]] int32_t COM_Read(AppState& state, uint16_t index, uint8_t sub, QByteArray& buffer, int32_t length);
// 0, -1 for a reply that does not echo the request, or the receive error after
// the port has been reopened. The reply's status is not looked at.
[[nodiscard]] int32_t COM_Write(AppState& state, uint16_t index, uint8_t sub, const QByteArray& data);
// The reply time-out (reset to 5000 ms by every open).
[[nodiscard]] int32_t COM_SetTimeout(AppState& state, int32_t milliseconds);
