#pragma once
#include <cstdint>

struct SignalSettings {
    double load = 1.0;          // mean gross value before zeroing
    double amplitude = 0.02;    // peak of the slow sine around the load
    double periodMs = 20000.0;  // period of the sine
    double noise = 0.0005;      // peak of the pseudo-random noise
    double range = 2.0;         // a gross value beyond +/- range is an overload
};

// The measured signal of a simulated amplifier as a function of its clock, so
// that equal times give equal values: load + sine + noise, minus the zero offset.
class SignalModel {
public:
    explicit SignalModel(const SignalSettings& settings = {}) : settings_(settings) {}

    const SignalSettings& settings() const { return settings_; }
    void setSettings(const SignalSettings& settings) { settings_ = settings; }
    void setRange(double range) { settings_.range = range; }

    double gross(int64_t ms) const;
    double net(int64_t ms) const { return gross(ms) - tare_; }
    // Zeroing moves the current gross value to 0; taring makes the net value 0.
    void zero(int64_t ms) { zeroOffset_ += gross(ms); }
    void tare(int64_t ms) { tare_ = gross(ms); }
    double tareValue() const { return tare_; }

    // The noise at a time, in [-1, 1].
    static double noiseAt(int64_t ms);

private:
    SignalSettings settings_;
    double zeroOffset_ = 0.0;
    double tare_ = 0.0;
};
