#include "transport/can/lib/SdoUploadTransfer.h"

#include "core/ResultCodes.h"
#include "transport/can/lib/SdoAbortCodes.h"

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
    if (sdo::commandOf(frame) != sdo::scs::InitiateUpload)
        return abortTransfer(sdoabort::InvalidCommand, rc::CanSdoAbort);
    if (sdo::muxOf(frame) != mux())
        return {};
    sdo::Initiate initiate = sdo::parseInitiate(frame);
    if (initiate.size > uint32_t(capacity_))
        return abortTransfer(sdoabort::OutOfMemory, rc::CanOutOfMemory);
    if (initiate.expedited) {
        mutableOutcome().data = initiate.data;
        return succeed();
    }
    segmented_ = true;
    return requestSegment();
}

SdoStep SdoUploadTransfer::onSegment(const CanFrame& frame)
{
    if (sdo::commandOf(frame) != sdo::scs::UploadSegment)
        return abortTransfer(sdoabort::InvalidCommand, rc::CanSdoAbort);
    sdo::Segment segment = sdo::parseSegment(frame);
    if (segment.toggle != toggle_)
        return abortTransfer(sdoabort::ToggleBit, rc::CanSdoAbort);
    QByteArray& data = mutableOutcome().data;
    if (data.size() + segment.data.size() > capacity_)
        return abortTransfer(sdoabort::OutOfMemory, rc::CanOutOfMemory);
    data += segment.data;
    if (segment.last)
        return succeed();
    toggle_ = !toggle_;
    return requestSegment();
}

SdoStep SdoUploadTransfer::requestSegment()
{
    return send(sdo::segmentAckFrame(requestId(), sdo::ccs::UploadSegment, toggle_));
}
