#include "transport/can/lib/QtCanStatusBits.h"

#include "transport/can/lib/CanFrame.h"

namespace {
// Controller state flags in byte 1 of a controller error frame (Linux can/error.h).
constexpr uint8_t OverflowFlags = 0x01 | 0x02;   // receive, transmit buffer overflow
constexpr uint8_t WarningFlags = 0x04 | 0x08;    // receive, transmit error warning
constexpr uint8_t PassiveFlags = 0x10 | 0x20;    // receive, transmit error passive
}  // namespace

uint32_t canStatusOfBusStatus(QCanBusDevice::CanBusStatus status)
{
    switch (status) {
    case QCanBusDevice::CanBusStatus::Warning:
        return canstatus::BusLight;
    case QCanBusDevice::CanBusStatus::Error:
        return canstatus::BusHeavy;
    case QCanBusDevice::CanBusStatus::BusOff:
        return canstatus::BusOff;
    default:
        return 0;
    }
}

uint32_t canStatusOfErrorFrame(const QCanBusFrame& frame)
{
    if (frame.frameType() != QCanBusFrame::ErrorFrame)
        return 0;
    uint32_t bits = 0;
    if (frame.error() & QCanBusFrame::BusOffError)
        bits |= canstatus::BusOff;
    QByteArray payload = frame.payload();
    if ((frame.error() & QCanBusFrame::ControllerError) && payload.size() > 1) {
        auto controller = uint8_t(payload[1]);
        if (controller & OverflowFlags)
            bits |= canstatus::BufferOverflow;
        if (controller & WarningFlags)
            bits |= canstatus::BusLight;
        if (controller & PassiveFlags)
            bits |= canstatus::BusHeavy;
    }
    return bits;
}

uint32_t canStatusOfDeviceError(QCanBusDevice::CanBusError error)
{
    switch (error) {
    case QCanBusDevice::WriteError:
        return canstatus::BufferOverflow;
    case QCanBusDevice::ConnectionError:
        return canstatus::BusOff;
    default:
        return 0;
    }
}
