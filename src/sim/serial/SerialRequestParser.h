#pragma once
#include "transport/serial/SerialFrame.h"

#include <QByteArray>
#include <optional>

struct SerialRequest {
    SerialFrameHeader header;
    QByteArray data;  // the bytes of a write
};

// Cuts the bytes arriving on the amplifier's side of the line into requests.
// Bytes that cannot start a request header (unknown command, non-zero status or
// reserved byte, absurd length) are skipped one by one; a frame left incomplete
// when the line falls quiet is forgotten (reset), the pause the client makes
// before its resynchronising flush.
class SerialRequestParser {
public:
    static constexpr uint32_t MaxLength = 65536;

    void feed(const QByteArray& bytes) { buffer_ += bytes; }
    // The next complete request, if one has arrived.
    std::optional<SerialRequest> next();
    bool pending() const { return !buffer_.isEmpty(); }
    void reset() { buffer_.clear(); }

private:
    QByteArray buffer_;
};
