#pragma once
#include "sim/amplifier/SimAmplifier.h"
#include "sim/can/SdoNode.h"

// A simulated amplifier as the node behind its SDO server: the amplifier's own
// faults and NMT state decide whether and when the server answers, so a fault is
// injected in one place whichever bus the amplifier is on.
class AmplifierSdoNode final : public SdoNode {
public:
    explicit AmplifierSdoNode(SimAmplifier& amplifier) : amplifier_(amplifier) {}

    // Also silent while the amplifier's CAN controller is bus off.
    bool isSilent() const override;
    int answerDelayMs() const override;
    SdoNmtState nmtState() const override;
    void setNmtState(SdoNmtState state) override;

private:
    SimAmplifier& amplifier_;
};
