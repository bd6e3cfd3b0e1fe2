#include "sim/can/CanRackServers.h"

CanRackServers::CanRackServers(CanFrameBus& bus, const SimRack& rack)
{
    for (uint8_t id : rack.nodeIds()) {
        SimAmplifier& amplifier = *rack.node(id);
        Served served;
        served.node = std::make_unique<AmplifierSdoNode>(amplifier);
        served.server = std::make_unique<SdoServer>(bus, id, amplifier, served.node.get());
        served_.push_back(std::move(served));
    }
}
