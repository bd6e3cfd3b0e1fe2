#include "sim/amplifier/StatusBits.h"

#include <cmath>
#include <utility>

namespace {

bool overloaded(const StatusInputs& inputs) { return std::fabs(inputs.gross) > inputs.range; }

// A broken sensor or a failing excitation leaves no valid value.
bool invalid(const StatusInputs& inputs) { return overloaded(inputs) || inputs.sensorBreak || inputs.excitationFault; }

template <typename Word>
Word limitBits(const StatusInputs& inputs, Word first)
{
    Word bits = 0;
    for (std::size_t i = 0; i < inputs.limitSwitches.size(); ++i) {
        if (inputs.limitSwitches[i])
            bits |= static_cast<Word>(first << i);
    }
    return bits;
}

}  // namespace

uint32_t statusLong(const StatusInputs& inputs)
{
    const std::pair<bool, uint32_t> flags[] = {
        {invalid(inputs), statusbits::MeasurementError},
        {overloaded(inputs), statusbits::InputOverload},
        {inputs.excitationFault, statusbits::SupplyFault},
        {inputs.gross > inputs.range, statusbits::AboveRange},
        {inputs.gross < -inputs.range, statusbits::BelowRange},
        {inputs.sensorBreak, statusbits::SensorBreak},
        {inputs.tareActive, statusbits::TareActiveLong},
        {inputs.changed, statusbits::ConfigurationChanged},
        {inputs.tedsDetected, statusbits::TedsDetected},
        {inputs.busOff, statusbits::CanBusOff},
    };
    uint32_t status = limitBits<uint32_t>(inputs, statusbits::FirstLimitSwitchLong);
    for (const auto& [on, bit] : flags) {
        if (on)
            status |= bit;
    }
    return status;
}

uint8_t statusShort(const StatusInputs& inputs)
{
    uint8_t status = limitBits<uint8_t>(inputs, statusbits::FirstLimitSwitch);
    if (invalid(inputs))
        status |= statusbits::Error;
    if (overloaded(inputs))
        status |= statusbits::Overload;
    if (std::fabs(inputs.gross) > statusbits::WarningShare * inputs.range)
        status |= statusbits::Warning;
    if (inputs.tareActive)
        status |= statusbits::TareActive;
    return status;
}
