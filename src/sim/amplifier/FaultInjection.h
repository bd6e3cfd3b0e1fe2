#pragma once
#include "sim/amplifier/ObjectEntry.h"

#include <QByteArray>
#include <map>
#include <optional>

enum class SimDirection { Read, Write };

// Faults injected into a simulated amplifier: silence, answer delay, refusals
// with an abort code (for every object or for one), values stuck at fixed bytes,
// the CAN bus status word.
class FaultInjection {
public:
    bool silent = false;
    int answerDelayMs = 0;
    uint8_t busStatus = 0;

    void refuseAll(SimDirection direction, uint32_t abortCode);
    void refuseAt(SimDirection direction, ObjectKey key, uint32_t abortCode);
    // The abort code of an injected refusal, 0 when the request may pass.
    uint32_t refusal(SimDirection direction, ObjectKey key) const;
    // Reads of the object answer these bytes whatever it holds (empty lifts it).
    void stickAt(ObjectKey key, const QByteArray& bytes);
    std::optional<QByteArray> stuck(ObjectKey key) const;
    void clear();

private:
    uint32_t allReads_ = 0;
    uint32_t allWrites_ = 0;
    std::map<ObjectKey, uint32_t> reads_;
    std::map<ObjectKey, uint32_t> writes_;
    std::map<ObjectKey, QByteArray> stuck_;
};
