#pragma once
#include "transport/can/lib/SdoTransfer.h"

// Client upload (read) of one object, expedited or segmented, into at most
// `capacity` bytes. A longer answer ends with -16502 and the abort 0x05040005; a
// segmented answer that does not deliver the size it announced ends with -16503 and
// the abort 0x06070010. An expedited answer without a size gives the frame's four
// bytes, cut to the capacity.
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
    // Ends a segmented answer that brings more than it may.
    SdoStep tooMuch();

    int capacity_;
    bool segmented_ = false;
    bool toggle_ = false;
    bool sizeIndicated_ = false;
    int limit_ = 0;      // bytes the segments may bring: the announced size or the capacity
    int segments_ = 0;
};
