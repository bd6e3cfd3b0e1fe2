#pragma once
#include <cstdint>

namespace devicenet {
// Every transfer of the program waits this long; the scan's probes less.
constexpr int32_t TimeoutMs = 3000;
constexpr int32_t ScanTimeoutMs = 100;
constexpr uint8_t LastScannedMacId = 62;  // 63 is left to a device still at its default
constexpr int32_t StringBufferSize = 256;
}  // namespace devicenet

// Device statuses the program gives a meaning to; any other passes as it is.
namespace dnetstatus {
constexpr int32_t Success = 0;
constexpr int32_t SuccessWithNote = 1;
constexpr int32_t ReadOnly = 4;
constexpr int32_t UnknownAttribute = 203;
}  // namespace dnetstatus

// The DeviceNet master library: explicit messaging to devices by MAC ID, class,
// instance and attribute. Transfers return the device's status (dnetstatus; a
// negative result carries it in its low 8 bits), except parameterReadArr: negative
// failure, else the length holds the bytes read. Window thread only.
class DeviceNetLibrary {
public:
    virtual ~DeviceNetLibrary() = default;

    // InitHW / AbortHW: open the interface at a baud code (0 500k, 1 250k, 2 125k); >= 0 open.
    [[nodiscard]] virtual int32_t initHw(int32_t baudCode) = 0;
    [[nodiscard]] virtual int32_t abortHw() = 0;
    // InitDevice / AbortDevice: the connection to one device; >= 0 open.
    [[nodiscard]] virtual int32_t initDevice(uint8_t macId, int32_t flags) = 0;
    [[nodiscard]] virtual int32_t abortDevice(uint8_t macId) = 0;

    // ParameterReadINT: up to 4 bytes, least significant first, into value.
    [[nodiscard]]
    virtual int32_t parameterReadInt(uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute,
                                     int32_t& value, int32_t timeoutMs) = 0;
    // ParameterWriteINT: the low `size` (1, 2 or 4) bytes of value.
    [[nodiscard]]
    virtual int32_t parameterWriteInt(uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute,
                                      int32_t size, int32_t value, int32_t timeoutMs) = 0;
    // ParameterReadARR: up to `length` bytes; length becomes the bytes read.
    [[nodiscard]]
    virtual int32_t parameterReadArr(uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute,
                                     uint8_t* buffer, int32_t& length, int32_t timeoutMs) = 0;
    // ParameterWriteARR.
    [[nodiscard]]
    virtual int32_t parameterWriteArr(uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute,
                                      const uint8_t* buffer, int32_t length, int32_t timeoutMs) = 0;
};
