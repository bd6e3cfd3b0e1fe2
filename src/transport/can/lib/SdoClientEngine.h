#pragma once
#include "transport/can/lib/CanFrameBus.h"
#include "transport/can/lib/SdoTransfer.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

// Runs SDO transfers on a bus: one transfer at a time per node (later ones wait
// their turn), any number of nodes at once. Each transfer times out when its server
// stays silent for the time-out; the client then sends the abort 0x05040000.
// Thread-safe: frames arrive on the bus's thread, callers wait on theirs.
class SdoClientEngine {
public:
    using TransferId = uint64_t;

    using FrameHandler = std::function<void(const CanFrame&)>;

    // `others`, when given, hears every frame that is not a reply to a running
    // transfer, on the bus's thread.
    SdoClientEngine(CanFrameBus& bus, int timeoutMs, FrameHandler others = {});
    ~SdoClientEngine();
    SdoClientEngine(const SdoClientEngine&) = delete;
    SdoClientEngine& operator=(const SdoClientEngine&) = delete;

    void setTimeout(int timeoutMs);
    TransferId start(std::unique_ptr<SdoTransfer> transfer);
    // Blocks until the transfer has ended and hands over its outcome.
    SdoOutcome collect(TransferId id);
    // Blocks until one of `ids` has ended; returns the one that ended first.
    TransferId waitFirstEnded(const std::vector<TransferId>& ids);
    // Abort code of the last aborted transfer on this object, 0 when none.
    uint32_t lastAbortCode(uint8_t node, sdo::Mux mux) const;

private:
    struct Job {
        std::unique_ptr<SdoTransfer> transfer;
        int64_t deadlineMs = 0;
        bool ended = false;
        uint64_t endOrder = 0;
    };
    struct Outgoing {
        TransferId id;
        CanFrame frame;
        bool opening;
    };

    void onFrame(const CanFrame& frame);
    void transmit(std::vector<Outgoing> out);
    void waitFor(std::unique_lock<std::mutex>& lock, const std::function<bool()>& satisfied);
    int64_t earliestDeadline() const;
    void expireDue(std::vector<Outgoing>& out);
    void apply(TransferId id, const SdoStep& step, std::vector<Outgoing>& out);
    void end(TransferId id, std::vector<Outgoing>& out);
    void activate(uint8_t node, std::vector<Outgoing>& out);
    bool hasEnded(TransferId id) const;

    bool take(const CanFrame& frame, std::vector<Outgoing>& out);

    CanFrameBus& bus_;
    CanClock& clock_;
    FrameHandler others_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::map<TransferId, Job> jobs_;
    std::map<uint8_t, std::deque<TransferId>> channels_;   // front = running transfer
    std::map<uint32_t, uint32_t> abortCodes_;
    TransferId nextId_ = 1;
    uint64_t endCount_ = 0;
    uint64_t generation_ = 0;
    int timeoutMs_;
    CanFrameBus::ListenerId listener_;
};
