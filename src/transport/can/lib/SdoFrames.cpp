#include "transport/can/lib/SdoFrames.h"

#include <algorithm>

namespace sdo {
namespace {

constexpr uint8_t ExpeditedFlag = 0x02;
constexpr uint8_t SizeFlag = 0x01;
constexpr uint8_t ToggleFlag = 0x10;
constexpr uint8_t LastFlag = 0x01;

CanFrame emptyFrame(uint16_t cobId, uint8_t byte0)
{
    CanFrame frame;
    frame.id = cobId;
    frame.length = 8;
    frame.data[0] = byte0;
    return frame;
}

CanFrame muxFrame(uint16_t cobId, uint8_t byte0, Mux mux)
{
    CanFrame frame = emptyFrame(cobId, byte0);
    frame.data[1] = uint8_t(mux.index & 0xFF);
    frame.data[2] = uint8_t(mux.index >> 8);
    frame.data[3] = mux.sub;
    return frame;
}

void putLong(CanFrame& frame, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        frame.data[4 + i] = uint8_t(value >> (8 * i));
}

uint32_t longAt(const CanFrame& frame)
{
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= uint32_t(frame.data[4 + i]) << (8 * i);
    return value;
}

QByteArray bytesAt(const CanFrame& frame, int first, int count)
{
    return QByteArray(reinterpret_cast<const char*>(frame.data.data()) + first, count);
}

uint8_t unusedBits(int unused, int shift)
{
    return uint8_t(unused << shift);
}

}  // namespace

uint8_t commandOf(const CanFrame& frame)
{
    return frame.data[0] >> 5;
}

Mux muxOf(const CanFrame& frame)
{
    return {uint16_t(frame.data[1] | (frame.data[2] << 8)), frame.data[3]};
}

uint32_t abortCodeOf(const CanFrame& frame)
{
    return longAt(frame);
}

bool toggleOf(const CanFrame& frame)
{
    return frame.data[0] & ToggleFlag;
}

CanFrame abortFrame(uint16_t cobId, Mux mux, uint32_t code)
{
    CanFrame frame = muxFrame(cobId, uint8_t(Abort << 5), mux);
    putLong(frame, code);
    return frame;
}

CanFrame initiateFrame(uint16_t cobId, uint8_t command, Mux mux)
{
    return muxFrame(cobId, uint8_t(command << 5), mux);
}

CanFrame expeditedFrame(uint16_t cobId, uint8_t command, Mux mux, const QByteArray& data)
{
    int count = int(std::min<qsizetype>(data.size(), ExpeditedBytes));
    uint8_t byte0 = uint8_t(command << 5) | unusedBits(ExpeditedBytes - count, 2) | ExpeditedFlag | SizeFlag;
    CanFrame frame = muxFrame(cobId, byte0, mux);
    for (int i = 0; i < count; ++i)
        frame.data[4 + i] = uint8_t(data[i]);
    return frame;
}

CanFrame segmentedInitiateFrame(uint16_t cobId, uint8_t command, Mux mux, uint32_t size)
{
    CanFrame frame = muxFrame(cobId, uint8_t(command << 5) | SizeFlag, mux);
    putLong(frame, size);
    return frame;
}

CanFrame segmentFrame(uint16_t cobId, uint8_t command, bool toggle, const QByteArray& chunk, bool last)
{
    int count = int(std::min<qsizetype>(chunk.size(), SegmentBytes));
    uint8_t byte0 = uint8_t(command << 5) | (toggle ? ToggleFlag : 0) |
                    unusedBits(SegmentBytes - count, 1) | (last ? LastFlag : 0);
    CanFrame frame = emptyFrame(cobId, byte0);
    for (int i = 0; i < count; ++i)
        frame.data[1 + i] = uint8_t(chunk[i]);
    return frame;
}

CanFrame segmentAckFrame(uint16_t cobId, uint8_t command, bool toggle)
{
    return emptyFrame(cobId, uint8_t(command << 5) | (toggle ? ToggleFlag : 0));
}

Initiate parseInitiate(const CanFrame& frame)
{
    Initiate initiate;
    uint8_t byte0 = frame.data[0];
    initiate.expedited = byte0 & ExpeditedFlag;
    initiate.sizeIndicated = byte0 & SizeFlag;
    if (initiate.expedited) {
        int unused = initiate.sizeIndicated ? (byte0 >> 2) & 0x03 : 0;
        initiate.data = bytesAt(frame, 4, ExpeditedBytes - unused);
        initiate.size = uint32_t(initiate.data.size());
    } else if (initiate.sizeIndicated) {
        initiate.size = longAt(frame);
    }
    return initiate;
}

Segment parseSegment(const CanFrame& frame)
{
    uint8_t byte0 = frame.data[0];
    int unused = (byte0 >> 1) & 0x07;
    return {bool(byte0 & ToggleFlag), bool(byte0 & LastFlag), bytesAt(frame, 1, SegmentBytes - unused)};
}

}  // namespace sdo
