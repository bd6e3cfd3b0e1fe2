#pragma once
#include "transport/can/lib/CanFrame.h"

#include <QByteArray>
#include <cstdint>

// The SDO frame layouts of CiA 301 (expedited and segmented transfer, abort), for
// both ends: the client's requests and the server's responses share the layouts, so
// each builder takes the COB-ID and the command specifier.
namespace sdo {

constexpr uint16_t RequestBase = 0x600;    // client -> server, + node ID
constexpr uint16_t ResponseBase = 0x580;   // server -> client, + node ID
constexpr uint16_t NmtId = 0x000;
constexpr int SegmentBytes = 7;
constexpr int ExpeditedBytes = 4;

// Command specifiers, the top three bits of byte 0.
namespace ccs {
constexpr uint8_t DownloadSegment = 0;
constexpr uint8_t InitiateDownload = 1;
constexpr uint8_t InitiateUpload = 2;
constexpr uint8_t UploadSegment = 3;
}  // namespace ccs
namespace scs {
constexpr uint8_t UploadSegment = 0;
constexpr uint8_t DownloadSegment = 1;
constexpr uint8_t InitiateUpload = 2;
constexpr uint8_t InitiateDownload = 3;
}  // namespace scs
constexpr uint8_t Abort = 4;

// NMT command specifiers (frame 0x000: command, node ID or 0 for all).
namespace nmt {
constexpr uint8_t Start = 0x01;
constexpr uint8_t Stop = 0x02;
constexpr uint8_t EnterPreOperational = 0x80;
constexpr uint8_t ResetNode = 0x81;
constexpr uint8_t ResetCommunication = 0x82;
}  // namespace nmt

struct Mux {
    uint16_t index = 0;
    uint8_t sub = 0;
    friend bool operator==(const Mux&, const Mux&) = default;
};

uint8_t commandOf(const CanFrame& frame);
Mux muxOf(const CanFrame& frame);
uint32_t abortCodeOf(const CanFrame& frame);
bool toggleOf(const CanFrame& frame);

// Abort transfer: 0x80, multiplexer, abort code least significant byte first.
CanFrame abortFrame(uint16_t cobId, Mux mux, uint32_t code);
// Initiate frame without data: upload request (0x40), download response (0x60).
CanFrame initiateFrame(uint16_t cobId, uint8_t command, Mux mux);
// Expedited initiate carrying 1..4 bytes with size indicated.
CanFrame expeditedFrame(uint16_t cobId, uint8_t command, Mux mux, const QByteArray& data);
// Segmented initiate with the size indicated.
CanFrame segmentedInitiateFrame(uint16_t cobId, uint8_t command, Mux mux, uint32_t size);
// Segment carrying 0..7 bytes: toggle, unused bytes, last-segment flag.
CanFrame segmentFrame(uint16_t cobId, uint8_t command, bool toggle, const QByteArray& chunk, bool last);
// Segment request or confirmation: command and toggle only.
CanFrame segmentAckFrame(uint16_t cobId, uint8_t command, bool toggle);

// Decoded initiate frame carrying data or a size (download request, upload response).
struct Initiate {
    bool expedited = false;
    bool sizeIndicated = false;
    uint32_t size = 0;     // segmented: the announced size
    QByteArray data;       // expedited: the data bytes
};
Initiate parseInitiate(const CanFrame& frame);

struct Segment {
    bool toggle = false;
    bool last = false;
    QByteArray data;
};
Segment parseSegment(const CanFrame& frame);

}  // namespace sdo
