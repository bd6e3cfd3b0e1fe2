#pragma once
#include "sim/amplifier/ObjectEntry.h"

#include <QByteArray>
#include <map>
#include <optional>
#include <set>

enum class SimDirection { Read, Write };

// Conditions a simulated amplifier can be put in, as a real one meets them: its
// status words show those it measures, its CANopen node reports each by EMCY.
enum class DeviceFault {
    InputOverload,     // the input signal beyond the range
    SensorBreak,       // the sensor or its cable broken
    Excitation,        // the bridge excitation out of tolerance
    SupplyLow,         // the supply voltage too low
    Overheating,       // the device too hot
    CanOverrun,        // the CAN controller lost received messages
    CanErrorPassive,   // the CAN controller is error passive
};

// Faults injected into a simulated amplifier: silence, answer delay, refusals
// with an abort code (for every object or for one), values stuck at fixed bytes,
// the CAN bus status word, device conditions.
class FaultInjection {
public:
    bool silent = false;
    int answerDelayMs = 0;
    uint8_t busStatus = 0;
    std::set<DeviceFault> conditions;

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
