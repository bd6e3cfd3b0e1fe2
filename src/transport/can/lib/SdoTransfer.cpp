#include "transport/can/lib/SdoTransfer.h"

#include "core/ResultCodes.h"
#include "transport/can/lib/SdoAbortCodes.h"

SdoStep SdoTransfer::onFrame(const CanFrame& frame)
{
    if (frame.id != sdo::ResponseBase + node_)
        return {};
    const uint8_t command = sdo::commandOf(frame);
    if (command > sdo::Abort)
        return abortTransfer(sdoabort::InvalidCommand, rc::CanSdoAbort);
    if (command != sdo::Abort)
        return onResponse(frame);
    // An abort for another object is a late one of an earlier transfer.
    if (sdo::muxOf(frame) != mux_)
        return {};
    outcome_.result = rc::CanSdoAbort;
    outcome_.abortCode = sdo::abortCodeOf(frame);
    return {std::nullopt, true};
}

SdoStep SdoTransfer::timeOut()
{
    return abortTransfer(sdoabort::Timeout, rc::CanTimeout);
}

void SdoTransfer::fail(int32_t result)
{
    outcome_.result = result;
}

SdoStep SdoTransfer::succeed()
{
    outcome_.result = rc::Ok;
    return {std::nullopt, true};
}

SdoStep SdoTransfer::abortTransfer(uint32_t code, int32_t result)
{
    outcome_.result = result;
    outcome_.abortCode = code;
    return {sdo::abortFrame(requestId(), mux_, code), true};
}
