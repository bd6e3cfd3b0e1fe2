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
// by sendAfter() or to its deadline, so time-outs and delays cost no real time.
// A request to a node that no attached server serves is known to be unanswered.
// Meant for one driving thread at a time (the window thread or a test).
class InProcessCanBus : public CanFrameBus {
public:
    InProcessCanBus();
    ~InProcessCanBus() override;

    bool send(const CanFrame& frame) override;
    void sendAfter(const CanFrame& frame, int delayMs) override;
    uint32_t status() const override;
    void reset() override;
    CanClock& clock() override;
    bool isNodeAbsent(uint8_t node) const override;

    // Fault injection: the controller reports these canstatus bits until reset();
    // with BusOff set the bus takes no frame.
    void setStatus(uint32_t bits);

private:
    class VirtualClock;
    friend class VirtualClock;

    void pump();
    bool deliverNextDue(int64_t deadlineMs);

    std::mutex mutex_;
    std::deque<CanFrame> pending_;
    bool pumping_ = false;
    std::multimap<int64_t, CanFrame> scheduled_;
    int64_t nowMs_ = 0;
    std::atomic<uint32_t> status_{0};
    std::unique_ptr<CanClock> clock_;
};
