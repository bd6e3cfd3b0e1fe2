#include "transport/serial/SerialFrame.h"

namespace {

void putLittleEndian(QByteArray& bytes, uint32_t value, int width)
{
    for (int i = 0; i < width; ++i)
        bytes.append(char((value >> (8 * i)) & 0xFF));
}

uint32_t littleEndian(const char* bytes, int width)
{
    uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = (value << 8) | uint8_t(bytes[i]);
    return value;
}

}  // namespace

QByteArray SerialFrameHeader::encode() const
{
    QByteArray bytes;
    bytes.reserve(Size);
    bytes.append(char(command));
    putLittleEndian(bytes, index, 2);
    bytes.append(char(sub));
    bytes.append(char(status));
    bytes.append(char(reserved));
    putLittleEndian(bytes, length, 4);
    return bytes;
}

SerialFrameHeader SerialFrameHeader::decode(const char* bytes)
{
    SerialFrameHeader header;
    header.command = uint8_t(bytes[0]);
    header.index = uint16_t(littleEndian(bytes + 1, 2));
    header.sub = uint8_t(bytes[3]);
    header.status = uint8_t(bytes[4]);
    header.reserved = uint8_t(bytes[5]);
    header.length = littleEndian(bytes + 6, 4);
    return header;
}

bool SerialFrameHeader::echoes(const SerialFrameHeader& request) const
{
    return command == request.command && index == request.index && sub == request.sub;
}
