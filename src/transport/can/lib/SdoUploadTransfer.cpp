#include "transport/can/lib/SdoUploadTransfer.h"

#include "core/ResultCodes.h"
#include "transport/can/lib/SdoAbortCodes.h"

#include <algorithm>

SdoUploadTransfer::SdoUploadTransfer(uint8_t node, sdo::Mux mux, int capacity)
    : SdoTransfer(node, mux), capacity_(capacity)
{
}

CanFrame SdoUploadTransfer::begin()
{
    return sdo::initiateFrame(requestId(), sdo::ccs::InitiateUpload, mux());
}

SdoStep SdoUploadTransfer::onResponse(const CanFrame& frame)
{
    return segmented_ ? onSegment(frame) : onInitiate(frame);
}

SdoStep SdoUploadTransfer::onInitiate(const CanFrame& frame)
{
    if (sdo::commandOf(frame) != sdo::scs::InitiateUpload || sdo::muxOf(frame) != mux())
        return {};
    sdo::Initiate initiate = sdo::parseInitiate(frame);
    if (initiate.expedited && !initiate.sizeIndicated)
        initiate.data.truncate(std::max(capacity_, 0));
    else if (initiate.size > uint32_t(capacity_))
        return abortTransfer(sdoabort::OutOfMemory, rc::CanOutOfMemory);
    if (initiate.expedited) {
        mutableOutcome().data = initiate.data;
        return succeed();
    }
    segmented_ = true;
    sizeIndicated_ = initiate.sizeIndicated;
    limit_ = sizeIndicated_ ? int(initiate.size) : capacity_;
    return requestSegment();
}

SdoStep SdoUploadTransfer::onSegment(const CanFrame& frame)
{
    if (sdo::commandOf(frame) != sdo::scs::UploadSegment)
        return {};
    sdo::Segment segment = sdo::parseSegment(frame);
    if (segment.toggle != toggle_)
        return abortTransfer(sdoabort::ToggleBit, rc::CanSdoAbort);
    QByteArray& data = mutableOutcome().data;
    // Segments that bring nothing must not go on for ever either.
    if (data.size() + segment.data.size() > limit_ || ++segments_ > limit_ / sdo::SegmentBytes + 1)
        return tooMuch();
    data += segment.data;
    if (!segment.last) {
        toggle_ = !toggle_;
        return requestSegment();
    }
    if (sizeIndicated_ && data.size() != limit_)
        return abortTransfer(sdoabort::LengthMismatch, rc::CanSdoAbort);
    return succeed();
}

SdoStep SdoUploadTransfer::tooMuch()
{
    mutableOutcome().data.clear();
    if (sizeIndicated_)
        return abortTransfer(sdoabort::LengthMismatch, rc::CanSdoAbort);
    return abortTransfer(sdoabort::OutOfMemory, rc::CanOutOfMemory);
}

SdoStep SdoUploadTransfer::requestSegment()
{
    return send(sdo::segmentAckFrame(requestId(), sdo::ccs::UploadSegment, toggle_));
}
