#include "sim/can/SimCanNet.h"

#include "core/ResultCodes.h"
#include "sim/can/CanRackServers.h"
#include "sim/can/SimClock.h"
#include "sim/can/WallClockDriver.h"

std::unique_ptr<SimCanNet> SimCanNet::create(const std::vector<SimRackEntry>& entries, Time time, QString* reason)
{
    std::unique_ptr<SimCanNet> net(new SimCanNet);
    if (net->rack_.build(entries, reason) != rc::Ok)
        return nullptr;
    if (time == Time::WallClock)
        net->rack_.setTimeSource(elapsedTimeSource());
    else
        net->rack_.setTimeSource([bus = net.get()] { return bus->clock().nowMs(); });
    net->servers_ = std::make_unique<CanRackServers>(*net, net->rack_);
    if (time == Time::WallClock)
        net->driver_ = std::make_unique<WallClockDriver>(*net);
    return net;
}

SimCanNet::~SimCanNet()
{
    // Time stops first; the servers listen on this bus: they leave it while it is still whole.
    driver_.reset();
    servers_.reset();
}

SimCanNode* SimCanNet::node(uint8_t id) const
{
    return servers_->node(id);
}

bool SimCanNet::send(const CanFrame& frame)
{
    return !(amplifierStatus() & canstatus::BusOff) && InProcessCanBus::send(frame);
}

uint32_t SimCanNet::status() const
{
    return InProcessCanBus::status() | amplifierStatus();
}

void SimCanNet::reset()
{
    InProcessCanBus::reset();
    for (uint8_t id : rack_.nodeIds())
        rack_.node(id)->setBusStatus(0);
}

uint32_t SimCanNet::amplifierStatus() const
{
    uint32_t bits = 0;
    for (uint8_t id : rack_.nodeIds())
        bits |= rack_.node(id)->busStatus();
    return bits;
}

std::unique_ptr<SimCanNet> createDemoCanNet(const QString& descriptionFolder, SimCanNet::Time time, QString* reason)
{
    return SimCanNet::create(demoRackEntries(descriptionFolder), time, reason);
}
