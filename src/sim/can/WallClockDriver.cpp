#include "sim/can/WallClockDriver.h"

#include <chrono>

WallClockDriver::WallClockDriver(InProcessCanBus& bus) : bus_(bus), thread_([this] { run(); }) {}

WallClockDriver::~WallClockDriver()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void WallClockDriver::run()
{
    using Clock = std::chrono::steady_clock;
    auto last = Clock::now();
    std::unique_lock lock(mutex_);
    while (!wake_.wait_for(lock, std::chrono::milliseconds(StepMs), [this] { return stopping_; })) {
        lock.unlock();
        const auto now = Clock::now();
        const auto stepMs = std::chrono::duration_cast<std::chrono::milliseconds>(now - last).count();
        last += std::chrono::milliseconds(stepMs);   // the rest of a millisecond counts next time
        bus_.advanceTo(bus_.clock().nowMs() + stepMs);
        lock.lock();
    }
}
