#pragma once
#include <QByteArray>
#include <cstdint>
#include <deque>
#include <mutex>

// The pre-defined error field (0x1003) of a node: sub-index 0 holds the number of
// errors kept (UNSIGNED8), sub-index 1 the newest, each an UNSIGNED32 with the error
// code in its low 16 bits and the manufacturer's information (none: 0) in its high
// ones. Writing 0 to sub-index 0 empties it. Thread-safe.
class ErrorField {
public:
    static constexpr int Capacity = 8;   // the oldest error beyond is dropped

    void add(uint16_t code);
    void clear();
    // SDO access: 0 or the abort code; an error sub-index beyond the count has no data.
    uint32_t read(uint8_t sub, QByteArray& data) const;
    uint32_t write(uint8_t sub, const QByteArray& data);

private:
    mutable std::mutex mutex_;
    std::deque<uint32_t> errors_;   // newest first
};
