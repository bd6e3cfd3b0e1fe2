#include "sim/devicenet/SimDeviceNetMaster.h"

#include "core/ResultCodes.h"
#include "sim/amplifier/SimRack.h"
#include "sim/amplifier/ValueCodec.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kLastBaudCode = 2;
constexpr uint8_t kLastMacId = 63;

// The device status for an amplifier's refusal.
int32_t statusOf(int32_t amplifierResult)
{
    switch (amplifierResult) {
    case rc::UnknownOnDevice: return dnetstatus::UnknownAttribute;
    case rc::ReadOnly: return dnetstatus::ReadOnly;
    case rc::AccessDenied: return simdnet::PrivilegeViolation;
    case rc::ValueNotSet: return simdnet::InvalidValue;
    case rc::BufferOverflow: return simdnet::WrongLength;
    case rc::Refused: return simdnet::StateConflict;
    case rc::Timeout: return simdnet::NoAnswer;
    default: return simdnet::ServiceError;
    }
}

bool isSuccess(int32_t status)
{
    return status == dnetstatus::Success || status == dnetstatus::SuccessWithNote;
}

// ParameterReadARR's form of a failure: always negative, the status in the low 8 bits.
int32_t arrayFailure(int32_t status)
{
    return status < 0 ? status : status - 256;
}

}  // namespace

void SimDeviceNetMaster::injectStatus(DeviceNetCall call, int32_t status)
{
    if (status == dnetstatus::Success)
        injected_.erase(call);
    else
        injected_[call] = status;
}

std::optional<int32_t> SimDeviceNetMaster::refusal(DeviceNetCall call) const
{
    const auto it = injected_.find(call);
    if (it == injected_.end() || isSuccess(it->second))
        return std::nullopt;
    return it->second;
}

int32_t SimDeviceNetMaster::success(DeviceNetCall call) const
{
    const auto it = injected_.find(call);
    return it == injected_.end() ? dnetstatus::Success : it->second;
}

SimAmplifier* SimDeviceNetMaster::answering(uint8_t macId, int32_t timeoutMs) const
{
    if (!rack_ || macId > kLastMacId)
        return nullptr;
    SimAmplifier* amplifier = rack_->node(macId);
    if (!amplifier || amplifier->isSilent() || amplifier->answerDelayMs() > timeoutMs)
        return nullptr;
    return amplifier;
}

int32_t SimDeviceNetMaster::initHw(int32_t baudCode)
{
    if (const auto refused = refusal(DeviceNetCall::InitHw))
        return *refused;
    if (baudCode < 0 || baudCode > kLastBaudCode)
        return simdnet::InvalidBaud;
    open_ = true;
    return dnetstatus::Success;
}

int32_t SimDeviceNetMaster::abortHw()
{
    open_ = false;
    devices_.clear();
    return dnetstatus::Success;
}

int32_t SimDeviceNetMaster::initDevice(uint8_t macId, int32_t)
{
    if (const auto refused = refusal(DeviceNetCall::InitDevice))
        return *refused;
    if (!open_)
        return simdnet::NotOpen;
    if (!answering(macId, devicenet::TimeoutMs))
        return simdnet::NoAnswer;
    devices_.insert(macId);
    return dnetstatus::Success;
}

int32_t SimDeviceNetMaster::abortDevice(uint8_t macId)
{
    devices_.erase(macId);
    return dnetstatus::Success;
}

int32_t SimDeviceNetMaster::read(uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute,
                                 int32_t timeoutMs, QByteArray& bytes)
{
    return exchange(DeviceNetCall::Read, macId, timeoutMs, [&](SimAmplifier& amplifier) {
        return amplifier.readByDeviceNet(classId, instance, attribute, bytes);
    });
}

int32_t SimDeviceNetMaster::write(uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute,
                                  int32_t timeoutMs, const QByteArray& bytes)
{
    return exchange(DeviceNetCall::Write, macId, timeoutMs, [&](SimAmplifier& amplifier) {
        return amplifier.writeByDeviceNet(classId, instance, attribute, bytes);
    });
}

int32_t SimDeviceNetMaster::exchange(DeviceNetCall call, uint8_t macId, int32_t timeoutMs,
                                     const std::function<int32_t(SimAmplifier&)>& transfer)
{
    if (const auto refused = refusal(call))
        return *refused;
    if (!open_)
        return simdnet::NotOpen;
    SimAmplifier* amplifier = answering(macId, timeoutMs);
    if (!amplifier)
        return simdnet::NoAnswer;
    const int32_t result = transfer(*amplifier);
    return result < 0 ? statusOf(result) : success(call);
}

int32_t SimDeviceNetMaster::parameterReadInt(uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute,
                                             int32_t& value, int32_t timeoutMs)
{
    QByteArray bytes;
    const int32_t status = read(macId, classId, instance, attribute, timeoutMs, bytes);
    if (!isSuccess(status))
        return status;
    if (bytes.size() > int(sizeof(int32_t)))
        return simdnet::WrongLength;
    value = int32_t(uint32_t(valuecodec::toUnsigned(bytes)));
    return status;
}

int32_t SimDeviceNetMaster::parameterWriteInt(uint8_t macId, uint8_t classId, uint8_t instance,
                                              uint8_t attribute, int32_t size, int32_t value, int32_t timeoutMs)
{
    if (size != 1 && size != 2 && size != 4)
        return simdnet::WrongLength;
    return write(macId, classId, instance, attribute, timeoutMs,
                 valuecodec::fromUnsigned(uint32_t(value), size));
}

int32_t SimDeviceNetMaster::parameterReadArr(uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute,
                                             uint8_t* buffer, int32_t& length, int32_t timeoutMs)
{
    QByteArray bytes;
    const int32_t status = read(macId, classId, instance, attribute, timeoutMs, bytes);
    if (!isSuccess(status))
        return arrayFailure(status);
    length = std::clamp(int32_t(bytes.size()), 0, std::max(length, 0));
    if (length > 0)
        std::memcpy(buffer, bytes.constData(), std::size_t(length));
    return status;
}

int32_t SimDeviceNetMaster::parameterWriteArr(uint8_t macId, uint8_t classId, uint8_t instance,
                                              uint8_t attribute, const uint8_t* buffer, int32_t length,
                                              int32_t timeoutMs)
{
    return write(macId, classId, instance, attribute, timeoutMs,
                 QByteArray(reinterpret_cast<const char*>(buffer), std::max(length, 0)));
}
