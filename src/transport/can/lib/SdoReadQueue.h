#pragma once
#include "transport/can/lib/SdoClientEngine.h"

#include <QByteArray>
#include <vector>

// Queued reads: started at once (different nodes run in parallel on the bus) and
// collected later, either the reply of a named request or the next reply to arrive.
class SdoReadQueue {
public:
    // Collection orders.
    static constexpr int32_t ByRequest = 0;   // the reply of the request named by the caller
    static constexpr int32_t ByArrival = 1;   // the earliest reply; names its request
    static constexpr int MaxQueued = 256;
    static constexpr int ReplyCapacity = 8192;

    explicit SdoReadQueue(SdoClientEngine& engine);

    [[nodiscard]] int32_t queue(uint8_t node, uint16_t index, uint8_t sub);
    // Library result: 0 when the node answered (sdoError = its abort code, or 0 and
    // the data), -16501/-16502/-16511 when it did not, -1 when nothing is queued.
    [[nodiscard]]
    int32_t collect(int32_t order, uint32_t& sdoError, uint8_t& node, uint16_t& index, uint8_t& sub,
                    QByteArray& data);

private:
    struct Entry {
        uint8_t node;
        sdo::Mux mux;
        SdoClientEngine::TransferId id;
    };
    std::vector<Entry>::iterator find(int32_t order, uint8_t node, sdo::Mux mux);

    SdoClientEngine& engine_;
    std::vector<Entry> entries_;
};
