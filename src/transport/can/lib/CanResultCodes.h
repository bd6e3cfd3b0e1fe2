#pragma once
#include <cstdint>

// Results of the CAN library that the shared result codes do not name yet.
namespace rc {
constexpr int32_t CanAlreadyOnOtherNet = -7;   // the library is connected to another net
constexpr int32_t CanNoSuchNet = -16510;       // hardware or net does not exist
}  // namespace rc
