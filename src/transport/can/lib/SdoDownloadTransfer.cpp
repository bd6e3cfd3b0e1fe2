#include "transport/can/lib/SdoDownloadTransfer.h"

#include "core/ResultCodes.h"
#include "transport/can/lib/SdoAbortCodes.h"

SdoDownloadTransfer::SdoDownloadTransfer(uint8_t node, sdo::Mux mux, QByteArray data)
    : SdoTransfer(node, mux), data_(std::move(data))
{
}

bool SdoDownloadTransfer::expedited() const
{
    return !data_.isEmpty() && data_.size() <= sdo::ExpeditedBytes;
}

CanFrame SdoDownloadTransfer::begin()
{
    if (expedited())
        return sdo::expeditedFrame(requestId(), sdo::ccs::InitiateDownload, mux(), data_);
    return sdo::segmentedInitiateFrame(requestId(), sdo::ccs::InitiateDownload, mux(), uint32_t(data_.size()));
}

SdoStep SdoDownloadTransfer::onResponse(const CanFrame& frame)
{
    return segmented_ ? onSegment(frame) : onInitiate(frame);
}

SdoStep SdoDownloadTransfer::onInitiate(const CanFrame& frame)
{
    if (sdo::commandOf(frame) != sdo::scs::InitiateDownload || sdo::muxOf(frame) != mux())
        return {};
    if (expedited())
        return succeed();
    segmented_ = true;
    return sendSegment();
}

SdoStep SdoDownloadTransfer::onSegment(const CanFrame& frame)
{
    if (sdo::commandOf(frame) != sdo::scs::DownloadSegment)
        return {};
    if (sdo::toggleOf(frame) != toggle_)
        return abortTransfer(sdoabort::ToggleBit, rc::CanSdoAbort);
    if (sent_ == data_.size())
        return succeed();
    toggle_ = !toggle_;
    return sendSegment();
}

SdoStep SdoDownloadTransfer::sendSegment()
{
    QByteArray chunk = data_.mid(sent_, sdo::SegmentBytes);
    sent_ += chunk.size();
    bool last = sent_ == data_.size();
    return send(sdo::segmentFrame(requestId(), sdo::ccs::DownloadSegment, toggle_, chunk, last));
}
