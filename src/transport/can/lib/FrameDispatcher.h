#pragma once
#include "transport/can/lib/CanFrame.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

// A frame as a subscriber hears it, with the bus clock's time of its arrival.
struct ReceivedFrame {
    CanFrame frame;
    int64_t timeMs = 0;
};

// Hands received frames on to subscribers on a thread of its own, so that whatever
// a subscriber does (decode, count, log) never holds up the bus's delivery thread and
// with it the SDO replies. Frames keep their order. The queue is bounded: a subscriber
// that cannot keep up loses the oldest frames, and they are counted.
class FrameDispatcher {
public:
    using Subscriber = std::function<void(const ReceivedFrame&)>;
    using SubscriberId = int;
    static constexpr size_t MaxQueued = 65536;

    FrameDispatcher();
    ~FrameDispatcher();
    FrameDispatcher(const FrameDispatcher&) = delete;
    FrameDispatcher& operator=(const FrameDispatcher&) = delete;

    SubscriberId subscribe(Subscriber subscriber);
    // After the return the subscriber is no longer called.
    void unsubscribe(SubscriberId id);
    // Called on the bus's thread; never blocks on a subscriber.
    void post(const CanFrame& frame, int64_t timeMs);
    // Waits until every frame posted before the call has been handed on.
    void flush();
    uint64_t droppedFrames() const;

private:
    void run();

    mutable std::mutex mutex_;
    std::condition_variable posted_;
    std::condition_variable handed_;
    std::deque<ReceivedFrame> queue_;
    uint64_t postedCount_ = 0;
    uint64_t handedCount_ = 0;
    uint64_t dropped_ = 0;
    bool stopping_ = false;
    std::map<SubscriberId, Subscriber> subscribers_;
    SubscriberId nextId_ = 1;
    std::mutex callMutex_;   // held while subscribers run: unsubscribe waits for it
    std::thread thread_;
};
