#pragma once
#include "transport/can/events/NetEvent.h"
#include "transport/can/lib/FrameDispatcher.h"

#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

// What the program knows of one node from what it announced.
struct NodeStatus {
    NodeState state = NodeState::Unknown;
    int64_t lastHeardMs = -1;       // any frame of the node
    int64_t lastHeartbeatMs = -1;
    int heartbeatPeriodMs = 0;      // learnt from the last two heartbeats; 0 before
    uint32_t bootUps = 0;
    uint64_t emcyCount = 0;
    std::deque<EmcyFrame> recentEmcy;   // newest first
    bool conflict = false;
};

// Listens to one net's NMT error control and EMCY frames and keeps each node's
// status; tells what happened as events, oldest first. A node whose heartbeats stop
// is lost after two periods and a margin (checkSilence, driven by the caller's clock).
// Thread-safe: frames come on the dispatcher's thread, readers poll on theirs.
class CanNetListener {
public:
    static constexpr size_t MaxEvents = 1024;   // beyond, the oldest are dropped and counted
    static constexpr size_t MaxRecentEmcy = 16;
    static constexpr int SilenceMarginMs = 200;
    static constexpr int ConflictWindowMs = 1000;

    CanNetListener() = default;
    // Subscribes to the dispatcher for as long as it lives.
    explicit CanNetListener(FrameDispatcher& frames);
    ~CanNetListener();
    CanNetListener(const CanNetListener&) = delete;
    CanNetListener& operator=(const CanNetListener&) = delete;

    // The dispatcher is gone: nothing to unsubscribe from any more.
    void forgetDispatcher() { frames_ = nullptr; }

    void hear(const ReceivedFrame& received);
    void checkSilence(int64_t nowMs);
    // The bus is gone or the node stopped answering: lost until it is heard again.
    void markLost(uint8_t node, int64_t nowMs);
    // The node answers transfers again; its NMT state is unknown until it says it.
    void markAnswering(uint8_t node, int64_t nowMs);

    std::vector<NetEvent> takeEvents();
    uint64_t droppedEvents() const;
    std::optional<NodeStatus> status(uint8_t node) const;
    std::map<uint8_t, NodeStatus> statuses() const;
    // Counts every change, so that a window redraws only when something happened.
    uint64_t changeCount() const;

private:
    void hearErrorControl(const ErrorControlFrame& frame, const ReceivedFrame& received);
    void hearEmcy(const EmcyFrame& frame, const ReceivedFrame& received);
    void hearHeartbeat(NodeStatus& status, const ErrorControlFrame& frame, int64_t timeMs);
    void noteConflict(NodeStatus& status, uint8_t node, int64_t timeMs);
    void push(NetEvent event);

    mutable std::mutex mutex_;
    std::map<uint8_t, NodeStatus> nodes_;
    std::map<uint8_t, std::deque<uint8_t>> lastStates_;   // the last raw heartbeat bytes
    std::deque<NetEvent> events_;
    uint64_t dropped_ = 0;
    uint64_t changes_ = 0;
    FrameDispatcher* frames_ = nullptr;
    FrameDispatcher::SubscriberId subscription_ = 0;
};
