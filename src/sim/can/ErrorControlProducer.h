#pragma once
#include "sim/can/BusTimer.h"

#include <functional>
#include <optional>

// The NMT error control messages of one node (COB-ID 0x700 + node, one byte): its
// boot-up message, then a heartbeat with its NMT state every period, on the bus's
// clock. A node that cannot send for a while loses its heartbeats, not their rhythm.
class ErrorControlProducer {
public:
    struct Source {
        // The heartbeat's state byte; nothing while the node cannot send.
        std::function<std::optional<uint8_t>()> state;
        // The producer heartbeat time (0x1017) in ms; 0: no heartbeat.
        std::function<int()> periodMs;
    };

    ErrorControlProducer(CanFrameBus& bus, uint8_t node, Source source);

    // The boot-up message now, the first heartbeat one period later.
    void bootUp();
    // The period was written: the next heartbeat one period from now, or none.
    void restartHeartbeat();
    // Nothing more until the next boot-up.
    void stop();

private:
    void beat();
    void send(uint8_t byte);

    CanFrameBus& bus_;
    uint16_t id_;
    Source source_;
    BusTimer timer_;   // last: cancelled before the rest goes
};
