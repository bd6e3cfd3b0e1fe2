#include "sim/can/CanRackServers.h"

// Every node listens before the first one boots up.
CanRackServers::CanRackServers(CanFrameBus& bus, const SimRack& rack)
{
    for (uint8_t id : rack.nodeIds())
        nodes_.emplace(id, std::make_unique<SimCanNode>(bus, *rack.node(id)));
    for (const auto& [id, node] : nodes_)
        node->bootUp();
}

SimCanNode* CanRackServers::node(uint8_t id) const
{
    const auto found = nodes_.find(id);
    return found == nodes_.end() ? nullptr : found->second.get();
}
