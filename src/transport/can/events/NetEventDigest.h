#pragma once
#include "transport/can/events/NetEvent.h"

#include <QStringList>
#include <set>
#include <vector>

// What a window does with a batch of net events: a bounded number of log lines (a
// flood of EMCYs is counted, not written one by one), the newest EMCY for the status
// area, and the nodes that booted.
struct NetEventDigest {
    QStringList logLines;
    int unlogged = 0;              // events beyond the lines kept
    std::optional<NetEvent> lastEmcy;
    int emcyCount = 0;
    std::set<uint8_t> bootedNodes;
};

NetEventDigest digestNetEvents(const std::vector<NetEvent>& events, int maxLogLines);
// The status area's line for the newest EMCY of a batch of `count`.
QString emcyStatusText(const NetEvent& event, int count);
