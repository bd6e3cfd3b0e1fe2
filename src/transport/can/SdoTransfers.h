#pragma once
#include <QByteArray>
#include <cstdint>
#include <cstring>

#include "transport/can/lib/CanLibrary.h"

// Plain CANopen transfers: one upload or download each, the library's result.

// Reads exactly sizeof(T) bytes into value (an integer or a float); on failure the
// value is left as it was.
template <typename T>
[[nodiscard]]
int32_t SDO_ReadValue(CanLibrary& can, uint8_t node, uint16_t index, uint8_t sub, T& value)
{
    uint8_t buffer[sizeof(T)] = {};
    int32_t length = sizeof(T);
    const int32_t result = can.upload(node, index, sub, buffer, length);
    if (result < 0)
        return result;
    std::memcpy(&value, buffer, sizeof(T));  // little-endian on the bus and here
    return 0;
}

template <typename T>
[[nodiscard]]
int32_t SDO_WriteValue(CanLibrary& can, uint8_t node, uint16_t index, uint8_t sub, T value)
{
    uint8_t buffer[sizeof(T)];
    std::memcpy(buffer, &value, sizeof(T));
    return can.download(node, index, sub, buffer, sizeof(T));
}

// Reads into bytes: length in the capacity wanted, out what came.
[[nodiscard]]
int32_t SDO_ReadBytes(CanLibrary& can, uint8_t node, uint16_t index, uint8_t sub, QByteArray& bytes,
                      int32_t& length);
[[nodiscard]]
int32_t SDO_WriteBytes(CanLibrary& can, uint8_t node, uint16_t index, uint8_t sub,
                       const QByteArray& bytes);
