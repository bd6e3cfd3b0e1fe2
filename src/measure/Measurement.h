#pragma once
#include "measure/MeasureTick.h"
#include "measure/RecordingFile.h"
#include "measure/RecoveringTick.h"

struct AppState;
struct DeviceEntry;

// What the main window does after a tick, besides painting what it shows.
struct TickOutcome {
    TickDisplay shown;
    bool stopped = false;        // the measurement stops (its message has been shown)
    bool update = false;         // and the main window refreshes everything
    bool tedsChanged = false;    // the TEDS state changed: show the device state again
    bool recordingLost = false;  // a sample could not be written: the recording ended (said so)
    bool reloaded = false;       // a TEDS appeared or went: the configuration was read again
    bool refreshRows = false;    // refresh the grid rows marked for periodic update
    bool linkLost = false;       // the device or its bus is gone: shown as "—", tried again
};

// The measurement of the current device and its recording, without the window: the
// main window runs a tick every 500 ms while measuring and paints the outcome.
class Measurement {
public:
    // The measurement time starts again at 0; a running recording goes on.
    void start() { time_ = 0; }
    // One tick on the state's current device.
    TickOutcome tick(AppState& state);
    // Starts (on) or finishes the recording of the current device; whether one was started.
    bool setRecording(AppState& state, bool on);

    const Recording& recording() const { return recording_; }
    double time() const { return time_; }
    const TedsState& lastTeds() const { return lastTeds_; }
    // The device or its bus is gone; the ticks try it again.
    bool linkLost() const { return link_.lost(); }
    void setLastTeds(const TedsState& teds) { lastTeds_ = teds; }

private:
    void readTeds(AppState& state, DeviceContext& device, TickOutcome& outcome);
    void appendSample(AppState& state, TickOutcome& outcome);

    double time_ = 0;
    Recording recording_;
    TedsState lastTeds_;
    RecoveringTick link_;
};

// The current device when it is connected, else null.
DeviceEntry* connectedCurrentDevice(AppState& state);
