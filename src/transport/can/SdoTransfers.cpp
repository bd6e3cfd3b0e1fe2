#include "transport/can/SdoTransfers.h"

int32_t SDO_ReadBytes(CanLibrary& can, uint8_t node, uint16_t index, uint8_t sub, QByteArray& bytes,
                      int32_t& length)
{
    bytes.resize(length);
    const int32_t result = can.upload(node, index, sub, reinterpret_cast<uint8_t*>(bytes.data()), length);
    bytes.resize(qBound(0, length, int32_t(bytes.size())));
    return result;
}

int32_t SDO_WriteBytes(CanLibrary& can, uint8_t node, uint16_t index, uint8_t sub,
                       const QByteArray& bytes)
{
    return can.download(node, index, sub, reinterpret_cast<const uint8_t*>(bytes.constData()),
                        int32_t(bytes.size()));
}
