#include "core/WaitPump.h"

#include <algorithm>
#include <chrono>

namespace {
thread_local std::function<void()> threadPump;
}

namespace waitpump {

void install(std::function<void()> pump) { threadPump = std::move(pump); }

bool sliced(int timeoutMs, const std::function<bool(int ms)>& waitSlice, const std::function<void()>& beforePump,
            const std::function<void()>& afterPump)
{
    if (!threadPump)
        return waitSlice(std::max(timeoutMs, 0));
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        // Rounded up: the last slice must reach the deadline, not stop short of it.
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (waitSlice(int(std::clamp<long long>(left, 0, SliceMs))))
            return true;
        if (left <= SliceMs)
            return false;
        if (beforePump)
            beforePump();
        threadPump();
        if (afterPump)
            afterPump();
    }
}

}  // namespace waitpump
