#pragma once
#include "sim/amplifier/SimRack.h"
#include "sim/can/AmplifierSdoNode.h"
#include "sim/can/SdoServer.h"

#include <memory>
#include <vector>

// The amplifiers of a rack on a CAN frame bus: one SDO server per amplifier, each
// following its amplifier's faults and NMT state. Bus and rack outlive it.
class CanRackServers {
public:
    CanRackServers(CanFrameBus& bus, const SimRack& rack);
    CanRackServers(const CanRackServers&) = delete;
    CanRackServers& operator=(const CanRackServers&) = delete;

private:
    struct Served {
        std::unique_ptr<AmplifierSdoNode> node;
        std::unique_ptr<SdoServer> server;   // declared last: gone before its node
    };
    std::vector<Served> served_;
};
