#include "transport/can/events/CanNetListener.h"

namespace {
NetEvent netEvent(NetEvent::Kind kind, uint8_t node, int64_t timeMs, NodeState state = NodeState::Unknown)
{
    NetEvent event;
    event.kind = kind;
    event.node = node;
    event.timeMs = timeMs;
    event.state = state;
    return event;
}
}  // namespace

CanNetListener::CanNetListener(FrameDispatcher& frames)
    : frames_(&frames), subscription_(frames.subscribe([this](const ReceivedFrame& received) { hear(received); }))
{
}

CanNetListener::~CanNetListener()
{
    if (frames_)
        frames_->unsubscribe(subscription_);
}

void CanNetListener::hear(const ReceivedFrame& received)
{
    if (auto errorControl = decodeErrorControl(received.frame))
        hearErrorControl(*errorControl, received);
    else if (auto emergency = decodeEmcy(received.frame))
        hearEmcy(*emergency, received);
}

void CanNetListener::hearErrorControl(const ErrorControlFrame& frame, const ReceivedFrame& received)
{
    std::lock_guard lock(mutex_);
    if (frame.problem != FrameProblem::None) {
        NetEvent event = netEvent(NetEvent::Kind::Malformed, frame.node, received.timeMs);
        event.frame = received.frame;
        event.problem = frame.problem;
        push(event);
        return;
    }
    NodeStatus& status = nodes_[frame.node];
    const int64_t previousHeard = status.lastHeardMs;
    const bool wasLost = status.state == NodeState::Lost;
    status.lastHeardMs = received.timeMs;
    if (!frame.bootUp) {
        hearHeartbeat(status, frame, received.timeMs);
        if (wasLost) {
            NetEvent event = netEvent(NetEvent::Kind::HeartbeatBack, frame.node, received.timeMs, status.state);
            push(event);
        }
        return;
    }
    if (status.bootUps > 0 && previousHeard >= 0 && received.timeMs - previousHeard < ConflictWindowMs &&
        lastStates_[frame.node].empty())
        noteConflict(status, frame.node, received.timeMs);
    ++status.bootUps;
    status.state = NodeState::PreOperational;   // a node that boots enters pre-operational by itself
    status.heartbeatPeriodMs = 0;
    status.lastHeartbeatMs = -1;
    lastStates_[frame.node].clear();
    push(netEvent(NetEvent::Kind::BootUp, frame.node, received.timeMs, NodeState::PreOperational));
}

void CanNetListener::hearHeartbeat(NodeStatus& status, const ErrorControlFrame& frame, int64_t timeMs)
{
    std::deque<uint8_t>& states = lastStates_[frame.node];
    if (status.lastHeartbeatMs >= 0)
        status.heartbeatPeriodMs = int(timeMs - status.lastHeartbeatMs);
    status.lastHeartbeatMs = timeMs;
    states.push_back(frame.raw);
    if (states.size() > 3)
        states.pop_front();
    // Two producers of one node number: their states alternate, A B A.
    if (states.size() == 3 && states[0] == states[2] && states[0] != states[1])
        noteConflict(status, frame.node, timeMs);
    const NodeState previous = status.state;
    status.state = frame.state;
    if (previous != frame.state && previous != NodeState::Lost && previous != NodeState::Unknown) {
        NetEvent event = netEvent(NetEvent::Kind::StateChanged, frame.node, timeMs, frame.state);
        event.previous = previous;
        push(event);
    }
}

void CanNetListener::noteConflict(NodeStatus& status, uint8_t node, int64_t timeMs)
{
    if (status.conflict)
        return;
    status.conflict = true;
    push(netEvent(NetEvent::Kind::NodeConflict, node, timeMs));
}

void CanNetListener::hearEmcy(const EmcyFrame& frame, const ReceivedFrame& received)
{
    std::lock_guard lock(mutex_);
    NodeStatus& status = nodes_[frame.node];
    status.lastHeardMs = received.timeMs;
    ++status.emcyCount;
    status.recentEmcy.push_front(frame);
    if (status.recentEmcy.size() > MaxRecentEmcy)
        status.recentEmcy.pop_back();
    NetEvent event = netEvent(NetEvent::Kind::Emcy, frame.node, received.timeMs);
    event.emcy = frame;
    event.frame = received.frame;
    event.problem = frame.problem;
    push(event);
}

void CanNetListener::checkSilence(int64_t nowMs)
{
    std::lock_guard lock(mutex_);
    for (auto& [node, status] : nodes_) {
        if (status.state == NodeState::Lost || status.heartbeatPeriodMs <= 0)
            continue;
        if (nowMs - status.lastHeartbeatMs > 2 * int64_t(status.heartbeatPeriodMs) + SilenceMarginMs) {
            status.state = NodeState::Lost;
            push(netEvent(NetEvent::Kind::HeartbeatLost, node, nowMs, NodeState::Lost));
        }
    }
}

void CanNetListener::markLost(uint8_t node, int64_t nowMs)
{
    std::lock_guard lock(mutex_);
    NodeStatus& status = nodes_[node];
    if (status.state == NodeState::Lost)
        return;
    status.state = NodeState::Lost;
    push(netEvent(NetEvent::Kind::Unanswered, node, nowMs, NodeState::Lost));
}

void CanNetListener::markAnswering(uint8_t node, int64_t nowMs)
{
    std::lock_guard lock(mutex_);
    NodeStatus& status = nodes_[node];
    status.lastHeardMs = nowMs;
    if (status.state != NodeState::Lost)
        return;
    status.state = NodeState::Unknown;
    push(netEvent(NetEvent::Kind::Answering, node, nowMs));
}

void CanNetListener::push(NetEvent event)
{
    ++changes_;
    if (events_.size() >= MaxEvents) {
        events_.pop_front();
        ++dropped_;
    }
    events_.push_back(std::move(event));
}

std::vector<NetEvent> CanNetListener::takeEvents()
{
    std::lock_guard lock(mutex_);
    std::vector<NetEvent> taken(events_.begin(), events_.end());
    events_.clear();
    return taken;
}

uint64_t CanNetListener::droppedEvents() const
{
    std::lock_guard lock(mutex_);
    return dropped_;
}

std::optional<NodeStatus> CanNetListener::status(uint8_t node) const
{
    std::lock_guard lock(mutex_);
    auto found = nodes_.find(node);
    return found == nodes_.end() ? std::nullopt : std::optional(found->second);
}

std::map<uint8_t, NodeStatus> CanNetListener::statuses() const
{
    std::lock_guard lock(mutex_);
    return nodes_;
}

uint64_t CanNetListener::changeCount() const
{
    std::lock_guard lock(mutex_);
    return changes_;
}
