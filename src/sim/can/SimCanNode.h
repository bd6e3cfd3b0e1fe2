#pragma once
#include "sim/amplifier/SimAmplifier.h"
#include "sim/can/BusTimer.h"
#include "sim/can/ErrorControlProducer.h"
#include "sim/can/ErrorField.h"
#include "sim/can/SdoNode.h"
#include "sim/can/SdoServer.h"

#include <atomic>
#include <memory>

// One simulated amplifier as a CANopen node on a frame bus: it answers SDO, obeys
// NMT (a reset restarts it and it boots up again), sends its boot-up, heartbeat and
// emergency messages, and keeps the objects only its CAN side has: the error
// register (0x1001) and the pre-defined error field (0x1003). The amplifier's own
// faults decide whether and when it answers, so that a fault is injected in one
// place whichever bus the amplifier is on. Bus and amplifier outlive it; thread-safe.
class SimCanNode final : public SdoNode, public SdoTarget {
public:
    SimCanNode(CanFrameBus& bus, SimAmplifier& amplifier);
    SimCanNode(const SimCanNode&) = delete;
    SimCanNode& operator=(const SimCanNode&) = delete;

    // Announces the node: boot-up, heartbeats, an EMCY for each fault still there.
    void bootUp();
    // A power cycle: silent while the amplifier restarts, then boot-up.
    void reboot();
    // Off the bus the node hears, answers and sends nothing; back on, it starts as
    // a device powered again.
    void setOnBus(bool on);
    // A fault starts (EMCY with its code) or ends (EMCY "no error" with the register
    // left); nothing when it already was so.
    void setFault(DeviceFault fault, bool active);
    uint8_t errorRegister() const;

    // Also silent while off the bus or bus off.
    bool isSilent() const override;
    int answerDelayMs() const override;
    SdoNmtState nmtState() const override;
    void setNmtState(SdoNmtState state) override;
    void reset(NmtReset what) override;

    // 0x1001 and 0x1003 are the node's, the other objects the amplifier's.
    uint32_t readObject(uint16_t index, uint8_t sub, QByteArray& data) override;
    uint32_t writeObject(uint16_t index, uint8_t sub, const QByteArray& data) override;

private:
    bool hearsBus() const;   // on the bus and not bus off
    bool canSend() const;    // hears the bus and is not silenced
    std::optional<uint8_t> heartbeatState() const;
    int heartbeatPeriodMs() const;
    void restarted();        // silent for the restart, then boot-up
    void sendEmcy(uint16_t code);

    CanFrameBus& bus_;
    SimAmplifier& amplifier_;
    std::atomic<bool> onBus_{true};
    ErrorField errors_;
    ErrorControlProducer errorControl_;
    BusTimer bootTimer_;
    std::unique_ptr<SdoServer> server_;   // last: leaves the bus first
};
