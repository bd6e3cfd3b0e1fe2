#include "sim/amplifier/FaultInjection.h"

void FaultInjection::refuseAll(SimDirection direction, uint32_t abortCode)
{
    (direction == SimDirection::Read ? allReads_ : allWrites_) = abortCode;
}

void FaultInjection::refuseAt(SimDirection direction, ObjectKey key, uint32_t abortCode)
{
    auto& refusals = direction == SimDirection::Read ? reads_ : writes_;
    if (abortCode == 0)
        refusals.erase(key);
    else
        refusals[key] = abortCode;
}

uint32_t FaultInjection::refusal(SimDirection direction, ObjectKey key) const
{
    const uint32_t all = direction == SimDirection::Read ? allReads_ : allWrites_;
    if (all)
        return all;
    const auto& refusals = direction == SimDirection::Read ? reads_ : writes_;
    const auto it = refusals.find(key);
    return it == refusals.end() ? 0 : it->second;
}

void FaultInjection::stickAt(ObjectKey key, const QByteArray& bytes)
{
    if (bytes.isEmpty())
        stuck_.erase(key);
    else
        stuck_[key] = bytes;
}

std::optional<QByteArray> FaultInjection::stuck(ObjectKey key) const
{
    const auto it = stuck_.find(key);
    return it == stuck_.end() ? std::nullopt : std::optional(it->second);
}

void FaultInjection::clear() { *this = FaultInjection(); }
