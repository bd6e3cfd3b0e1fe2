// DPV1 and DeviceNet access of the simulated amplifier: the same entries and
// checks as SDO, with the result codes of FieldbusResult.
#include "core/ResultCodes.h"
#include "sim/amplifier/FieldbusResult.h"
#include "sim/amplifier/SimAmplifier.h"

int32_t SimAmplifier::fieldbusRead(std::optional<ObjectKey> key, QByteArray& bytes, uint32_t* abortCode)
{
    const uint32_t abort = key ? readLocked(*key, bytes) : sdoabort::NoObject;
    if (abortCode)
        *abortCode = abort;
    return abort ? fieldbusResult(abort) : static_cast<int32_t>(bytes.size());
}

int32_t SimAmplifier::fieldbusWrite(std::optional<ObjectKey> key, const QByteArray& bytes, uint32_t* abortCode)
{
    const uint32_t abort = key ? writeLocked(*key, bytes) : sdoabort::NoObject;
    if (abortCode)
        *abortCode = abort;
    return fieldbusResult(abort);
}

int32_t SimAmplifier::readByDpv1(uint8_t slot, uint8_t index, QByteArray& bytes, uint32_t* abortCode)
{
    std::lock_guard lock(mutex_);
    return fieldbusRead(dictionary_.keyOf(Dpv1Address{slot, index}), bytes, abortCode);
}

int32_t SimAmplifier::writeByDpv1(uint8_t slot, uint8_t index, const QByteArray& bytes, uint32_t* abortCode)
{
    std::lock_guard lock(mutex_);
    return fieldbusWrite(dictionary_.keyOf(Dpv1Address{slot, index}), bytes, abortCode);
}

int32_t SimAmplifier::readByDeviceNet(uint8_t classId, uint8_t instance, uint8_t attribute, QByteArray& bytes,
                                      uint32_t* abortCode)
{
    std::lock_guard lock(mutex_);
    return fieldbusRead(dictionary_.keyOf(DeviceNetAddress{classId, instance, attribute}), bytes, abortCode);
}

int32_t SimAmplifier::writeByDeviceNet(uint8_t classId, uint8_t instance, uint8_t attribute, const QByteArray& bytes,
                                       uint32_t* abortCode)
{
    std::lock_guard lock(mutex_);
    return fieldbusWrite(dictionary_.keyOf(DeviceNetAddress{classId, instance, attribute}), bytes, abortCode);
}
