#pragma once
#include <cstdint>

// Error codes of the PROFIBUS library; DPV1_ErrorText has their texts.
namespace rc {
constexpr int32_t ProfibusInvalidType = -16001;
constexpr int32_t ProfibusDriverUnavailable = -16002;
constexpr int32_t ProfibusBoardNotAvailable = -16003;
constexpr int32_t ProfibusInvalidBoard = -16004;
constexpr int32_t ProfibusDriverNotInstalled = -16005;
constexpr int32_t ProfibusSlaveHasNoOutput = -16006;
constexpr int32_t ProfibusNoCommunication = -16007;
constexpr int32_t ProfibusTimeout = -16008;
constexpr int32_t ProfibusMallocError = -16009;
constexpr int32_t ProfibusAutoClearError = -16010;
constexpr int32_t ProfibusSlaveNotReady = -16011;
}  // namespace rc
