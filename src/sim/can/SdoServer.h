#pragma once
#include "sim/SdoTarget.h"
#include "sim/can/SdoNode.h"
#include "transport/can/lib/CanFrameBus.h"
#include "transport/can/lib/SdoFrames.h"

#include <QByteArray>
#include <memory>
#include <mutex>

// Injected faults of the SDO server itself, for tests of the client's protocol; the
// faults of the node behind the server are the node's (see SdoNode).
struct SdoServerFaults {
    bool silent = false;      // answers nothing
    int delayMs = 0;          // each answer goes out this late (on the bus's clock)
    uint32_t abortCode = 0;   // non-zero: every request is answered with this abort
    int answerLimit = -1;     // >= 0: after this many more answers the node falls silent
};

// The SDO server of one simulated node: answers the requests to its node ID on a
// frame bus (expedited and segmented upload and download) from an SdoTarget, and
// passes the NMT commands to the node behind it. A server given no node keeps the
// NMT state itself: it starts pre-operational; stopped, it serves no SDO.
class SdoServer {
public:
    using NmtState = SdoNmtState;

    static constexpr int MaxDownload = 65536;   // bytes taken by a download of unknown size

    // `behind`, when given, outlives the server and decides its silence, answer
    // delay and NMT state.
    SdoServer(CanFrameBus& bus, uint8_t node, SdoTarget& target, SdoNode* behind = nullptr);
    ~SdoServer();
    SdoServer(const SdoServer&) = delete;
    SdoServer& operator=(const SdoServer&) = delete;

    void setFaults(const SdoServerFaults& faults);
    NmtState nmtState() const;

private:
    enum class Phase { Idle, Uploading, Downloading };

    void onFrame(const CanFrame& frame);
    bool isServing() const;
    void onNmt(const CanFrame& frame);
    void onRequest(const CanFrame& frame);
    void initiateUpload(const CanFrame& frame);
    void uploadSegment(const CanFrame& frame);
    void initiateDownload(const CanFrame& frame);
    void downloadSegment(const CanFrame& frame);
    void finishDownload();
    void abortTransfer(sdo::Mux mux, uint32_t code);
    bool checkSegment(const CanFrame& frame, Phase expected);
    void answer(const CanFrame& frame);
    uint16_t responseId() const { return uint16_t(sdo::ResponseBase + node_); }

    CanFrameBus& bus_;
    uint8_t node_;
    SdoTarget& target_;
    std::unique_ptr<SdoNode> ownNode_;   // when no node was given
    SdoNode& nodeState_;
    CanFrameBus::ListenerId listener_;

    mutable std::mutex mutex_;
    SdoServerFaults faults_;
    Phase phase_ = Phase::Idle;
    sdo::Mux mux_;
    QByteArray data_;
    qsizetype position_ = 0;   // upload: bytes sent so far
    bool toggle_ = false;
    bool sizeIndicated_ = false;
    uint32_t size_ = 0;
};
