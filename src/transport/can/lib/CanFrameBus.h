#pragma once
#include "transport/can/lib/CanClock.h"
#include "transport/can/lib/CanFrame.h"

#include <functional>
#include <map>
#include <mutex>
#include <optional>

// A CAN bus as seen by one station: send frames, hear every frame on the bus.
// Listeners are called on the bus's delivery thread, one frame at a time; a listener
// may send from inside the call. Frames a station sends are not heard back by the
// listeners of a hardware bus; the in-process bus delivers every frame to everyone.
class CanFrameBus {
public:
    using Listener = std::function<void(const CanFrame&)>;
    using ListenerId = int;

    CanFrameBus() = default;
    CanFrameBus(const CanFrameBus&) = delete;
    CanFrameBus& operator=(const CanFrameBus&) = delete;
    virtual ~CanFrameBus() = default;

    // Puts a frame on the bus; false when the bus cannot take it (off, not connected).
    virtual bool send(const CanFrame& frame) = 0;
    // Runs `task` once after `delayMs` on the bus's clock, on the bus's delivery thread
    // (the in-process bus: on the thread whose wait or advance reaches that time).
    virtual void runAfter(int delayMs, std::function<void()> task) = 0;
    // Puts a frame on the bus after `delayMs` on the bus's clock.
    void sendAfter(const CanFrame& frame, int delayMs);
    // canstatus bits of the controller, latched until reset().
    virtual uint32_t status() const = 0;
    virtual void reset() = 0;
    virtual CanClock& clock() = 0;
    // True only when the bus knows for sure that no station serves SDO requests for
    // `node`; hardware buses cannot know and say false.
    virtual bool isNodeAbsent(uint8_t node) const;

    ListenerId addListener(Listener listener);
    // A listener that serves SDO requests for `node` (a simulated node).
    ListenerId addServer(uint8_t node, Listener listener);
    // After the return the listener is no longer called, also from other threads.
    void removeListener(ListenerId id);

protected:
    void deliver(const CanFrame& frame);
    bool isServed(uint8_t node) const;

private:
    struct Entry {
        Listener listener;
        std::optional<uint8_t> servedNode;
    };
    ListenerId add(Entry entry);

    mutable std::mutex registryMutex_;
    std::recursive_mutex deliveryMutex_;
    std::map<ListenerId, Entry> listeners_;
    ListenerId nextId_ = 1;
};
