#pragma once
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

// The time base of SDO time-outs. A bus on real hardware runs on the steady clock;
// the in-process bus runs on virtual time, so that waiting for a silent node costs
// a test nothing.
class CanClock {
public:
    virtual ~CanClock() = default;
    virtual int64_t nowMs() = 0;
    // Waits, with `lock` held on entry and exit, until `ready` holds or the clock
    // reaches `deadlineMs`; returns `ready()`. Whoever makes `ready` true notifies `cv`.
    virtual bool waitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv,
                           int64_t deadlineMs, const std::function<bool()>& ready) = 0;
};

class SteadyCanClock final : public CanClock {
public:
    int64_t nowMs() override;
    bool waitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv,
                   int64_t deadlineMs, const std::function<bool()>& ready) override;
};
