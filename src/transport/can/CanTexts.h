#pragma once
#include <QByteArray>
#include <QString>
#include <cstdint>

// Bits of the CAN bus status byte.
namespace canstatus {
constexpr int32_t BufferOverflow = 0x02;
constexpr int32_t BusLight = 0x04;
constexpr int32_t BusHeavy = 0x08;
constexpr int32_t BusOff = 0x10;
}  // namespace canstatus

// The words for a CAN library result and the bus status byte ("" when there are none).
QString CAN_BusStatusText(int32_t result, int32_t status);
// The text of an SDO abort code given as its bytes, least significant first
// ("" for fewer than 4 bytes).
QString SDO_AbortText(const QByteArray& bytes, int32_t length);
