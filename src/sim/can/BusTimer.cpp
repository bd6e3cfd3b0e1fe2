#include "sim/can/BusTimer.h"

void BusTimer::start(int delayMs, std::function<void()> task)
{
    std::lock_guard lock(pending_->mutex);
    const uint64_t generation = ++pending_->generation;
    bus_.runAfter(delayMs, [weak = std::weak_ptr(pending_), generation, task = std::move(task)] {
        const std::shared_ptr<Pending> pending = weak.lock();
        if (!pending)
            return;
        std::lock_guard lock(pending->mutex);
        if (pending->generation == generation)
            task();
    });
}

void BusTimer::stop()
{
    std::lock_guard lock(pending_->mutex);
    ++pending_->generation;
}
