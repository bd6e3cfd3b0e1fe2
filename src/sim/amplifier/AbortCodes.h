#pragma once
#include "sim/SdoTarget.h"

// CiA 301 abort codes the simulated amplifier answers beyond those its clients name.
namespace sdoabort {
constexpr uint32_t UnsupportedAccess = 0x06010000;
constexpr uint32_t NotMappable = 0x06040041;
constexpr uint32_t MappingTooLong = 0x06040042;
constexpr uint32_t LengthTooHigh = 0x06070012;
constexpr uint32_t CannotStore = 0x08000020;
}  // namespace sdoabort
