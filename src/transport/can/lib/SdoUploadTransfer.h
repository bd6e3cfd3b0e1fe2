#pragma once
#include "transport/can/lib/SdoTransfer.h"

// Client upload (read) of one object, expedited or segmented, into at most
// `capacity` bytes. A longer answer ends with -16502 and the abort 0x05040005.
class SdoUploadTransfer final : public SdoTransfer {
public:
    SdoUploadTransfer(uint8_t node, sdo::Mux mux, int capacity);
    CanFrame begin() override;

protected:
    SdoStep onResponse(const CanFrame& frame) override;

private:
    SdoStep onInitiate(const CanFrame& frame);
    SdoStep onSegment(const CanFrame& frame);
    SdoStep requestSegment();

    int capacity_;
    bool segmented_ = false;
    bool toggle_ = false;
};
