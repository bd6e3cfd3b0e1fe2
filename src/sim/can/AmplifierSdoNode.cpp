#include "sim/can/AmplifierSdoNode.h"

#include "transport/can/lib/CanFrame.h"

bool AmplifierSdoNode::isSilent() const
{
    return amplifier_.isSilent() || (amplifier_.busStatus() & canstatus::BusOff);
}

int AmplifierSdoNode::answerDelayMs() const
{
    return amplifier_.answerDelayMs();
}

SdoNmtState AmplifierSdoNode::nmtState() const
{
    switch (amplifier_.nmtState()) {
    case NmtState::Operational: return SdoNmtState::Operational;
    case NmtState::Stopped: return SdoNmtState::Stopped;
    case NmtState::PreOperational: break;
    }
    return SdoNmtState::PreOperational;
}

void AmplifierSdoNode::setNmtState(SdoNmtState state)
{
    switch (state) {
    case SdoNmtState::Operational: amplifier_.setNmtState(NmtState::Operational); break;
    case SdoNmtState::Stopped: amplifier_.setNmtState(NmtState::Stopped); break;
    case SdoNmtState::PreOperational: amplifier_.setNmtState(NmtState::PreOperational); break;
    }
}
