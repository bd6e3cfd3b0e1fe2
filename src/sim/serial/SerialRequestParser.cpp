#include "sim/serial/SerialRequestParser.h"

namespace {

bool canStartRequest(const SerialFrameHeader& header)
{
    return (header.command == SerialFrameHeader::Read || header.command == SerialFrameHeader::Write) &&
           header.status == 0 && header.reserved == 0 && header.length <= SerialRequestParser::MaxLength;
}

}  // namespace

std::optional<SerialRequest> SerialRequestParser::next()
{
    while (buffer_.size() >= SerialFrameHeader::Size) {
        const SerialFrameHeader header = SerialFrameHeader::decode(buffer_.constData());
        if (!canStartRequest(header)) {
            buffer_.remove(0, 1);
            continue;
        }
        const qsizetype dataSize = header.command == SerialFrameHeader::Write ? qsizetype(header.length) : 0;
        if (buffer_.size() < SerialFrameHeader::Size + dataSize)
            return std::nullopt;
        SerialRequest request{header, buffer_.mid(SerialFrameHeader::Size, dataSize)};
        buffer_.remove(0, SerialFrameHeader::Size + dataSize);
        return request;
    }
    return std::nullopt;
}
