#pragma once
#include <cstdint>

struct SignalSettings {
    double load = 0.4;          // mean input value
    double amplitude = 0.02;    // peak of the slow sine around the load
    double periodMs = 20000.0;  // period of the sine
    double noise = 0.0005;      // peak of the pseudo-random noise
    double range = 2.0;         // an input beyond +/- range is an overload
};

// The input signal of a simulated amplifier as a function of its clock, so that
// equal times give equal values: load + sine + noise. Zero and tare offsets are
// the amplifier's parameters and apply on top.
class SignalModel {
public:
    explicit SignalModel(const SignalSettings& settings = {}) : settings_(settings) {}

    const SignalSettings& settings() const { return settings_; }
    void setSettings(const SignalSettings& settings) { settings_ = settings; }
    void setRange(double range) { settings_.range = range; }

    double input(int64_t ms) const;
    // The noise at a time, in [-1, 1).
    static double noiseAt(int64_t ms);

private:
    SignalSettings settings_;
};
