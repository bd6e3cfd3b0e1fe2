#include "transport/can/lib/CanClock.h"

#include "core/WaitPump.h"

#include <algorithm>
#include <chrono>

using SteadyMs = std::chrono::time_point<std::chrono::steady_clock, std::chrono::milliseconds>;

int64_t SteadyCanClock::nowMs()
{
    return std::chrono::time_point_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now())
        .time_since_epoch()
        .count();
}

bool SteadyCanClock::waitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv,
                               int64_t deadlineMs, const std::function<bool()>& ready)
{
    const auto waitSlice = [&](int ms) {
        const int64_t until = std::min(deadlineMs, nowMs() + ms);
        return cv.wait_until(lock, SteadyMs(std::chrono::milliseconds(until)), ready);
    };
    return waitpump::sliced(int(deadlineMs - nowMs()), waitSlice, [&] { lock.unlock(); }, [&] { lock.lock(); });
}
