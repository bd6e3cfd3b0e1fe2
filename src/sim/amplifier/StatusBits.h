#pragma once
#include <array>
#include <cstdint>

// The status words of the simulated amplifier, bit 0 least significant.
namespace statusbits {
// "Measurement/StatusShort"
constexpr uint8_t Error = 0x01;         // overload: the value is not valid
constexpr uint8_t Warning = 0x08;       // close to the end of the range
constexpr uint8_t FirstLimitSwitch = 0x10;  // limit switches 1 to 4 are bits 4 to 7
// "Measurement/StatusLong"
constexpr uint32_t AboveRange = 0x08;   // beyond the end of the range
constexpr uint32_t BelowRange = 0x10;   // below the start of the range
constexpr uint32_t TedsUnreadable = 0x100;  // a sensor is plugged in whose TEDS is not valid

// Share of the range above which the warning bit is set.
constexpr double WarningShare = 0.9;
}  // namespace statusbits

struct StatusInputs {
    double gross = 0.0;
    double range = 0.0;
    std::array<bool, 4> limitSwitches{};
    bool tedsUnreadable = false;
};

uint32_t statusLong(const StatusInputs& inputs);
uint8_t statusShort(const StatusInputs& inputs);
