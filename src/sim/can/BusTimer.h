#pragma once
#include "transport/can/lib/CanFrameBus.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

// One task pending on a bus's clock, which can be replaced or cancelled: start()
// replaces the pending task, stop() and the destructor cancel it. A task running
// on another thread finishes before they return; a task may start its timer again.
// The bus outlives the timer.
class BusTimer {
public:
    explicit BusTimer(CanFrameBus& bus) : bus_(bus) {}
    ~BusTimer() { stop(); }
    BusTimer(const BusTimer&) = delete;
    BusTimer& operator=(const BusTimer&) = delete;

    void start(int delayMs, std::function<void()> task);
    void stop();

private:
    // Shared with the tasks on the bus, which may outlive the timer.
    struct Pending {
        std::recursive_mutex mutex;
        uint64_t generation = 0;
    };

    CanFrameBus& bus_;
    std::shared_ptr<Pending> pending_ = std::make_shared<Pending>();
};
