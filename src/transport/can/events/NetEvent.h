#pragma once
#include "transport/can/events/Emcy.h"
#include "transport/can/events/ErrorControl.h"

#include <QString>
#include <cstdint>

// Something a node announced, or that its silence told, in the order heard.
struct NetEvent {
    enum class Kind {
        BootUp,          // the node (re)started
        StateChanged,    // its heartbeat reports another state
        HeartbeatLost,   // its heartbeats stopped
        HeartbeatBack,   // heard again after it was lost
        Unanswered,      // it stopped answering the program's transfers
        Answering,       // it answers them again
        Emcy,
        NodeConflict,    // two stations announce the same node number
        Malformed,       // a frame of these services that does not decode; shown raw
    };
    Kind kind = Kind::BootUp;
    uint8_t node = 0;
    int64_t timeMs = 0;
    NodeState state = NodeState::Unknown;      // StateChanged, HeartbeatBack: the new state
    NodeState previous = NodeState::Unknown;   // StateChanged
    EmcyFrame emcy;                            // Emcy
    CanFrame frame;                            // Malformed: the frame as heard
    FrameProblem problem = FrameProblem::None;
};

// One line for the monitor and the log, without the time ("nœud 3 : redémarré").
QString netEventText(const NetEvent& event);
