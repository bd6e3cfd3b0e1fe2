#pragma once
#include "sim/amplifier/SimRack.h"
#include "sim/can/SimCanNode.h"

#include <map>
#include <memory>

// The amplifiers of a rack as CANopen nodes on a CAN frame bus, each following its
// amplifier's faults and NMT state; they boot up as they join. Bus and rack outlive it.
class CanRackServers {
public:
    CanRackServers(CanFrameBus& bus, const SimRack& rack);
    CanRackServers(const CanRackServers&) = delete;
    CanRackServers& operator=(const CanRackServers&) = delete;

    // The node of that ID, or null.
    SimCanNode* node(uint8_t id) const;

private:
    std::map<uint8_t, std::unique_ptr<SimCanNode>> nodes_;
};
