#pragma once
#include <QCanBusDevice>
#include <QCanBusFrame>
#include <cstdint>

// How the events of a QCanBusDevice show in the canstatus bits of the library.
uint32_t canStatusOfBusStatus(QCanBusDevice::CanBusStatus status);
uint32_t canStatusOfErrorFrame(const QCanBusFrame& frame);
uint32_t canStatusOfDeviceError(QCanBusDevice::CanBusError error);
