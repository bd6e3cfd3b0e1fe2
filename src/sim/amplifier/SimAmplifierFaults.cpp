// Fault injection of the simulated amplifier.
#include "sim/amplifier/SimAmplifier.h"

bool SimAmplifier::isSilent() const
{
    std::lock_guard lock(mutex_);
    return silentLocked();
}

void SimAmplifier::setSilent(bool silent)
{
    std::lock_guard lock(mutex_);
    faults_.silent = silent;
}

bool SimAmplifier::isSilenced() const
{
    std::lock_guard lock(mutex_);
    return faults_.silent;
}

int SimAmplifier::answerDelayMs() const
{
    std::lock_guard lock(mutex_);
    return faults_.answerDelayMs;
}

void SimAmplifier::setAnswerDelay(int ms)
{
    std::lock_guard lock(mutex_);
    faults_.answerDelayMs = ms;
}

void SimAmplifier::refuseAll(SimDirection direction, uint32_t abortCode)
{
    std::lock_guard lock(mutex_);
    faults_.refuseAll(direction, abortCode);
}

void SimAmplifier::refuseAt(SimDirection direction, ObjectKey key, uint32_t abortCode)
{
    std::lock_guard lock(mutex_);
    faults_.refuseAt(direction, key, abortCode);
}

void SimAmplifier::stickAt(ObjectKey key, const QByteArray& bytes)
{
    std::lock_guard lock(mutex_);
    faults_.stickAt(key, bytes);
}

uint8_t SimAmplifier::busStatus() const
{
    std::lock_guard lock(mutex_);
    return faults_.busStatus;
}

void SimAmplifier::setBusStatus(uint8_t status)
{
    std::lock_guard lock(mutex_);
    faults_.busStatus = status;
}

bool SimAmplifier::setDeviceFault(DeviceFault fault, bool active)
{
    std::lock_guard lock(mutex_);
    return active ? faults_.conditions.insert(fault).second : faults_.conditions.erase(fault) > 0;
}

std::set<DeviceFault> SimAmplifier::deviceFaults() const
{
    std::lock_guard lock(mutex_);
    return faults_.conditions;
}

void SimAmplifier::clearFaults()
{
    std::lock_guard lock(mutex_);
    faults_.clear();
}
