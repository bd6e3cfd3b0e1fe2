#include "transport/can/events/ErrorControl.h"

namespace {
NodeState stateOfByte(uint8_t raw)
{
    switch (raw & ~errorcontrol::ToggleBit) {
    case errorcontrol::Stopped:
        return NodeState::Stopped;
    case errorcontrol::Operational:
        return NodeState::Operational;
    case errorcontrol::PreOperational:
        return NodeState::PreOperational;
    default:
        return NodeState::Unknown;
    }
}
}  // namespace

std::optional<ErrorControlFrame> decodeErrorControl(const CanFrame& frame)
{
    if (frame.id < errorcontrol::Base || frame.id > errorcontrol::Base + 0x7F)
        return std::nullopt;
    ErrorControlFrame decoded;
    decoded.node = uint8_t(frame.id - errorcontrol::Base);
    decoded.raw = frame.data[0];
    if (frame.length != 1)
        decoded.problem = FrameProblem::WrongLength;
    else if (decoded.node == 0)
        decoded.problem = FrameProblem::NodeZero;
    else if (decoded.raw == errorcontrol::BootUp)
        decoded.bootUp = true;
    else if ((decoded.state = stateOfByte(decoded.raw)) == NodeState::Unknown)
        decoded.problem = FrameProblem::UnknownState;
    return decoded;
}

QString nodeStateText(NodeState state)
{
    switch (state) {
    case NodeState::PreOperational:
        return QStringLiteral("pré-opérationnel");
    case NodeState::Operational:
        return QStringLiteral("opérationnel");
    case NodeState::Stopped:
        return QStringLiteral("arrêté");
    case NodeState::Lost:
        return QStringLiteral("perdu");
    case NodeState::Unknown:
        break;
    }
    return QStringLiteral("inconnu");
}

QString frameProblemText(FrameProblem problem)
{
    switch (problem) {
    case FrameProblem::WrongLength:
        return QStringLiteral("longueur inattendue");
    case FrameProblem::NodeZero:
        return QStringLiteral("nœud 0");
    case FrameProblem::UnknownState:
        return QStringLiteral("état inconnu");
    case FrameProblem::None:
        break;
    }
    return {};
}
