#include "transport/can/events/ErrorHistory.h"

#include "core/ResultCodes.h"
#include "transport/can/lib/CanLibrary.h"

#include <algorithm>

namespace {
int32_t readUnsigned(CanLibrary& can, uint8_t node, uint8_t sub, uint32_t& value)
{
    uint8_t bytes[4] = {};
    int32_t length = sizeof bytes;
    const int32_t result = can.upload(node, ErrorHistoryIndex, sub, bytes, length);
    if (result < 0)
        return result;
    value = 0;
    for (int i = 0; i < std::min(length, 4); ++i)
        value |= uint32_t(bytes[i]) << (8 * i);
    return rc::Ok;
}
}  // namespace

int32_t readErrorHistory(CanLibrary& can, uint8_t node, std::vector<uint32_t>& errors)
{
    errors.clear();
    uint32_t count = 0;
    if (const int32_t result = readUnsigned(can, node, 0, count); result < 0)
        return result;
    for (uint32_t sub = 1; sub <= std::min<uint32_t>(count, ErrorHistoryMax); ++sub) {
        uint32_t entry = 0;
        if (const int32_t result = readUnsigned(can, node, uint8_t(sub), entry); result < 0)
            return result;
        errors.push_back(entry);
    }
    return rc::Ok;
}
