#pragma once
#include <QByteArray>
#include <QString>
#include <cstdint>

#include "transport/can/lib/CanFrame.h"  // the status bits

// The words for a CAN library result and the bus status byte ("" when there are none).
QString CAN_BusStatusText(int32_t result, int32_t status);
// A bus that takes no frame any more.
QString canBusGoneText();
// The text of an SDO abort code given as its bytes, least significant first
// ("" for fewer than 4 bytes).
QString SDO_AbortText(const QByteArray& bytes, int32_t length);
