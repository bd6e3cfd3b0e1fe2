#include "sim/amplifier/FieldbusResult.h"

#include "core/ResultCodes.h"
#include "sim/SdoTarget.h"

int32_t fieldbusResult(uint32_t abortCode)
{
    switch (abortCode) {
    case 0:
        return rc::Ok;
    case sdoabort::NoObject:
    case sdoabort::NoSubIndex:
        return rc::UnknownOnDevice;
    case sdoabort::ReadOnly:
        return rc::ReadOnly;
    case sdoabort::WriteOnly:
    case sdoabort::UnsupportedAccess:
        return rc::AccessDenied;
    case sdoabort::ValueRange:
    case sdoabort::ValueTooHigh:
    case sdoabort::ValueTooLow:
    case sdoabort::CannotStore:
        return rc::ValueNotSet;
    case sdoabort::LengthMismatch:
    case sdoabort::LengthTooHigh:
        return rc::BufferOverflow;
    case sdoabort::DeviceState:
        return rc::Refused;
    case sdoabort::Timeout:
        return rc::Timeout;
    default:
        return rc::AccessDenied;
    }
}
