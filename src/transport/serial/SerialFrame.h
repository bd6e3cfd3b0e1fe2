#pragma once
#include <QByteArray>
#include <cstdint>

// The 10-byte header that starts every frame on the serial line, requests and
// replies alike; numbers least significant byte first. A write request and every
// reply carry `length` data bytes after it; a read request asks for `length` bytes.
struct SerialFrameHeader {
    static constexpr int Size = 10;
    static constexpr uint8_t Read = 1;
    static constexpr uint8_t Write = 2;

    uint8_t command = Read;
    uint16_t index = 0;
    uint8_t sub = 0;
    uint8_t status = 0;      // replies: 0 success, anything else an error
    uint8_t reserved = 0;
    uint32_t length = 0;

    QByteArray encode() const;
    // Decodes the first Size bytes of `bytes` (which must hold them).
    static SerialFrameHeader decode(const char* bytes);
    // Command, index and sub-index of a reply match those of its request.
    bool echoes(const SerialFrameHeader& request) const;
};
