#pragma once
#include <cstdint>
#include <vector>

class CanLibrary;

// The node's pre-defined error field (0x1003): its errors, newest first, each the
// EMCY error code in the low 16 bits and the maker's information above. Result: 0, or
// the failed read's (a node without the object answers an SDO abort).
int32_t readErrorHistory(CanLibrary& can, uint8_t node, std::vector<uint32_t>& errors);

constexpr uint16_t ErrorHistoryIndex = 0x1003;
constexpr uint8_t ErrorHistoryMax = 254;
