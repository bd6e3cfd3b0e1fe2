#pragma once
#include "transport/devicenet/DeviceNetLibrary.h"

#include <QByteArray>
#include <functional>
#include <map>
#include <optional>
#include <set>

class SimAmplifier;
class SimRack;

// Library calls, grouped for injected statuses.
enum class DeviceNetCall { InitHw, InitDevice, Read, Write };

// Results of the simulated master besides the dnetstatus ones.
namespace simdnet {
// Device statuses (DeviceNet general status codes).
constexpr int32_t InvalidValue = 0x09;
constexpr int32_t StateConflict = 0x0C;
constexpr int32_t PrivilegeViolation = 0x0F;
constexpr int32_t WrongLength = 0x15;
constexpr int32_t ServiceError = 0x1E;
// The master's own failures; their low 8 bits are no status the program knows.
constexpr int32_t NoAnswer = -2;
constexpr int32_t NotOpen = -3;
constexpr int32_t InvalidBaud = -4;
}  // namespace simdnet

// A simulated DeviceNet master on one bus with the amplifiers of a rack: the device
// at MAC ID m is the amplifier of node ID m; an attribute is the amplifier's entry at
// that class, instance and attribute, its numbers least significant byte first.
// Transfers need InitHW first and answer with a device status: 0, 4 (write to a
// read-only attribute), 203 (unknown attribute) or a simdnet status; a device that does
// not answer (none there, silent, or later than the time-out) gives NoAnswer at once.
// ParameterReadARR reports a status s as the negative s - 256 (low 8 bits s).
// Window thread only.
class SimDeviceNetMaster : public DeviceNetLibrary {
public:
    // The rack outlives the master; null is an empty bus.
    explicit SimDeviceNetMaster(SimRack* rack) : rack_(rack) {}

    // Every later call of that kind is answered with `status` (0 lifts it). A success
    // status (1) still carries the transfer out; any other refuses it.
    void injectStatus(DeviceNetCall call, int32_t status);
    bool isOpen() const { return open_; }
    bool isDeviceOpen(uint8_t macId) const { return devices_.count(macId) != 0; }

    [[nodiscard]] int32_t initHw(int32_t baudCode) override;
    [[nodiscard]] int32_t abortHw() override;
    [[nodiscard]] int32_t initDevice(uint8_t macId, int32_t flags) override;
    [[nodiscard]] int32_t abortDevice(uint8_t macId) override;
    [[nodiscard]]
    int32_t parameterReadInt(uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute, int32_t& value,
                             int32_t timeoutMs) override;
    [[nodiscard]]
    int32_t parameterWriteInt(uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute, int32_t size,
                              int32_t value, int32_t timeoutMs) override;
    [[nodiscard]]
    int32_t parameterReadArr(uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute, uint8_t* buffer,
                             int32_t& length, int32_t timeoutMs) override;
    [[nodiscard]]
    int32_t parameterWriteArr(uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute,
                              const uint8_t* buffer, int32_t length, int32_t timeoutMs) override;

private:
    // The injected refusal of a call, if any.
    std::optional<int32_t> refusal(DeviceNetCall call) const;
    // A successful transfer's status: 0, or the injected success status.
    [[nodiscard]] int32_t success(DeviceNetCall call) const;
    SimAmplifier* answering(uint8_t macId, int32_t timeoutMs) const;
    // One read or write of an attribute: the injected refusal, the open interface and
    // an answering device first, then the amplifier's result as a DeviceNet status.
    [[nodiscard]]
    int32_t exchange(DeviceNetCall call, uint8_t macId, int32_t timeoutMs,
                     const std::function<int32_t(SimAmplifier&)>& transfer);
    // The status of a read or write, and for a read its bytes.
    [[nodiscard]]
    int32_t read(uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute, int32_t timeoutMs,
                 QByteArray& bytes);
    [[nodiscard]]
    int32_t write(uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute, int32_t timeoutMs,
                  const QByteArray& bytes);

    SimRack* rack_;
    bool open_ = false;
    std::set<uint8_t> devices_;
    std::map<DeviceNetCall, int32_t> injected_;
};
