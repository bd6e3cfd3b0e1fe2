#pragma once
#include <cstdint>

// Follows one connected device whose link may go: lost at the first tick that fails
// because the device or the bus is gone, then tried again with a pause that doubles
// (2, 4, 8, 16 ticks, then every 16), or at once when the device is heard on the bus.
// Counts ticks, not time, so the window, the command line and tests drive it alike.
class LinkRecovery {
public:
    static constexpr int FirstPauseTicks = 2;
    static constexpr int LongestPauseTicks = 16;

    bool lost() const { return lost_; }
    // What made the link go (a result code, or HeartbeatLost).
    int32_t cause() const { return cause_; }
    static constexpr int32_t HeartbeatLost = 1;

    // The link went for this cause; true when it was up until now (say it once).
    bool lose(int32_t cause);
    // One tick while lost: whether to try the device now.
    bool tryNow(bool heard);
    // The try failed: the next one waits longer.
    void tryFailed();
    void back();

private:
    bool lost_ = false;
    int32_t cause_ = 0;
    int pauseTicks_ = FirstPauseTicks;
    int waitedTicks_ = 0;
};

// Whether a failed read says that the link is gone (no answer, a bus that takes no
// frame), as opposed to a device that answers with a refusal.
bool isLinkLoss(int32_t result);
