#include "transport/can/lib/CanFrame.h"
#include "transport/can/lib/QtCanStatusBits.h"

#include <gtest/gtest.h>

namespace {

QCanBusFrame errorFrame(QCanBusFrame::FrameErrors errors, uint8_t controller)
{
    QCanBusFrame frame(QCanBusFrame::ErrorFrame);
    frame.setError(errors);
    frame.setPayload(QByteArray("\0", 1) + char(controller) + QByteArray(6, '\0'));
    return frame;
}

TEST(QtCanStatusBits, ErrorFramesSetTheBitsOfTheControllerState)
{
    struct Case {
        QCanBusFrame::FrameErrors errors;
        uint8_t controller;
        uint32_t bits;
    };
    const Case cases[] = {
        {QCanBusFrame::ControllerError, 0x01, canstatus::BufferOverflow},
        {QCanBusFrame::ControllerError, 0x02, canstatus::BufferOverflow},
        {QCanBusFrame::ControllerError, 0x08, canstatus::BusLight},
        {QCanBusFrame::ControllerError, 0x10, canstatus::BusHeavy},
        {QCanBusFrame::ControllerError, 0x24, canstatus::BusHeavy | canstatus::BusLight},
        {QCanBusFrame::ControllerError, 0x40, 0},
        {QCanBusFrame::BusOffError, 0x00, canstatus::BusOff},
        {QCanBusFrame::BusOffError | QCanBusFrame::ControllerError, 0x01,
         canstatus::BusOff | canstatus::BufferOverflow},
        {QCanBusFrame::LostArbitrationError, 0x10, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(canStatusOfErrorFrame(errorFrame(c.errors, c.controller)), c.bits) << int(c.controller);
    EXPECT_EQ(canStatusOfErrorFrame(QCanBusFrame(0x581, QByteArray(8, '\x10'))), 0u);
}

}  // namespace
