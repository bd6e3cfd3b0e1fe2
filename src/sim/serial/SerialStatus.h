#pragma once
#include <cstdint>

// The status byte of a serial reply. The line only tells success (0) from failure,
// so refusals are grouped by what the client could do about them:
//   1 unknown object        0x06020000, 0x06090011
//   2 access refused        0x06010000, 0x06010001, 0x06010002
//   3 value refused         0x06090030, 0x06090031, 0x06090032, 0x08000020
//   4 length does not fit   0x06070010, 0x06070012
//   5 not in this state     0x08000022
//   255 any other CANopen abort code
namespace serialstatus {
constexpr uint8_t Ok = 0;
constexpr uint8_t UnknownObject = 1;
constexpr uint8_t AccessRefused = 2;
constexpr uint8_t ValueRefused = 3;
constexpr uint8_t LengthMismatch = 4;
constexpr uint8_t WrongState = 5;
constexpr uint8_t Other = 255;
}  // namespace serialstatus

uint8_t serialStatus(uint32_t abortCode);
