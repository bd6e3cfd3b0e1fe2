#pragma once
#include "transport/can/lib/SdoFrames.h"

#include <QByteArray>
#include <cstdint>
#include <optional>

// What a transfer does with a frame: possibly send one, possibly end. A step that
// does neither means the frame belonged to another transfer.
struct SdoStep {
    std::optional<CanFrame> send;
    bool finished = false;

    bool ignored() const { return !send && !finished; }
};

// How a transfer ended: a CAN library result, the abort code when it was aborted
// (by either side), and the data received by an upload.
struct SdoOutcome {
    int32_t result = 0;
    uint32_t abortCode = 0;
    QByteArray data;
};

// One SDO transfer of the client as a state machine, driven by the frames of its
// node's server (COB-ID 0x580 + node) and by the time-out; no threads, no clock.
class SdoTransfer {
public:
    SdoTransfer(uint8_t node, sdo::Mux mux) : node_(node), mux_(mux) {}
    virtual ~SdoTransfer() = default;

    uint8_t node() const { return node_; }
    sdo::Mux mux() const { return mux_; }
    const SdoOutcome& outcome() const { return outcome_; }

    // The request that opens the transfer.
    virtual CanFrame begin() = 0;
    // A frame from the node's server. Replies of other transfers (another command or
    // multiplexer, an abort of another object) are ignored; an unknown command or an
    // abort of this object ends the transfer.
    SdoStep onFrame(const CanFrame& frame);
    // The server did not answer in time: ends with -16501 and the abort to send.
    SdoStep timeOut();
    // The request could not be put on the bus.
    void fail(int32_t result);

protected:
    uint16_t requestId() const { return uint16_t(sdo::RequestBase + node_); }
    // A known server command other than an abort.
    virtual SdoStep onResponse(const CanFrame& frame) = 0;
    SdoStep send(const CanFrame& frame) const { return {frame, false}; }
    SdoStep succeed();
    // The client gives up: ends with `result` and the abort frame with `code`.
    SdoStep abortTransfer(uint32_t code, int32_t result);
    SdoOutcome& mutableOutcome() { return outcome_; }

private:
    uint8_t node_;
    sdo::Mux mux_;
    SdoOutcome outcome_;
};
