#pragma once
#include "transport/can/events/ErrorControl.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

// Emergency objects (COB-ID 0x80 + node, 8 bytes: error code, error register 0x1001,
// five manufacturer bytes).
namespace emcy {
constexpr uint16_t Base = 0x080;   // 0x080 itself is SYNC
constexpr uint16_t NoError = 0x0000;
}  // namespace emcy

struct EmcyFrame {
    uint8_t node = 0;
    uint16_t code = 0;
    uint8_t errorRegister = 0;
    std::array<uint8_t, 5> maker{};
    FrameProblem problem = FrameProblem::None;   // WrongLength: the bytes that came are kept
};

// Nothing when the frame is not an EMCY (COB-ID outside 0x081..0x0FF).
std::optional<EmcyFrame> decodeEmcy(const CanFrame& frame);

// The error code's meaning: the most precise the standard's table has ("Débordement
// CAN (messages perdus)" for 0x8110, "Communication" for another 0x81xx, ...).
QString emcyCodeText(uint16_t code);
// The error register's bits as words ("générique, communication"); empty for 0.
QString errorRegisterText(uint8_t errorRegister);
// One line: "EMCY 0x8110 : Débordement CAN (messages perdus) — registre 0x11 (générique, communication)".
QString emcyText(const EmcyFrame& emcy);
