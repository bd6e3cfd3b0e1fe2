#pragma once
#include "transport/can/lib/InProcessCanBus.h"

#include <condition_variable>
#include <mutex>
#include <thread>

// Lets an in-process bus's virtual time run with the wall clock, so that what is due
// on it (heartbeats, late answers, boot-ups) comes while a program runs: every step,
// on a thread of its own, the bus advances by the wall time gone since the last one.
// A client's wait may still make the bus jump ahead; it then runs on from there.
// The bus outlives the driver, which stops in its destructor.
class WallClockDriver {
public:
    static constexpr int StepMs = 10;

    explicit WallClockDriver(InProcessCanBus& bus);
    ~WallClockDriver();
    WallClockDriver(const WallClockDriver&) = delete;
    WallClockDriver& operator=(const WallClockDriver&) = delete;

private:
    void run();

    InProcessCanBus& bus_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread thread_;   // last: starts once the rest is there
};
