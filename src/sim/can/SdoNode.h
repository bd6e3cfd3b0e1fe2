#pragma once
#include <cstdint>

// NMT states of a CANopen node, by their heartbeat codes.
enum class SdoNmtState : uint8_t { Stopped = 0x04, Operational = 0x05, PreOperational = 0x7F };

// What an NMT reset restarts: the whole node, or its communication only.
enum class NmtReset { Node, Communication };

// The node an SDO server speaks for, beyond its objects: whether it hears requests
// at all, how late it answers, and the NMT state that the NMT commands set. Keeping
// these in the node leaves one place to inject faults into (a simulated amplifier).
class SdoNode {
public:
    virtual ~SdoNode() = default;
    // True while the node hears no request (silenced, restarting, stopped, off the bus).
    virtual bool isSilent() const = 0;
    virtual int answerDelayMs() const = 0;
    virtual SdoNmtState nmtState() const = 0;
    virtual void setNmtState(SdoNmtState state) = 0;
    // After the reset the node is pre-operational.
    virtual void reset(NmtReset what) = 0;
};
