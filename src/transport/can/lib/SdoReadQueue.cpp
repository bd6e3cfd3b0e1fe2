#include "transport/can/lib/SdoReadQueue.h"

#include "core/ResultCodes.h"
#include "transport/can/lib/SdoUploadTransfer.h"

#include <algorithm>

SdoReadQueue::SdoReadQueue(SdoClientEngine& engine) : engine_(engine) {}

int32_t SdoReadQueue::queue(uint8_t node, uint16_t index, uint8_t sub)
{
    if (entries_.size() >= MaxQueued)
        return rc::CanOutOfMemory;
    sdo::Mux mux{index, sub};
    auto id = engine_.start(std::make_unique<SdoUploadTransfer>(node, mux, ReplyCapacity));
    entries_.push_back({node, mux, id});
    return rc::Ok;
}

int32_t SdoReadQueue::collect(int32_t order, uint32_t& sdoError, uint8_t& node, uint16_t& index,
                              uint8_t& sub, QByteArray& data)
{
    auto entry = find(order, node, {index, sub});
    if (entry == entries_.end())
        return rc::Failed;
    node = entry->node;
    index = entry->mux.index;
    sub = entry->mux.sub;
    SdoOutcome outcome = engine_.collect(entry->id);
    entries_.erase(entry);
    bool aborted = outcome.result == rc::CanSdoAbort;
    sdoError = aborted ? outcome.abortCode : 0;
    data = aborted ? QByteArray() : outcome.data;
    return aborted ? rc::Ok : outcome.result;
}

std::vector<SdoReadQueue::Entry>::iterator SdoReadQueue::find(int32_t order, uint8_t node, sdo::Mux mux)
{
    if (order == ByRequest) {
        return std::find_if(entries_.begin(), entries_.end(),
                            [&](const Entry& e) { return e.node == node && e.mux == mux; });
    }
    if (entries_.empty())
        return entries_.end();
    std::vector<SdoClientEngine::TransferId> ids;
    for (const Entry& e : entries_)
        ids.push_back(e.id);
    auto first = engine_.waitFirstEnded(ids);
    return std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.id == first; });
}
