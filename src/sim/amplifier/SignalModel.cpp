#include "sim/amplifier/SignalModel.h"

#include <cmath>
#include <numbers>

double SignalModel::noiseAt(int64_t ms)
{
    // splitmix64 of the time: cheap, well mixed and the same on every run.
    uint64_t z = static_cast<uint64_t>(ms) + 0x9E3779B97F4A7C15ULL;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    z ^= z >> 31;
    return static_cast<double>(z >> 11) / static_cast<double>(1ULL << 52) - 1.0;
}

double SignalModel::input(int64_t ms) const
{
    const double phase =
        settings_.periodMs > 0 ? 2.0 * std::numbers::pi * static_cast<double>(ms) / settings_.periodMs : 0.0;
    return settings_.load + settings_.amplitude * std::sin(phase) + settings_.noise * noiseAt(ms);
}
