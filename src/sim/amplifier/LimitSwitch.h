#pragma once
#include <optional>

// One limit switch as its parameters set it: "Source" 0 gross, 1 net, 2 peak
// maximum, 3 peak minimum; "Direction" 0 trips rising above "OnLevel", 1 falling
// below it. Hysteresis and delay are not simulated.
struct LimitSwitchSetting {
    bool enabled = false;
    int source = 0;
    int direction = 0;
    std::optional<double> level;
};

struct MeasuredValues {
    double gross = 0.0;
    double net = 0.0;
    double peakMax = 0.0;
    double peakMin = 0.0;
};

bool limitSwitchTripped(const LimitSwitchSetting& setting, const MeasuredValues& values);
