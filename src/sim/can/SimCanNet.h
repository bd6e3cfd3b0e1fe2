#pragma once
#include "sim/amplifier/SimRack.h"
#include "transport/can/lib/InProcessCanBus.h"

#include <QString>
#include <memory>
#include <vector>

class CanRackServers;
class SimCanNode;
class WallClockDriver;

// A simulated CAN net in memory: an in-process bus with a rack of simulated
// amplifiers, each a CANopen node of its own. The bus also reports the bus status
// bits injected into the amplifiers (a bus-off amplifier takes the bus off), and a
// controller reset clears them. On the wall clock the bus's time runs by itself.
class SimCanNet final : public InProcessCanBus {
public:
    // The amplifiers' clock: the wall clock, so that the measured values move while
    // the program runs, or the bus's virtual clock, so that a test's time-outs also
    // run the amplifiers' time (a restart's silence) at no cost.
    enum class Time { WallClock, Virtual };

    // Nothing when the rack cannot be built (*reason tells why).
    static std::unique_ptr<SimCanNet> create(const std::vector<SimRackEntry>& entries, Time time,
                                             QString* reason = nullptr);
    ~SimCanNet() override;

    SimRack& rack() { return rack_; }
    // The CANopen node of that ID (reboot, off and on the bus, faults), or null.
    SimCanNode* node(uint8_t id) const;

    bool send(const CanFrame& frame) override;
    uint32_t status() const override;
    void reset() override;

private:
    SimCanNet() = default;
    uint32_t amplifierStatus() const;

    SimRack rack_;
    std::unique_ptr<CanRackServers> servers_;
    std::unique_ptr<WallClockDriver> driver_;
};

// The net "Démo" of the built-in hardware "Simulation": the demo rack (QSG2 at node
// 3, QSN2 at 17, QSG2 at 42) from the descriptions in descriptionFolder.
std::unique_ptr<SimCanNet> createDemoCanNet(const QString& descriptionFolder, SimCanNet::Time time,
                                            QString* reason = nullptr);
