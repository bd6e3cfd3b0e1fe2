#pragma once
#include <cstdint>

// The result code a DPV1 or DeviceNet access reports for the CANopen abort code
// of the same refusal (0 gives rc::Ok).
[[nodiscard]] int32_t fieldbusResult(uint32_t abortCode);
