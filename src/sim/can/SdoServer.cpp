#include "sim/can/SdoServer.h"

namespace {

// The node of a server that was given none: only its NMT state, guarded by the
// server's lock.
class PlainNode final : public SdoNode {
public:
    bool isSilent() const override { return state_ == SdoNmtState::Stopped; }
    int answerDelayMs() const override { return 0; }
    SdoNmtState nmtState() const override { return state_; }
    void setNmtState(SdoNmtState state) override { state_ = state; }
    void reset(NmtReset) override { state_ = SdoNmtState::PreOperational; }

private:
    SdoNmtState state_ = SdoNmtState::PreOperational;
};

}  // namespace

SdoServer::SdoServer(CanFrameBus& bus, uint8_t node, SdoTarget& target, SdoNode* behind)
    : bus_(bus),
      node_(node),
      target_(target),
      ownNode_(behind ? nullptr : std::make_unique<PlainNode>()),
      nodeState_(behind ? *behind : *ownNode_)
{
    listener_ = bus_.addServer(node_, [this](const CanFrame& frame) { onFrame(frame); });
}

SdoServer::~SdoServer()
{
    bus_.removeListener(listener_);
}

void SdoServer::setFaults(const SdoServerFaults& faults)
{
    std::lock_guard lock(mutex_);
    faults_ = faults;
}

SdoServer::NmtState SdoServer::nmtState() const
{
    std::lock_guard lock(mutex_);
    return nodeState_.nmtState();
}

void SdoServer::onFrame(const CanFrame& frame)
{
    std::lock_guard lock(mutex_);
    if (frame.id == sdo::NmtId)
        onNmt(frame);
    else if (frame.id == sdo::RequestBase + node_ && isServing())
        onRequest(frame);
}

// A silent node (stopped ones included) does not even hear the requests.
bool SdoServer::isServing() const
{
    return !nodeState_.isSilent() && !faults_.silent && faults_.answerLimit != 0;
}

void SdoServer::onNmt(const CanFrame& frame)
{
    if (frame.length < 2 || (frame.data[1] != 0 && frame.data[1] != node_))
        return;
    switch (frame.data[0]) {
    case sdo::nmt::Start:
        nodeState_.setNmtState(NmtState::Operational);
        break;
    case sdo::nmt::Stop:
        nodeState_.setNmtState(NmtState::Stopped);
        phase_ = Phase::Idle;
        break;
    case sdo::nmt::EnterPreOperational:
        nodeState_.setNmtState(NmtState::PreOperational);
        break;
    case sdo::nmt::ResetNode:
        nodeState_.reset(NmtReset::Node);
        phase_ = Phase::Idle;
        break;
    case sdo::nmt::ResetCommunication:
        nodeState_.reset(NmtReset::Communication);
        phase_ = Phase::Idle;
        break;
    default:
        break;
    }
}

void SdoServer::onRequest(const CanFrame& frame)
{
    uint8_t command = sdo::commandOf(frame);
    if (command == sdo::Abort) {
        phase_ = Phase::Idle;
        return;
    }
    if (faults_.abortCode != 0) {
        abortTransfer(phase_ == Phase::Idle ? sdo::muxOf(frame) : mux_, faults_.abortCode);
        return;
    }
    switch (command) {
    case sdo::ccs::InitiateUpload:
        initiateUpload(frame);
        break;
    case sdo::ccs::UploadSegment:
        uploadSegment(frame);
        break;
    case sdo::ccs::InitiateDownload:
        initiateDownload(frame);
        break;
    case sdo::ccs::DownloadSegment:
        downloadSegment(frame);
        break;
    default:   // block transfers and unknown commands
        abortTransfer(sdo::muxOf(frame), sdoabort::InvalidCommand);
        break;
    }
}

