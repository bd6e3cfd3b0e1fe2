#pragma once
#include "transport/can/lib/CanFrameBus.h"

#include <atomic>
#include <deque>
#include <map>
#include <mutex>

// A bus in memory for simulated nodes and tests. Delivery is synchronous: send()
// hands the frame, and every frame sent in answer, to all listeners before it
// returns (answers sent from inside a listener are queued, never nested). Time is
// virtual: a client waiting for a reply makes the clock jump to the next frame due
// by runAfter() or to its deadline, so time-outs and delays cost no real time.
// A request to a node that no attached server serves is known to be unanswered.
// One thread drives it at a time: a send, with every answer, and each task due runs
// whole before another thread's (a wall-clock driver's) may start, so a waiting
// client never misses the answer that another thread is delivering.
class InProcessCanBus : public CanFrameBus {
public:
    InProcessCanBus();
    ~InProcessCanBus() override;

    bool send(const CanFrame& frame) override;
    void runAfter(int delayMs, std::function<void()> task) override;
    uint32_t status() const override;
    void reset() override;
    CanClock& clock() override;
    bool isNodeAbsent(uint8_t node) const override;

    // Lets virtual time pass until `ms`, running every task due on the way in order
    // (a test's fake clock; the wall-clock driver of a simulated net).
    void advanceTo(int64_t ms);

    // Fault injection: the controller reports these canstatus bits until reset();
    // with BusOff set the bus takes no frame.
    void setStatus(uint32_t bits);

private:
    class VirtualClock;
    friend class VirtualClock;

    void pump();
    bool runNextDue(int64_t deadlineMs);

    std::recursive_mutex driving_;
    std::mutex mutex_;
    std::deque<CanFrame> pending_;
    bool pumping_ = false;
    std::multimap<int64_t, std::function<void()>> scheduled_;
    int64_t nowMs_ = 0;
    std::atomic<uint32_t> status_{0};
    std::unique_ptr<CanClock> clock_;
};
