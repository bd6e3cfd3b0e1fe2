#pragma once
#include "sim/amplifier/SimAmplifier.h"
#include "sim/amplifier/SimRack.h"
#include "sim/can/CanRackServers.h"
#include "support/Bytes.h"
#include "transport/can/lib/InProcessCanBus.h"

#include <QByteArray>
#include <QTemporaryDir>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <vector>

// A small description with every parameter kind, written to a temporary folder,
// and amplifiers built from it.
namespace amptest {

constexpr uint32_t Vendor = 858;
constexpr uint32_t Product = 77;
constexpr uint8_t Node = 5;

QByteArray testDescription();
// The identity the tests give: vendor 858, product 77, serial "123456", node 5.
SimIdentity testIdentity();

class TestAmplifier {
public:
    TestAmplifier();
    SimAmplifier& operator*() { return *amplifier_; }
    SimAmplifier* operator->() { return amplifier_.get(); }
    QString descriptionPath() const;

private:
    QTemporaryDir folder_;
    std::unique_ptr<SimAmplifier> amplifier_;
};

struct TimedFrame {
    int64_t ms;   // bus time
    CanFrame frame;
    friend bool operator==(const TimedFrame&, const TimedFrame&) = default;
};
void PrintTo(const TimedFrame& heard, std::ostream* os);

// Amplifiers of the test description as CANopen nodes on an in-process bus, on the
// bus's virtual clock; every frame on the bus is kept with its time, from the
// boot-ups of the nodes joining on.
class TestCanRack {
public:
    explicit TestCanRack(std::initializer_list<uint8_t> nodes);
    ~TestCanRack();

    SimAmplifier& amplifier(uint8_t id) { return *rack_.node(id); }
    SimCanNode& node(uint8_t id) { return *servers_->node(id); }
    CanRackServers& servers() { return *servers_; }
    void advance(int64_t ms) { bus.advanceTo(bus.clock().nowMs() + ms); }
    void nmt(uint8_t command, uint8_t node);
    // An expedited SDO download: 0 or the abort code the node answers; the frames
    // heard before are dropped.
    uint32_t download(uint8_t node, uint16_t index, uint8_t sub, const QByteArray& data);
    // The frames heard since the last call; of one service, COB-ID base + node (0x080
    // EMCY, 0x700 error control), the others heard meanwhile being dropped.
    std::vector<TimedFrame> takeAll();
    std::vector<TimedFrame> take(uint16_t base);

    InProcessCanBus bus;

private:
    QTemporaryDir folder_;
    SimRack rack_;
    std::vector<TimedFrame> heard_;
    CanFrameBus::ListenerId listener_;
    std::unique_ptr<CanRackServers> servers_;
};

// The bytes of a read that must succeed.
QByteArray readOk(SimAmplifier& amplifier, uint16_t index, uint8_t sub);
// The float a 4-byte read gives.
float readFloat(SimAmplifier& amplifier, uint16_t index, uint8_t sub);
uint32_t readUnsigned(SimAmplifier& amplifier, uint16_t index, uint8_t sub);

}  // namespace amptest
