// The instrument behaviour: signal, status words, zero and tare, limit switches,
// store and restart, faults.
#include "sim/SdoTarget.h"
#include "sim/amplifier/StatusBits.h"
#include "sim/amplifier_fixture.h"

#include <gtest/gtest.h>

using namespace amptest;

namespace {

constexpr uint16_t Measurement = 0x2200;
constexpr uint8_t Gross = 1, Net = 2, StatusLong = 3, StatusShort = 4, PeakMax = 6, PeakMin = 7, CommandWord = 9;

SignalSettings flat(double load, double range = 2.0)
{
    SignalSettings settings;
    settings.load = load;
    settings.amplitude = 0.0;
    settings.noise = 0.0;
    settings.range = range;
    return settings;
}

TEST(AmplifierSignal, ReadsFollowTheClockAndNetIsGrossMinusTare)
{
    TestAmplifier amplifier;
    const float atStart = readFloat(*amplifier, Measurement, Gross);
    EXPECT_EQ(readFloat(*amplifier, Measurement, Gross), atStart);
    amplifier->advance(5000);
    const float later = readFloat(*amplifier, Measurement, Gross);
    EXPECT_NE(later, atStart);
    EXPECT_EQ(readFloat(*amplifier, Measurement, Net), later);

    ASSERT_EQ(amplifier->writeObject(0x2403, 0, le32(100)), 0u);  // tare 0.100 (3 decimals)
    EXPECT_FLOAT_EQ(readFloat(*amplifier, Measurement, Net), static_cast<float>(amplifier->grossValue() - 0.1));

    int64_t wall = 1000;
    amplifier->setTimeSource([&wall] { return wall; });
    EXPECT_EQ(amplifier->now(), 6000);
    wall = 2000;
    EXPECT_EQ(amplifier->now(), 7000);
}

TEST(AmplifierSignal, ZeroTareAndCommandWordSetTheOffsetParameters)
{
    TestAmplifier amplifier;
    amplifier->setSignalSettings(flat(0.75));
    ASSERT_EQ(amplifier->writeObject(0x2402, 0, bytes({1})), 0u);  // tare
    EXPECT_EQ(readOk(*amplifier, 0x2403, 0), le32(750));
    EXPECT_FLOAT_EQ(readFloat(*amplifier, Measurement, Net), 0.0f);
    EXPECT_EQ(readUnsigned(*amplifier, Measurement, StatusShort) & statusbits::TareActive, statusbits::TareActive);
    ASSERT_EQ(amplifier->writeObject(0x2400, 0, bytes({1})), 0u);  // zero
    EXPECT_EQ(readOk(*amplifier, 0x2401, 0), le32(7500));
    EXPECT_FLOAT_EQ(readFloat(*amplifier, Measurement, Gross), 0.0f);
    ASSERT_EQ(amplifier->writeObject(0x2404, 0, bytes({1})), 0u);  // clear tare
    EXPECT_EQ(readOk(*amplifier, 0x2403, 0), le32(0));

    // Command word: bit 2 zero, bit 0 tare; it reads back 0 once done.
    amplifier->setSignalSettings(flat(1.0));
    ASSERT_EQ(amplifier->writeObject(Measurement, CommandWord, bytes({0x05})), 0u);
    EXPECT_EQ(readOk(*amplifier, 0x2401, 0), le32(10000));
    EXPECT_EQ(readOk(*amplifier, 0x2403, 0), le32(0));
    EXPECT_EQ(readOk(*amplifier, Measurement, CommandWord), bytes({0}));
}

TEST(AmplifierSignal, PeaksTrackReadsUntilReset)
{
    TestAmplifier amplifier;
    amplifier->setSignalSettings(flat(0.5));
    readOk(*amplifier, Measurement, Gross);
    amplifier->setSignalSettings(flat(-0.25));
    readOk(*amplifier, Measurement, Gross);
    EXPECT_FLOAT_EQ(readFloat(*amplifier, Measurement, PeakMax), 0.5f);
    EXPECT_FLOAT_EQ(readFloat(*amplifier, Measurement, PeakMin), -0.25f);
    ASSERT_EQ(amplifier->writeObject(Measurement, 8, bytes({1})), 0u);
    EXPECT_FLOAT_EQ(readFloat(*amplifier, Measurement, PeakMax), -0.25f);
}

TEST(StatusWords, FollowSignalRangeAndState)
{
    const struct {
        StatusInputs inputs;
        uint32_t longWord;
        uint8_t shortWord;
    } cases[] = {
        {{0.5, 2.0, {}, false, false, false, false}, 0x0, 0x00},
        {{1.85, 2.0, {}, false, false, false, false}, 0x0, 0x08},
        {{2.1, 2.0, {}, false, false, false, false}, 0x0B, 0x0B},
        {{-2.1, 2.0, {}, false, false, false, false}, 0x13, 0x0B},
        {{0.0, 2.0, {true, false, false, true}, false, false, false, false}, 0x900, 0x90},
        {{0.0, 2.0, {}, true, true, true, true}, 0x13080, 0x04},
        {{0.0, 2.0, {}, false, false, false, false, true, false}, 0x21, 0x01},
        {{0.0, 2.0, {}, false, false, false, false, false, true}, 0x05, 0x01},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(statusLong(c.inputs), c.longWord) << c.inputs.gross;
        EXPECT_EQ(statusShort(c.inputs), c.shortWord) << c.inputs.gross;
    }
}

TEST(AmplifierStatus, LimitSwitchesFollowTheirParameters)
{
    const struct {
        const char* what;
        uint8_t enableMask;
        uint8_t source1;
        uint8_t direction1;
        float level1;
        uint8_t direction2;
        float level2;
        uint8_t state;
    } cases[] = {
        {"disabled", 0x00, 0, 0, 0.5f, 0, 0.5f, 0x0},
        {"gross above level", 0x01, 0, 0, 0.5f, 0, 0.5f, 0x1},
        {"gross not above level", 0x01, 0, 0, 0.7f, 0, 0.5f, 0x0},
        {"net below level after tare", 0x01, 1, 1, 0.1f, 0, 0.5f, 0x1},
        {"second falling below", 0x02, 0, 0, 0.5f, 1, 0.7f, 0x2},
        {"both", 0x03, 0, 0, 0.5f, 0, 0.5f, 0x3},
    };
    for (const auto& c : cases) {
        TestAmplifier amplifier;
        amplifier->setSignalSettings(flat(0.6));
        ASSERT_EQ(amplifier->writeObject(0x2403, 0, le32(600)), 0u);  // tare: net 0
        ASSERT_EQ(amplifier->writeObject(0x2600, 1, bytes({c.enableMask})), 0u);
        ASSERT_EQ(amplifier->writeObject(0x2601, 1, bytes({c.source1})), 0u);
        ASSERT_EQ(amplifier->writeObject(0x2601, 2, bytes({c.direction1})), 0u);
        ASSERT_EQ(amplifier->writeObject(0x2601, 3, littleEndian(c.level1)), 0u);
        ASSERT_EQ(amplifier->writeObject(0x2602, 2, bytes({c.direction2})), 0u);
        ASSERT_EQ(amplifier->writeObject(0x2602, 3, littleEndian(c.level2)), 0u);
        EXPECT_EQ(readOk(*amplifier, 0x2600, 2), bytes({c.state})) << c.what;
        EXPECT_EQ(readUnsigned(*amplifier, Measurement, StatusShort) >> 4, c.state) << c.what;
        EXPECT_EQ((readUnsigned(*amplifier, Measurement, StatusLong) >> 8) & 0xF, c.state) << c.what;
        // Outputs 1 and 2 (bits 4 and 5) follow limit switches 1 and 2.
        EXPECT_EQ(readUnsigned(*amplifier, 0x2700, 1), static_cast<uint32_t>(c.state) << 4) << c.what;
    }
}

TEST(AmplifierStatus, DigitalInputAndBusOff)
{
    TestAmplifier amplifier;
    amplifier->setDigitalInput(true);
    amplifier->setBusStatus(0x10);
    EXPECT_EQ(readUnsigned(*amplifier, 0x2700, 1), 0x01u);
    EXPECT_EQ(readUnsigned(*amplifier, Measurement, StatusLong) & statusbits::CanBusOff, statusbits::CanBusOff);
    EXPECT_EQ(amplifier->busStatus(), 0x10);
}

// Faults with a measured effect show in the status words; the others only in EMCY.
TEST(AmplifierStatus, DeviceFaultsShowInTheStatusWords)
{
    const struct {
        DeviceFault fault;
        float gross;
        uint32_t longWord;
        uint8_t shortWord;
    } cases[] = {
        {DeviceFault::InputOverload, 2.2f, 0x0B, 0x0B},
        {DeviceFault::SensorBreak, 0.5f, 0x21, 0x01},
        {DeviceFault::Excitation, 0.5f, 0x05, 0x01},
        {DeviceFault::Overheating, 0.5f, 0x00, 0x00},
    };
    for (const auto& c : cases) {
        TestAmplifier amplifier;
        amplifier->setSignalSettings(flat(0.5));
        EXPECT_TRUE(amplifier->setDeviceFault(c.fault, true));
        EXPECT_FALSE(amplifier->setDeviceFault(c.fault, true)) << "already there";
        EXPECT_FLOAT_EQ(readFloat(*amplifier, Measurement, Gross), c.gross);
        EXPECT_EQ(readUnsigned(*amplifier, Measurement, StatusLong) & 0xFF, c.longWord);
        EXPECT_EQ(readUnsigned(*amplifier, Measurement, StatusShort) & 0x0B, c.shortWord);
        EXPECT_EQ(amplifier->deviceFaults(), std::set<DeviceFault>{c.fault});
        amplifier->restart();
        EXPECT_EQ(amplifier->deviceFaults(), std::set<DeviceFault>{c.fault}) << "a restart keeps it";
        EXPECT_TRUE(amplifier->setDeviceFault(c.fault, false));
        EXPECT_TRUE(amplifier->deviceFaults().empty());
    }
}

constexpr uint16_t Changed = 0x2E01, Restart = 0x2E00, Store = 0x1010;
constexpr uint32_t SaveSignature = 1702257011;

TEST(AmplifierStore, ChangedFlagFollowsPersistentWritesAndSaveApp)
{
    const struct {
        const char* what;
        uint16_t index;
        uint8_t sub;
        QByteArray data;
        int changed;
    } cases[] = {
        {"persistent parameter", 0x2100, 1, bytes({7}), 1},
        {"non-persistent parameter", 0x2100, 13, bytes({7}), 0},
        {"refused write", 0x2100, 1, bytes({0}), 0},
        {"communication object", 0x1800, 2, bytes({1}), 0},
        {"action", 0x2200, 8, bytes({1}), 0},
    };
    for (const auto& c : cases) {
        TestAmplifier amplifier;
        amplifier->writeObject(c.index, c.sub, c.data);
        EXPECT_EQ(readOk(*amplifier, Changed, 0), bytes({c.changed})) << c.what;
        EXPECT_EQ((readUnsigned(*amplifier, Measurement, StatusLong) >> 12) & 1, uint32_t(c.changed)) << c.what;
    }
    TestAmplifier amplifier;
    ASSERT_EQ(amplifier->writeObject(0x2100, 1, bytes({7})), 0u);
    ASSERT_EQ(amplifier->writeObject(Store, 3, le32(SaveSignature + 1)), sdoabort::CannotStore);
    EXPECT_TRUE(amplifier->isChanged());
    ASSERT_EQ(amplifier->writeObject(Store, 3, le32(SaveSignature)), 0u);
    EXPECT_EQ(readOk(*amplifier, Changed, 0), bytes({0}));
}

TEST(AmplifierStore, RestartIsSilentThenComesBackWithStoredValues)
{
    TestAmplifier amplifier;
    ASSERT_EQ(amplifier->writeObject(0x2100, 1, bytes({10})), 0u);
    ASSERT_EQ(amplifier->writeObject(0x1800, 2, bytes({5})), 0u);
    ASSERT_EQ(amplifier->writeObject(Store, 3, le32(SaveSignature)), 0u);
    ASSERT_EQ(amplifier->writeObject(0x2100, 1, bytes({20})), 0u);  // not stored
    ASSERT_EQ(amplifier->writeObject(0x2100, 2, le16(33)), 0u);     // not stored
    ASSERT_EQ(amplifier->writeObject(0x1800, 2, bytes({6})), 0u);   // communication, not stored
    ASSERT_EQ(amplifier->writeObject(0x2F00, 1, bytes({0})), 0u);   // PDO operation, never stored
    amplifier->setNmtState(NmtState::Operational);

    ASSERT_EQ(amplifier->writeObject(Restart, 0, bytes({1})), 0u);
    EXPECT_TRUE(amplifier->isSilent());
    QByteArray data;
    EXPECT_EQ(amplifier->readObject(0x2100, 1, data), sdoabort::Timeout);
    amplifier->advance(2999);
    EXPECT_TRUE(amplifier->isSilent());
    amplifier->advance(1);
    EXPECT_FALSE(amplifier->isSilent());
    EXPECT_EQ(readOk(*amplifier, 0x2100, 1), bytes({10}));
    EXPECT_EQ(readOk(*amplifier, 0x2100, 2), le16(0));
    EXPECT_EQ(readOk(*amplifier, 0x1800, 2), bytes({254}));
    EXPECT_EQ(readOk(*amplifier, Changed, 0), bytes({0}));
    EXPECT_EQ(readOk(*amplifier, 0x2F00, 1), bytes({1}));
    EXPECT_EQ(amplifier->nmtState(), NmtState::PreOperational);

    amplifier->setRestartSilence(100);
    ASSERT_EQ(amplifier->writeObject(Restart, 0, bytes({1})), 0u);
    amplifier->advance(100);
    EXPECT_FALSE(amplifier->isSilent());
}

TEST(AmplifierStore, CommunicationObjectsHaveTheirOwnStoreAndFactorySettings)
{
    TestAmplifier amplifier;
    ASSERT_EQ(amplifier->writeObject(0x1800, 2, bytes({7})), 0u);
    ASSERT_EQ(amplifier->writeObject(Store, 2, le32(SaveSignature)), 0u);
    ASSERT_EQ(amplifier->writeObject(Restart, 0, bytes({1})), 0u);
    amplifier->advance(3000);
    EXPECT_EQ(readOk(*amplifier, 0x1800, 2), bytes({7}));
    ASSERT_EQ(amplifier->writeObject(0x1011, 2, le32(1684107116)), 0u);
    EXPECT_EQ(readOk(*amplifier, 0x1800, 2), bytes({254}));
}

TEST(AmplifierFaults, RefusalsSilenceAndDelay)
{
    TestAmplifier amplifier;
    amplifier->refuseAt(SimDirection::Write, {0x2100, 1}, sdoabort::General);
    EXPECT_EQ(amplifier->writeObject(0x2100, 1, bytes({9})), sdoabort::General);
    EXPECT_EQ(amplifier->writeObject(0x2100, 2, le16(9)), 0u);
    readOk(*amplifier, 0x2100, 1);
    amplifier->refuseAll(SimDirection::Read, sdoabort::DeviceState);
    QByteArray data;
    EXPECT_EQ(amplifier->readObject(0x1018, 1, data), sdoabort::DeviceState);
    EXPECT_EQ(amplifier->readObject(0x2FFF, 0, data), sdoabort::DeviceState);
    amplifier->refuseAll(SimDirection::Read, 0);
    readOk(*amplifier, 0x1018, 1);

    amplifier->setAnswerDelay(250);
    EXPECT_EQ(amplifier->answerDelayMs(), 250);
    amplifier->setSilent(true);
    EXPECT_TRUE(amplifier->isSilent());
    amplifier->clearFaults();
    EXPECT_FALSE(amplifier->isSilent());
    EXPECT_EQ(amplifier->answerDelayMs(), 0);
    EXPECT_EQ(amplifier->writeObject(0x2100, 1, bytes({9})), 0u);

    amplifier->setNmtState(NmtState::Stopped);
    EXPECT_TRUE(amplifier->isSilent());
    amplifier->setNmtState(NmtState::Operational);
    EXPECT_FALSE(amplifier->isSilent());
}

}  // namespace
