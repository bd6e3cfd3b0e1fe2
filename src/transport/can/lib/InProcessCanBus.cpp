#include "transport/can/lib/InProcessCanBus.h"

#include <algorithm>

class InProcessCanBus::VirtualClock final : public CanClock {
public:
    explicit VirtualClock(InProcessCanBus& bus) : bus_(bus) {}

    int64_t nowMs() override
    {
        std::lock_guard lock(bus_.mutex_);
        return bus_.nowMs_;
    }

    // Nothing happens on this bus unless a frame is due, so instead of sleeping the
    // clock runs the due frames in order and otherwise jumps to the deadline.
    bool waitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable&, int64_t deadlineMs,
                   const std::function<bool()>& ready) override
    {
        while (!ready()) {
            lock.unlock();
            bool delivered = bus_.runNextDue(deadlineMs);
            lock.lock();
            if (!delivered)
                return ready();
        }
        return true;
    }

private:
    InProcessCanBus& bus_;
};

InProcessCanBus::InProcessCanBus() : clock_(std::make_unique<VirtualClock>(*this)) {}

InProcessCanBus::~InProcessCanBus() = default;

bool InProcessCanBus::send(const CanFrame& frame)
{
    std::lock_guard driving(driving_);
    {
        std::lock_guard lock(mutex_);
        if (status_ & canstatus::BusOff)
            return false;
        pending_.push_back(frame);
        if (pumping_)
            return true;
        pumping_ = true;
    }
    pump();
    return true;
}

void InProcessCanBus::pump()
{
    for (;;) {
        CanFrame frame;
        {
            std::lock_guard lock(mutex_);
            if (pending_.empty()) {
                pumping_ = false;
                return;
            }
            frame = pending_.front();
            pending_.pop_front();
        }
        deliver(frame);
    }
}

void InProcessCanBus::runAfter(int delayMs, std::function<void()> task)
{
    std::lock_guard lock(mutex_);
    scheduled_.emplace(nowMs_ + std::max(delayMs, 0), std::move(task));
}

void InProcessCanBus::advanceTo(int64_t ms)
{
    while (runNextDue(ms)) {
    }
}

bool InProcessCanBus::runNextDue(int64_t deadlineMs)
{
    std::lock_guard driving(driving_);
    std::function<void()> task;
    {
        std::lock_guard lock(mutex_);
        auto next = scheduled_.begin();
        if (next == scheduled_.end() || next->first > deadlineMs) {
            nowMs_ = std::max(nowMs_, deadlineMs);
            return false;
        }
        nowMs_ = std::max(nowMs_, next->first);
        task = std::move(next->second);
        scheduled_.erase(next);
    }
    task();
    return true;
}

uint32_t InProcessCanBus::status() const
{
    return status_;
}

void InProcessCanBus::reset()
{
    status_ = 0;
}

void InProcessCanBus::setStatus(uint32_t bits)
{
    status_ = bits;
}

CanClock& InProcessCanBus::clock()
{
    return *clock_;
}

bool InProcessCanBus::isNodeAbsent(uint8_t node) const
{
    return !isServed(node);
}
