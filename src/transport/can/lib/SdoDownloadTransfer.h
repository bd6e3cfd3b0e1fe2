#pragma once
#include "transport/can/lib/SdoTransfer.h"

// Client download (write) of one object: expedited for 1 to 4 bytes, segmented
// with the size indicated otherwise (an empty object is one empty last segment).
class SdoDownloadTransfer final : public SdoTransfer {
public:
    SdoDownloadTransfer(uint8_t node, sdo::Mux mux, QByteArray data);
    CanFrame begin() override;

protected:
    SdoStep onResponse(const CanFrame& frame) override;

private:
    bool expedited() const;
    SdoStep onInitiate(const CanFrame& frame);
    SdoStep onSegment(const CanFrame& frame);
    SdoStep sendSegment();

    QByteArray data_;
    bool segmented_ = false;
    bool toggle_ = false;
    qsizetype sent_ = 0;
};
