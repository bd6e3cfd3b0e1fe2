#pragma once
#include "transport/can/lib/SdoAbortCodes.h"

#include <QByteArray>
#include <cstdint>

// What a simulated node's SDO server asks of the node behind it: the object
// dictionary seen as index/sub-index byte blocks. Results are CANopen abort codes
// (0 = accepted). The same calls serve the serial line, which addresses parameters
// by SDO index and sub-index as well.
class SdoTarget {
public:
    virtual ~SdoTarget() = default;
    virtual uint32_t readObject(uint16_t index, uint8_t sub, QByteArray& data) = 0;
    virtual uint32_t writeObject(uint16_t index, uint8_t sub, const QByteArray& data) = 0;
};
