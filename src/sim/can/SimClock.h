#pragma once
#include <cstdint>
#include <functional>

// A time source for simulated amplifiers that runs with the wall clock: milliseconds
// since the call, on a monotonic clock.
std::function<int64_t()> elapsedTimeSource();
