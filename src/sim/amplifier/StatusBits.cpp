#include "sim/amplifier/StatusBits.h"

#include <cmath>

uint32_t statusLong(const StatusInputs& inputs)
{
    uint32_t status = 0;
    if (inputs.gross > inputs.range)
        status |= statusbits::AboveRange;
    if (inputs.gross < -inputs.range)
        status |= statusbits::BelowRange;
    if (inputs.tedsUnreadable)
        status |= statusbits::TedsUnreadable;
    return status;
}

uint8_t statusShort(const StatusInputs& inputs)
{
    uint8_t status = 0;
    const double magnitude = std::fabs(inputs.gross);
    if (magnitude > inputs.range)
        status |= statusbits::Error;
    if (magnitude > statusbits::WarningShare * inputs.range)
        status |= statusbits::Warning;
    for (std::size_t i = 0; i < inputs.limitSwitches.size(); ++i) {
        if (inputs.limitSwitches[i])
            status |= static_cast<uint8_t>(statusbits::FirstLimitSwitch << i);
    }
    return status;
}