void SdoServer::initiateUpload(const CanFrame& frame)
{
    mux_ = sdo::muxOf(frame);
    data_.clear();
    uint32_t code = target_.readObject(mux_.index, mux_.sub, data_);
    if (code != 0) {
        abortTransfer(mux_, code);
    } else if (!data_.isEmpty() && data_.size() <= sdo::ExpeditedBytes) {
        phase_ = Phase::Idle;
        answer(sdo::expeditedFrame(responseId(), sdo::scs::InitiateUpload, mux_, data_));
    } else {
        phase_ = Phase::Uploading;
        position_ = 0;
        toggle_ = false;
        answer(sdo::segmentedInitiateFrame(responseId(), sdo::scs::InitiateUpload, mux_, uint32_t(data_.size())));
    }
}

void SdoServer::uploadSegment(const CanFrame& frame)
{
    if (!checkSegment(frame, Phase::Uploading))
        return;
    QByteArray chunk = data_.mid(position_, sdo::SegmentBytes);
    position_ += chunk.size();
    bool last = position_ == data_.size();
    answer(sdo::segmentFrame(responseId(), sdo::scs::UploadSegment, toggle_, chunk, last));
    toggle_ = !toggle_;
    if (last)
        phase_ = Phase::Idle;
}

void SdoServer::initiateDownload(const CanFrame& frame)
{
    mux_ = sdo::muxOf(frame);
    sdo::Initiate initiate = sdo::parseInitiate(frame);
    if (initiate.expedited) {
        phase_ = Phase::Idle;
        uint32_t code = target_.writeObject(mux_.index, mux_.sub, initiate.data);
        if (code != 0)
            abortTransfer(mux_, code);
        else
            answer(sdo::initiateFrame(responseId(), sdo::scs::InitiateDownload, mux_));
        return;
    }
    phase_ = Phase::Downloading;
    data_.clear();
    toggle_ = false;
    sizeIndicated_ = initiate.sizeIndicated;
    size_ = initiate.size;
    answer(sdo::initiateFrame(responseId(), sdo::scs::InitiateDownload, mux_));
}

void SdoServer::downloadSegment(const CanFrame& frame)
{
    if (!checkSegment(frame, Phase::Downloading))
        return;
    sdo::Segment segment = sdo::parseSegment(frame);
    data_ += segment.data;
    if (sizeIndicated_ && uint32_t(data_.size()) > size_) {
        abortTransfer(mux_, sdoabort::LengthMismatch);
        return;
    }
    if (data_.size() > MaxDownload) {
        abortTransfer(mux_, sdoabort::OutOfMemory);
        return;
    }
    if (segment.last) {
        finishDownload();
        return;
    }
    answer(sdo::segmentAckFrame(responseId(), sdo::scs::DownloadSegment, toggle_));
    toggle_ = !toggle_;
}

// The last segment is confirmed only once the object has taken the data.
void SdoServer::finishDownload()
{
    phase_ = Phase::Idle;
    if (sizeIndicated_ && uint32_t(data_.size()) != size_) {
        abortTransfer(mux_, sdoabort::LengthMismatch);
        return;
    }
    uint32_t code = target_.writeObject(mux_.index, mux_.sub, data_);
    if (code != 0)
        abortTransfer(mux_, code);
    else
        answer(sdo::segmentAckFrame(responseId(), sdo::scs::DownloadSegment, toggle_));
}

bool SdoServer::checkSegment(const CanFrame& frame, Phase expected)
{
    if (phase_ != expected) {
        abortTransfer(phase_ == Phase::Idle ? sdo::Mux{} : mux_, sdoabort::InvalidCommand);
        return false;
    }
    if (sdo::toggleOf(frame) != toggle_) {
        abortTransfer(mux_, sdoabort::ToggleBit);
        return false;
    }
    return true;
}

void SdoServer::abortTransfer(sdo::Mux mux, uint32_t code)
{
    phase_ = Phase::Idle;
    answer(sdo::abortFrame(responseId(), mux, code));
}

void SdoServer::answer(const CanFrame& frame)
{
    if (faults_.answerLimit > 0)
        --faults_.answerLimit;
    const int delayMs = faults_.delayMs + nodeState_.answerDelayMs();
    if (delayMs > 0)
        bus_.sendAfter(frame, delayMs);
    else
        bus_.send(frame);
}
