#pragma once
#include <cstdint>

// Result codes of every device, document and transport operation.
// 0 success, positive success with a note, negative failure.
namespace rc {
constexpr int32_t Ok = 0;
constexpr int32_t Created = 1;          // the addressed document element was created
constexpr int32_t ReloadComplete = 2;   // skipped by a check, or reload the whole configuration
constexpr int32_t Declined = 3;         // the user declined a confirmation

constexpr int32_t Failed = -1;
constexpr int32_t UnknownInterface = -2;
constexpr int32_t NoInterface = -3;
constexpr int32_t NoDevice = -4;
constexpr int32_t NotSupported = -5;
constexpr int32_t MissingDocument = -6;
constexpr int32_t Refused = -7;
constexpr int32_t UnknownInDescription = -8;
constexpr int32_t UnknownInConfiguration = -9;
constexpr int32_t Timeout = -10;
constexpr int32_t BufferOverflow = -13;
constexpr int32_t ValueNotSet = -100;
constexpr int32_t ReadOnly = -101;
constexpr int32_t AccessDenied = -102;
constexpr int32_t UnknownOnDevice = -103;

// Codes of the CAN library.
constexpr int32_t CanTimeout = -16501;
constexpr int32_t CanOutOfMemory = -16502;
constexpr int32_t CanSdoAbort = -16503;
constexpr int32_t CanBusHeavy = -16508;
constexpr int32_t CanAlreadyOnOtherNet = -7;  // the library is connected to another net
constexpr int32_t CanNoSuchNet = -16510;      // hardware or net does not exist
constexpr int32_t CanBusGone = -16511;        // the bus takes no frame: adapter unplugged, net gone, bus off
}  // namespace rc
