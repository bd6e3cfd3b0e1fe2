#include "transport/can/lib/SdoClientEngine.h"

#include "core/ResultCodes.h"

#include <algorithm>
#include <limits>

namespace {
uint32_t objectKey(uint8_t node, sdo::Mux mux)
{
    return uint32_t(node) << 24 | uint32_t(mux.index) << 8 | mux.sub;
}
}  // namespace

SdoClientEngine::SdoClientEngine(CanFrameBus& bus, int timeoutMs, FrameHandler others)
    : bus_(bus), clock_(bus.clock()), others_(std::move(others)), timeoutMs_(timeoutMs)
{
    listener_ = bus_.addListener([this](const CanFrame& frame) { onFrame(frame); });
}

SdoClientEngine::~SdoClientEngine()
{
    bus_.removeListener(listener_);
}

void SdoClientEngine::setTimeout(int timeoutMs)
{
    std::lock_guard lock(mutex_);
    timeoutMs_ = timeoutMs;
}

SdoClientEngine::TransferId SdoClientEngine::start(std::unique_ptr<SdoTransfer> transfer)
{
    std::vector<Outgoing> out;
    TransferId id;
    {
        std::lock_guard lock(mutex_);
        id = nextId_++;
        uint8_t node = transfer->node();
        jobs_[id].transfer = std::move(transfer);
        auto& channel = channels_[node];
        channel.push_back(id);
        if (channel.size() == 1)
            activate(node, out);
    }
    transmit(std::move(out));
    return id;
}

SdoOutcome SdoClientEngine::collect(TransferId id)
{
    std::unique_lock lock(mutex_);
    if (!jobs_.count(id))
        return {rc::Failed, 0, {}};
    waitFor(lock, [&] { return hasEnded(id); });
    if (!hasEnded(id))
        return {rc::Failed, 0, {}};
    SdoOutcome outcome = jobs_[id].transfer->outcome();
    jobs_.erase(id);
    return outcome;
}

SdoClientEngine::TransferId SdoClientEngine::waitFirstEnded(const std::vector<TransferId>& ids)
{
    std::unique_lock lock(mutex_);
    auto firstEnded = [&] {
        TransferId first = 0;
        for (TransferId id : ids) {
            if (hasEnded(id) && (first == 0 || jobs_[id].endOrder < jobs_[first].endOrder))
                first = id;
        }
        return first;
    };
    waitFor(lock, [&] { return firstEnded() != 0; });
    return firstEnded();
}

uint32_t SdoClientEngine::lastAbortCode(uint8_t node, sdo::Mux mux) const
{
    std::lock_guard lock(mutex_);
    auto found = abortCodes_.find(objectKey(node, mux));
    return found == abortCodes_.end() ? 0 : found->second;
}

void SdoClientEngine::onFrame(const CanFrame& frame)
{
    std::vector<Outgoing> out;
    if (take(frame, out))
        transmit(std::move(out));
    else if (others_)
        others_(frame);
}

// The running transfer gets its server's reply before anyone else hears of it.
bool SdoClientEngine::take(const CanFrame& frame, std::vector<Outgoing>& out)
{
    if (frame.id <= sdo::ResponseBase || frame.id >= sdo::RequestBase)
        return false;
    std::lock_guard lock(mutex_);
    auto channel = channels_.find(uint8_t(frame.id - sdo::ResponseBase));
    if (channel == channels_.end() || channel->second.empty())
        return false;
    TransferId id = channel->second.front();
    apply(id, jobs_[id].transfer->onFrame(frame), out);
    return true;
}

// Sends outside the lock: the in-process bus answers from inside send().
void SdoClientEngine::transmit(std::vector<Outgoing> out)
{
    for (size_t i = 0; i < out.size(); ++i) {
        Outgoing next = out[i];
        bool sent = bus_.send(next.frame);
        if (!next.opening)
            continue;
        bool absent = sent && bus_.isNodeAbsent(uint8_t(next.frame.id - sdo::RequestBase));
        if (sent && !absent)
            continue;
        std::lock_guard lock(mutex_);
        if (hasEnded(next.id) || !jobs_.count(next.id))
            continue;
        SdoTransfer& transfer = *jobs_[next.id].transfer;
        if (sent) {
            apply(next.id, transfer.timeOut(), out);
        } else {
            transfer.fail(rc::CanBusGone);
            end(next.id, out);
        }
    }
}

void SdoClientEngine::waitFor(std::unique_lock<std::mutex>& lock, const std::function<bool()>& satisfied)
{
    while (!satisfied()) {
        int64_t deadline = earliestDeadline();
        if (deadline == std::numeric_limits<int64_t>::max())
            return;   // nothing runs that could ever satisfy the wait
        uint64_t seen = generation_;
        clock_.waitUntil(lock, changed_, deadline, [&] { return satisfied() || generation_ != seen; });
        std::vector<Outgoing> out;
        expireDue(out);
        if (!out.empty()) {
            lock.unlock();
            transmit(std::move(out));
            lock.lock();
        }
    }
}

int64_t SdoClientEngine::earliestDeadline() const
{
    int64_t earliest = std::numeric_limits<int64_t>::max();
    for (const auto& [node, channel] : channels_) {
        if (!channel.empty())
            earliest = std::min(earliest, jobs_.at(channel.front()).deadlineMs);
    }
    return earliest;
}

void SdoClientEngine::expireDue(std::vector<Outgoing>& out)
{
    int64_t now = clock_.nowMs();
    std::vector<TransferId> due;
    for (const auto& [node, channel] : channels_) {
        if (!channel.empty() && jobs_[channel.front()].deadlineMs <= now)
            due.push_back(channel.front());
    }
    for (TransferId id : due)
        apply(id, jobs_[id].transfer->timeOut(), out);
}

void SdoClientEngine::apply(TransferId id, const SdoStep& step, std::vector<Outgoing>& out)
{
    // A reply of another transfer is no sign of life: the time-out keeps running.
    if (step.ignored())
        return;
    if (step.send)
        out.push_back({id, *step.send, false});
    if (step.finished)
        end(id, out);
    else
        jobs_[id].deadlineMs = clock_.nowMs() + timeoutMs_;
    ++generation_;
    changed_.notify_all();
}

void SdoClientEngine::end(TransferId id, std::vector<Outgoing>& out)
{
    Job& job = jobs_[id];
    job.ended = true;
    job.endOrder = ++endCount_;
    const SdoOutcome& outcome = job.transfer->outcome();
    uint8_t node = job.transfer->node();
    if (outcome.result == rc::CanSdoAbort)
        abortCodes_[objectKey(node, job.transfer->mux())] = outcome.abortCode;
    channels_[node].pop_front();
    activate(node, out);
    ++generation_;
    changed_.notify_all();
}

void SdoClientEngine::activate(uint8_t node, std::vector<Outgoing>& out)
{
    auto& channel = channels_[node];
    if (channel.empty())
        return;
    TransferId id = channel.front();
    Job& job = jobs_[id];
    job.deadlineMs = clock_.nowMs() + timeoutMs_;
    out.push_back({id, job.transfer->begin(), true});
}

bool SdoClientEngine::hasEnded(TransferId id) const
{
    auto found = jobs_.find(id);
    return found != jobs_.end() && found->second.ended;
}
