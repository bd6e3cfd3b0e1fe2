// A simulated amplifier as a CANopen node: boot-up on joining and after the NMT
// resets, what a reset brings back, the heartbeat producer (0x1017) on virtual time.
#include "sim/amplifier_fixture.h"
#include "transport/can/events/ErrorControl.h"
#include "transport/can/lib/SdoFrames.h"
#include "transport/can_sim_rack.h"

#include <gtest/gtest.h>

using namespace amptest;

namespace {

constexpr uint16_t ErrorControl = errorcontrol::Base;
constexpr int SilenceMs = 500;
constexpr uint16_t HeartbeatTime = 0x1017, Level = 0x2100, TpdoComm = 0x1800, Store = 0x1010;
constexpr uint32_t SaveSignature = 1702257011;

TimedFrame beat(int64_t ms, uint8_t node, uint8_t state)
{
    return {ms, CanFrame::make(uint16_t(ErrorControl + node), {state})};
}

TimedFrame bootUp(int64_t ms, uint8_t node)
{
    return beat(ms, node, errorcontrol::BootUp);
}

TEST(CanNodeBootUp, JoiningNodesBootUpAndDecodeAsSuch)
{
    TestCanRack rack({5, 6});
    const std::vector<TimedFrame> heard = rack.take(ErrorControl);
    EXPECT_EQ(heard, (std::vector<TimedFrame>{bootUp(0, 5), bootUp(0, 6)}));
    for (const TimedFrame& frame : heard) {
        const auto decoded = decodeErrorControl(frame.frame);
        ASSERT_TRUE(decoded);
        EXPECT_TRUE(decoded->bootUp);
        EXPECT_EQ(decoded->problem, FrameProblem::None);
    }
}

TEST(CanNodeBootUp, NmtResetsOfTheNodeOrOfAllBootItUp)
{
    const struct {
        const char* what;
        CanFrame command;   // at 1000 ms
        std::vector<TimedFrame> bootUps;
    } cases[] = {
        {"reset node 5", CanFrame::make(0, {0x81, 5}), {bootUp(1000 + SilenceMs, 5)}},
        {"reset all nodes", CanFrame::make(0, {0x81, 0}), {bootUp(1000 + SilenceMs, 5), bootUp(1000 + SilenceMs, 6)}},
        {"reset communication of 6", CanFrame::make(0, {0x82, 6}), {bootUp(1000, 6)}},
        {"reset communication of all", CanFrame::make(0, {0x82, 0}), {bootUp(1000, 5), bootUp(1000, 6)}},
        {"reset of node 7", CanFrame::make(0, {0x81, 7}), {}},
        {"start", CanFrame::make(0, {0x01, 5}), {}},
        {"command without node", CanFrame::make(0, {0x81}), {}},
    };
    for (const auto& c : cases) {
        TestCanRack rack({5, 6});
        rack.amplifier(5).setRestartSilence(SilenceMs);
        rack.amplifier(6).setRestartSilence(SilenceMs);
        rack.advance(1000);
        rack.take(ErrorControl);
        rack.bus.send(c.command);
        rack.advance(2 * SilenceMs);
        EXPECT_EQ(rack.take(ErrorControl), c.bootUps) << c.what;
    }
}

// Stored: level 10, transfer mode 254, heartbeat off. Then: level 20, mode 6,
// heartbeat 100 ms, operational.
TEST(CanNodeBootUp, ResetsBringBackWhatTheyRestart)
{
    const struct {
        const char* what;
        std::function<void(TestCanRack&)> reset;
        uint8_t level;
        uint8_t mode;
        std::vector<TimedFrame> errorControl;   // the reset comes at 0 ms
    } cases[] = {
        {"reset node", [](TestCanRack& r) { r.nmt(sdo::nmt::ResetNode, 5); }, 10, 254, {bootUp(SilenceMs, 5)}},
        {"reset communication", [](TestCanRack& r) { r.nmt(sdo::nmt::ResetCommunication, 5); }, 20, 254,
         {bootUp(0, 5)}},
        {"reboot", [](TestCanRack& r) { r.node(5).reboot(); }, 10, 254, {bootUp(SilenceMs, 5)}},
        {"off the bus and on", [](TestCanRack& r) { r.node(5).setOnBus(false); r.node(5).setOnBus(true); }, 10, 254,
         {bootUp(SilenceMs, 5)}},
    };
    for (const auto& c : cases) {
        TestCanRack rack({5});
        rack.amplifier(5).setRestartSilence(SilenceMs);
        ASSERT_EQ(rack.download(5, Level, 1, bytes({10})), 0u);
        ASSERT_EQ(rack.download(5, Store, 3, le32(SaveSignature)), 0u);   // the application objects
        ASSERT_EQ(rack.download(5, Level, 1, bytes({20})), 0u);
        ASSERT_EQ(rack.download(5, TpdoComm, 2, bytes({6})), 0u);
        ASSERT_EQ(rack.download(5, HeartbeatTime, 0, le16(100)), 0u);
        rack.nmt(sdo::nmt::Start, 5);
        rack.take(ErrorControl);
        c.reset(rack);
        rack.advance(2 * SilenceMs);
        EXPECT_EQ(rack.take(ErrorControl), c.errorControl) << c.what;
        EXPECT_EQ(readOk(rack.amplifier(5), Level, 1), bytes({c.level})) << c.what;
        EXPECT_EQ(readOk(rack.amplifier(5), TpdoComm, 2), bytes({c.mode})) << c.what;
        EXPECT_EQ(rack.amplifier(5).nmtState(), NmtState::PreOperational) << c.what;
    }
}

TEST(CanNodeHeartbeat, FollowsItsPeriodAndTheNmtState)
{
    TestCanRack rack({5, 6});
    const struct {
        const char* what;
        std::function<void(TestCanRack&)> act;   // at the end of the step before
        int64_t until;
        std::vector<TimedFrame> heartbeats;
    } steps[] = {
        {"100 ms", [](TestCanRack& r) { EXPECT_EQ(r.download(5, HeartbeatTime, 0, le16(100)), 0u); }, 350,
         {beat(100, 5, 0x7F), beat(200, 5, 0x7F), beat(300, 5, 0x7F)}},
        {"started", [](TestCanRack& r) { r.nmt(sdo::nmt::Start, 0); }, 450, {beat(400, 5, 0x05)}},
        {"stopped", [](TestCanRack& r) { r.nmt(sdo::nmt::Stop, 5); }, 550, {beat(500, 5, 0x04)}},
        {"pre-operational", [](TestCanRack& r) { r.nmt(sdo::nmt::EnterPreOperational, 5); }, 650,
         {beat(600, 5, 0x7F)}},
        {"off", [](TestCanRack& r) { EXPECT_EQ(r.download(5, HeartbeatTime, 0, le16(0)), 0u); }, 1000, {}},
        {"250 ms from the write", [](TestCanRack& r) { EXPECT_EQ(r.download(5, HeartbeatTime, 0, le16(250)), 0u); },
         1600, {beat(1250, 5, 0x7F), beat(1500, 5, 0x7F)}},
        {"silenced", [](TestCanRack& r) { r.amplifier(5).setSilent(true); }, 2100, {}},
        {"in rhythm again", [](TestCanRack& r) { r.amplifier(5).setSilent(false); }, 2300, {beat(2250, 5, 0x7F)}},
        {"bus off", [](TestCanRack& r) { r.amplifier(5).setBusStatus(canstatus::BusOff); }, 2800, {}},
        {"off the bus", [](TestCanRack& r) { r.amplifier(5).setBusStatus(0); r.node(5).setOnBus(false); }, 3600, {}},
    };
    for (const auto& step : steps) {
        step.act(rack);
        rack.bus.advanceTo(step.until);
        EXPECT_EQ(rack.take(ErrorControl), step.heartbeats) << step.what;
    }
}

TEST(CanNodeHeartbeat, PeriodIsStoredWithTheCommunicationObjects)
{
    const struct {
        const char* what;
        bool stored;
        std::vector<TimedFrame> afterReboot;
    } cases[] = {
        {"stored", true, {bootUp(SilenceMs, 5), beat(SilenceMs + 100, 5, 0x7F), beat(SilenceMs + 200, 5, 0x7F)}},
        {"not stored", false, {bootUp(SilenceMs, 5)}},
    };
    for (const auto& c : cases) {
        TestCanRack rack({5});
        rack.amplifier(5).setRestartSilence(SilenceMs);
        ASSERT_EQ(rack.download(5, HeartbeatTime, 0, le16(100)), 0u);
        if (c.stored) {
            ASSERT_EQ(rack.download(5, Store, 2, le32(SaveSignature)), 0u);
        }
        rack.take(ErrorControl);
        rack.node(5).reboot();
        rack.bus.advanceTo(SilenceMs + 250);
        EXPECT_EQ(rack.take(ErrorControl), c.afterReboot) << c.what;
    }
}

}  // namespace
