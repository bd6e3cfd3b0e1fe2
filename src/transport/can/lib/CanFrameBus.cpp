#include "transport/can/lib/CanFrameBus.h"

#include <vector>

bool CanFrameBus::isNodeAbsent(uint8_t) const
{
    return false;
}

void CanFrameBus::sendAfter(const CanFrame& frame, int delayMs)
{
    runAfter(delayMs, [this, frame] { send(frame); });
}

CanFrameBus::ListenerId CanFrameBus::addListener(Listener listener)
{
    return add({std::move(listener), std::nullopt});
}

CanFrameBus::ListenerId CanFrameBus::addServer(uint8_t node, Listener listener)
{
    return add({std::move(listener), node});
}

CanFrameBus::ListenerId CanFrameBus::add(Entry entry)
{
    std::lock_guard lock(registryMutex_);
    ListenerId id = nextId_++;
    listeners_.emplace(id, std::move(entry));
    return id;
}

void CanFrameBus::removeListener(ListenerId id)
{
    {
        std::lock_guard lock(registryMutex_);
        listeners_.erase(id);
    }
    // Waits for a delivery running on another thread, which may still hold a copy.
    std::lock_guard delivering(deliveryMutex_);
}

void CanFrameBus::deliver(const CanFrame& frame)
{
    std::lock_guard delivering(deliveryMutex_);
    std::vector<std::pair<ListenerId, Listener>> targets;
    {
        std::lock_guard lock(registryMutex_);
        for (const auto& [id, entry] : listeners_)
            targets.emplace_back(id, entry.listener);
    }
    for (const auto& [id, listener] : targets) {
        bool stillThere;
        {
            std::lock_guard lock(registryMutex_);
            stillThere = listeners_.count(id) != 0;
        }
        if (stillThere)
            listener(frame);
    }
}

bool CanFrameBus::isServed(uint8_t node) const
{
    std::lock_guard lock(registryMutex_);
    for (const auto& [id, entry] : listeners_) {
        if (entry.servedNode == node)
            return true;
    }
    return false;
}
