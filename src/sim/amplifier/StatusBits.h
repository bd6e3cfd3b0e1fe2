#pragma once
#include <array>
#include <cstdint>

// The status words of the simulated amplifier, bit 0 least significant, as the
// shipped descriptions name their bits.
namespace statusbits {
// "Measurement/StatusShort"
constexpr uint8_t Error = 0x01;             // the value is not valid
constexpr uint8_t Overload = 0x02;
constexpr uint8_t TareActive = 0x04;
constexpr uint8_t Warning = 0x08;           // close to the end of the range
constexpr uint8_t FirstLimitSwitch = 0x10;  // limit switches 1 to 4 are bits 4 to 7
// "Measurement/StatusLong"
constexpr uint32_t MeasurementError = 0x01;
constexpr uint32_t InputOverload = 0x02;
constexpr uint32_t SupplyFault = 0x04;   // the excitation
constexpr uint32_t AboveRange = 0x08;
constexpr uint32_t BelowRange = 0x10;
constexpr uint32_t SensorBreak = 0x20;
constexpr uint32_t TareActiveLong = 0x80;
constexpr uint32_t FirstLimitSwitchLong = 0x100;  // limit switches 1 to 4 are bits 8 to 11
constexpr uint32_t ConfigurationChanged = 0x1000;
constexpr uint32_t TedsDetected = 0x2000;
constexpr uint32_t CanBusOff = 0x10000;

// Share of the range above which the warning bit is set.
constexpr double WarningShare = 0.9;
}  // namespace statusbits

struct StatusInputs {
    double gross = 0.0;
    double range = 0.0;  // the range is -range .. +range; beyond it the input is overloaded
    std::array<bool, 4> limitSwitches{};
    bool tareActive = false;
    bool changed = false;
    bool tedsDetected = false;
    bool busOff = false;
    bool sensorBreak = false;
    bool excitationFault = false;
};

uint32_t statusLong(const StatusInputs& inputs);
uint8_t statusShort(const StatusInputs& inputs);
