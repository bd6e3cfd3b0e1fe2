#pragma once
#include "transport/can/lib/CanFrame.h"

#include <QString>
#include <cstdint>
#include <optional>

// NMT error control (boot-up and heartbeat, COB-ID 0x700 + node, one byte).
namespace errorcontrol {
constexpr uint16_t Base = 0x700;
constexpr uint8_t BootUp = 0x00;
constexpr uint8_t Stopped = 0x04;
constexpr uint8_t Operational = 0x05;
constexpr uint8_t PreOperational = 0x7F;
constexpr uint8_t ToggleBit = 0x80;   // node guarding answers carry it; heartbeats do not
}  // namespace errorcontrol

// A node's NMT state as the program knows it.
enum class NodeState { Unknown, PreOperational, Operational, Stopped, Lost };

// What is wrong with a frame that looked like a service's frame.
enum class FrameProblem { None, WrongLength, NodeZero, UnknownState };

struct ErrorControlFrame {
    uint8_t node = 0;
    uint8_t raw = 0;   // the state byte as sent
    bool bootUp = false;
    NodeState state = NodeState::Unknown;
    FrameProblem problem = FrameProblem::None;
};

// Nothing when the frame is not an error control frame (COB-ID outside 0x700..0x77F).
std::optional<ErrorControlFrame> decodeErrorControl(const CanFrame& frame);

// "pré-opérationnel", "opérationnel", ...
QString nodeStateText(NodeState state);
// Why a frame was not taken, for the log and the monitor.
QString frameProblemText(FrameProblem problem);
