#include "sim/serial/SerialStatus.h"

#include "sim/SdoTarget.h"

uint8_t serialStatus(uint32_t abortCode)
{
    switch (abortCode) {
    case 0:
        return serialstatus::Ok;
    case sdoabort::NoObject:
    case sdoabort::NoSubIndex:
        return serialstatus::UnknownObject;
    case sdoabort::UnsupportedAccess:
    case sdoabort::WriteOnly:
    case sdoabort::ReadOnly:
        return serialstatus::AccessRefused;
    case sdoabort::ValueRange:
    case sdoabort::ValueTooHigh:
    case sdoabort::ValueTooLow:
    case sdoabort::CannotStore:
        return serialstatus::ValueRefused;
    case sdoabort::LengthMismatch:
    case sdoabort::LengthTooHigh:
        return serialstatus::LengthMismatch;
    case sdoabort::DeviceState:
        return serialstatus::WrongState;
    default:
        return serialstatus::Other;
    }
}
