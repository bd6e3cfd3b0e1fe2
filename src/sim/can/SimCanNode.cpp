#include "sim/can/SimCanNode.h"

#include "sim/amplifier/StandardObjects.h"
#include "sim/can/EmcyFaults.h"
#include "transport/can/events/Emcy.h"

namespace {
constexpr uint64_t CobIdInvalid = 0x80000000;   // bit 31 of 0x1014: no EMCY
constexpr uint64_t CobIdMask = 0x7FF;
}  // namespace

SimCanNode::SimCanNode(CanFrameBus& bus, SimAmplifier& amplifier)
    : bus_(bus),
      amplifier_(amplifier),
      errorControl_(bus, amplifier.nodeId(),
                    {[this] { return heartbeatState(); }, [this] { return heartbeatPeriodMs(); }}),
      bootTimer_(bus),
      server_(std::make_unique<SdoServer>(bus, amplifier.nodeId(), *this, this))
{
}

void SimCanNode::bootUp()
{
    errorControl_.bootUp();
    for (const DeviceFault fault : amplifier_.deviceFaults()) {
        const uint16_t code = emcyFaultOf(fault).code;
        errors_.add(code);
        sendEmcy(code);
    }
}

void SimCanNode::reboot()
{
    amplifier_.restart();
    restarted();
}

void SimCanNode::restarted()
{
    errorControl_.stop();
    errors_.clear();
    bootTimer_.start(amplifier_.restartSilence(), [this] { bootUp(); });
}

void SimCanNode::setOnBus(bool on)
{
    onBus_ = on;
    if (on) {
        reboot();
        return;
    }
    errorControl_.stop();
    bootTimer_.stop();
}

void SimCanNode::setFault(DeviceFault fault, bool active)
{
    if (!amplifier_.setDeviceFault(fault, active))
        return;
    const uint16_t code = active ? emcyFaultOf(fault).code : emcy::NoError;
    if (active)
        errors_.add(code);
    sendEmcy(code);
}

uint8_t SimCanNode::errorRegister() const
{
    return errorRegisterOf(amplifier_.deviceFaults());
}

bool SimCanNode::isSilent() const
{
    return !hearsBus() || amplifier_.isSilent();
}

int SimCanNode::answerDelayMs() const
{
    return amplifier_.answerDelayMs();
}

SdoNmtState SimCanNode::nmtState() const
{
    switch (amplifier_.nmtState()) {
    case NmtState::Operational: return SdoNmtState::Operational;
    case NmtState::Stopped: return SdoNmtState::Stopped;
    case NmtState::PreOperational: break;
    }
    return SdoNmtState::PreOperational;
}

void SimCanNode::setNmtState(SdoNmtState state)
{
    if (!hearsBus())
        return;
    switch (state) {
    case SdoNmtState::Operational: amplifier_.setNmtState(NmtState::Operational); break;
    case SdoNmtState::Stopped: amplifier_.setNmtState(NmtState::Stopped); break;
    case SdoNmtState::PreOperational: amplifier_.setNmtState(NmtState::PreOperational); break;
    }
}

// Reset node restarts the whole amplifier; reset communication only brings back the
// stored communication objects, at once.
void SimCanNode::reset(NmtReset what)
{
    if (!hearsBus())
        return;
    if (what == NmtReset::Node) {
        reboot();
        return;
    }
    amplifier_.resetCommunication();
    errors_.clear();
    bootUp();
}

uint32_t SimCanNode::readObject(uint16_t index, uint8_t sub, QByteArray& data)
{
    if (index == stdobj::ErrorRegister) {
        if (sub != 0)
            return sdoabort::NoSubIndex;
        data = QByteArray(1, char(errorRegister()));
        return 0;
    }
    if (index == stdobj::ErrorField)
        return errors_.read(sub, data);
    return amplifier_.readObject(index, sub, data);
}

uint32_t SimCanNode::writeObject(uint16_t index, uint8_t sub, const QByteArray& data)
{
    if (index == stdobj::ErrorRegister)
        return sub == 0 ? sdoabort::ReadOnly : sdoabort::NoSubIndex;
    if (index == stdobj::ErrorField)
        return errors_.write(sub, data);
    const uint32_t restarts = amplifier_.restartCount();
    const uint32_t code = amplifier_.writeObject(index, sub, data);
    if (code != 0)
        return code;
    if (amplifier_.restartCount() != restarts)
        restarted();
    else if (index == stdobj::HeartbeatTime && sub == 0)
        errorControl_.restartHeartbeat();
    return 0;
}

bool SimCanNode::hearsBus() const
{
    return onBus_ && !(amplifier_.busStatus() & canstatus::BusOff);
}

bool SimCanNode::canSend() const
{
    return hearsBus() && !amplifier_.isSilenced();
}

std::optional<uint8_t> SimCanNode::heartbeatState() const
{
    return canSend() ? std::optional<uint8_t>(uint8_t(nmtState())) : std::nullopt;
}

int SimCanNode::heartbeatPeriodMs() const
{
    return int(amplifier_.unsignedAt({stdobj::HeartbeatTime, 0}));
}

void SimCanNode::sendEmcy(uint16_t code)
{
    const uint64_t cobId = amplifier_.unsignedAt({stdobj::EmcyCobId, 0});
    if (canSend() && !(cobId & CobIdInvalid))
        bus_.send(emcyFrame(uint16_t(cobId & CobIdMask), code, errorRegister()));
}
