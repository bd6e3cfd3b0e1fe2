#include "sim/amplifier/StatusBits.h"

#include <cmath>

namespace {

bool overloaded(const StatusInputs& inputs) { return std::fabs(inputs.gross) > inputs.range; }

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
    uint32_t status = limitBits<uint32_t>(inputs, statusbits::FirstLimitSwitchLong);
    if (overloaded(inputs))
        status |= statusbits::MeasurementError | statusbits::InputOverload;
    if (inputs.gross > inputs.range)
        status |= statusbits::AboveRange;
    if (inputs.gross < -inputs.range)
        status |= statusbits::BelowRange;
    if (inputs.tareActive)
        status |= statusbits::TareActiveLong;
    if (inputs.changed)
        status |= statusbits::ConfigurationChanged;
    if (inputs.tedsDetected)
        status |= statusbits::TedsDetected;
    if (inputs.busOff)
        status |= statusbits::CanBusOff;
    return status;
}

uint8_t statusShort(const StatusInputs& inputs)
{
    uint8_t status = limitBits<uint8_t>(inputs, statusbits::FirstLimitSwitch);
    if (overloaded(inputs))
        status |= statusbits::Error | statusbits::Overload;
    if (std::fabs(inputs.gross) > statusbits::WarningShare * inputs.range)
        status |= statusbits::Warning;
    if (inputs.tareActive)
        status |= statusbits::TareActive;
    return status;
}
