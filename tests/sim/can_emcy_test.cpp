// The emergency messages of a simulated CANopen node: one per fault start and end,
// the error register (0x1001), the pre-defined error field (0x1003), the EMCY COB-ID.
#include "sim/amplifier_fixture.h"
#include "sim/can/EmcyFaults.h"
#include "sim/can/ErrorField.h"
#include "transport/can/events/Emcy.h"
#include "transport/can_sim_rack.h"

#include <gtest/gtest.h>

using namespace amptest;

namespace {

constexpr uint16_t Emcy = emcy::Base;
constexpr uint16_t ErrorRegister = 0x1001, ErrorFieldIndex = 0x1003;

TimedFrame emcyAt(int64_t ms, uint16_t code, uint8_t errorRegister)
{
    return {ms, sdoFrame(0x85, {uint8_t(code & 0xFF), uint8_t(code >> 8), errorRegister})};
}

DeviceFault faultNamed(const char* name)
{
    const EmcyFault* fault = findEmcyFault(QLatin1String(name));
    EXPECT_TRUE(fault) << name;
    return fault ? fault->fault : DeviceFault::InputOverload;
}

QByteArray read(SimCanNode& node, uint16_t index, uint8_t sub, uint32_t expectedAbort = 0)
{
    QByteArray data;
    EXPECT_EQ(node.readObject(index, sub, data), expectedAbort) << std::hex << index << "/" << int(sub);
    return data;
}

TEST(CanNodeEmcy, EachFaultStartsWithItsCodeAndEndsWithNoError)
{
    const struct {
        const char* name;
        uint16_t code;
        uint8_t errorRegister;
    } faults[] = {
        {"overload", 0xFF01, 0x81},    {"sensor-break", 0x9000, 0x01}, {"excitation", 0x3300, 0x05},
        {"supply", 0x3100, 0x05},      {"temperature", 0x4210, 0x09},  {"overrun", 0x8110, 0x11},
        {"error-passive", 0x8120, 0x11},
    };
    ASSERT_EQ(emcyFaults().size(), std::size(faults));
    for (const auto& f : faults) {
        TestCanRack rack({5});
        rack.take(Emcy);
        rack.node(5).setFault(faultNamed(f.name), true);
        rack.node(5).setFault(faultNamed(f.name), true);   // already started: nothing more
        EXPECT_EQ(read(rack.node(5), ErrorRegister, 0), bytes({f.errorRegister})) << f.name;
        rack.node(5).setFault(faultNamed(f.name), false);
        const std::vector<TimedFrame> heard = rack.take(Emcy);
        EXPECT_EQ(heard, (std::vector<TimedFrame>{emcyAt(0, f.code, f.errorRegister), emcyAt(0, 0x0000, 0x00)}))
            << f.name;
        const auto decoded = decodeEmcy(heard.front().frame);
        ASSERT_TRUE(decoded) << f.name;
        EXPECT_EQ(decoded->node, 5);
        EXPECT_EQ(decoded->code, f.code) << f.name;
        EXPECT_EQ(decoded->problem, FrameProblem::None) << f.name;
    }
}

TEST(CanNodeEmcy, RegisterKeepsTheFaultsLeftAndTheFieldTheNewestFirst)
{
    TestCanRack rack({5});
    SimCanNode& node = rack.node(5);
    rack.amplifier(5).setRestartSilence(100);
    node.setFault(DeviceFault::InputOverload, true);
    node.setFault(DeviceFault::Overheating, true);
    node.setFault(DeviceFault::InputOverload, false);
    EXPECT_EQ(rack.take(Emcy), (std::vector<TimedFrame>{emcyAt(0, 0xFF01, 0x81), emcyAt(0, 0x4210, 0x89),
                                                       emcyAt(0, 0x0000, 0x09)}));
    EXPECT_EQ(read(node, ErrorFieldIndex, 0), bytes({2}));
    EXPECT_EQ(read(node, ErrorFieldIndex, 1), le32(0x4210));
    EXPECT_EQ(read(node, ErrorFieldIndex, 2), le32(0xFF01));
    read(node, ErrorFieldIndex, 3, sdoabort::NoData);

    // A reboot empties the field; the fault still there is told again after the boot-up.
    node.reboot();
    EXPECT_EQ(read(node, ErrorFieldIndex, 0), bytes({0}));
    rack.advance(100);
    EXPECT_EQ(rack.take(Emcy), (std::vector<TimedFrame>{emcyAt(100, 0x4210, 0x09)}));
    EXPECT_EQ(read(node, ErrorFieldIndex, 0), bytes({1}));

    EXPECT_EQ(node.writeObject(ErrorFieldIndex, 0, bytes({0})), 0u);
    EXPECT_EQ(read(node, ErrorFieldIndex, 0), bytes({0}));
    EXPECT_EQ(read(node, ErrorRegister, 0), bytes({0x09})) << "clearing the field keeps the register";
    EXPECT_EQ(node.writeObject(ErrorRegister, 0, bytes({0})), sdoabort::ReadOnly);
}

TEST(CanNodeEmcy, SentOnTheCobIdOf0x1014UnlessItIsInvalid)
{
    const struct {
        uint32_t cobId;
        std::vector<uint16_t> ids;
    } cases[] = {
        {0x85, {0x85}},
        {0x95, {0x95}},
        {0x80000085, {}},
    };
    for (const auto& c : cases) {
        TestCanRack rack({5});
        ASSERT_EQ(rack.download(5, 0x1014, 0, le32(c.cobId)), 0u);
        rack.node(5).setFault(DeviceFault::SupplyLow, true);
        std::vector<uint16_t> ids;
        for (const TimedFrame& heard : rack.take(Emcy))
            ids.push_back(heard.frame.id);
        EXPECT_EQ(ids, c.ids) << std::hex << c.cobId;
    }
}

TEST(ErrorField, KeepsTheNewestAndRefusesAsCanopenDevicesDo)
{
    ErrorField field;
    for (uint16_t code = 1; code <= ErrorField::Capacity + 1; ++code)
        field.add(code);
    const struct {
        const char* what;
        bool write;
        uint8_t sub;
        QByteArray data;   // written, or expected from a read
        uint32_t abort;
    } steps[] = {
        {"count", false, 0, bytes({8}), 0},
        {"newest", false, 1, le32(9), 0},
        {"oldest kept", false, 8, le32(2), 0},
        {"beyond the field", false, 9, {}, sdoabort::NoSubIndex},
        {"an error is read-only", true, 1, le32(0), sdoabort::ReadOnly},
        {"count other than 0", true, 0, bytes({1}), sdoabort::ValueRange},
        {"count of 5 bytes", true, 0, QByteArray(5, '\0'), sdoabort::LengthMismatch},
        {"clear as 4 bytes", true, 0, le32(0), 0},
        {"count cleared", false, 0, bytes({0}), 0},
        {"no error kept", false, 1, {}, sdoabort::NoData},
    };
    for (const auto& step : steps) {
        QByteArray read;
        EXPECT_EQ(step.write ? field.write(step.sub, step.data) : field.read(step.sub, read), step.abort) << step.what;
        if (!step.write) {
            EXPECT_EQ(read, step.data) << step.what;
        }
    }
}

}  // namespace
