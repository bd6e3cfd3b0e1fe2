#include "transport/can/lib/FrameDispatcher.h"

#include <vector>

FrameDispatcher::FrameDispatcher() : thread_([this] { run(); }) {}

FrameDispatcher::~FrameDispatcher()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    posted_.notify_all();
    thread_.join();
}

FrameDispatcher::SubscriberId FrameDispatcher::subscribe(Subscriber subscriber)
{
    std::lock_guard lock(mutex_);
    SubscriberId id = nextId_++;
    subscribers_.emplace(id, std::move(subscriber));
    return id;
}

void FrameDispatcher::unsubscribe(SubscriberId id)
{
    {
        std::lock_guard lock(mutex_);
        subscribers_.erase(id);
    }
    if (std::this_thread::get_id() != thread_.get_id())
        std::lock_guard calling(callMutex_);
}

void FrameDispatcher::post(const CanFrame& frame, int64_t timeMs)
{
    {
        std::lock_guard lock(mutex_);
        if (queue_.size() >= MaxQueued) {
            queue_.pop_front();
            ++dropped_;
            ++handedCount_;
        }
        queue_.push_back({frame, timeMs});
        ++postedCount_;
    }
    posted_.notify_one();
}

void FrameDispatcher::flush()
{
    std::unique_lock lock(mutex_);
    const uint64_t target = postedCount_;
    handed_.wait(lock, [&] { return handedCount_ >= target || stopping_; });
}

uint64_t FrameDispatcher::droppedFrames() const
{
    std::lock_guard lock(mutex_);
    return dropped_;
}

void FrameDispatcher::run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        posted_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
        if (stopping_)
            return;
        std::deque<ReceivedFrame> batch;
        batch.swap(queue_);
        std::vector<std::pair<SubscriberId, Subscriber>> targets(subscribers_.begin(), subscribers_.end());
        std::lock_guard calling(callMutex_);
        lock.unlock();
        for (const ReceivedFrame& received : batch) {
            for (const auto& [id, subscriber] : targets)
                subscriber(received);
        }
        lock.lock();
        handedCount_ += batch.size();
        handed_.notify_all();
    }
}
