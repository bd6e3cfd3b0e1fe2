// The basic TEDS bit layout, the sensor TEDS block and the amplifier's TEDS objects.
#include "sim/amplifier/SensorTeds.h"
#include "sim/amplifier/TedsBits.h"
#include "sim/amplifier_fixture.h"

#include <gtest/gtest.h>

using namespace amptest;

namespace {

// Manufacturer 49, model 1234, version C5, serial 0xABCDEF, packed LSB first:
// 49 | 1234 << 14 | 3 << 29 | 5 << 34 | 0xABCDEF << 40.
const BasicTeds KnownTeds{49, 1234, 'C', 5, 0xABCDEF};
const QByteArray KnownBytes = bytes({0x31, 0x80, 0x34, 0x61, 0x14, 0xEF, 0xCD, 0xAB});

TEST(BasicTeds, EncodesTheKnownExampleBitForBit)
{
    EXPECT_EQ(encodeBasicTeds(KnownTeds), KnownBytes);
    EXPECT_EQ(decodeBasicTeds(KnownBytes), KnownTeds);
}

TEST(BasicTeds, RoundTripsFieldLimits)
{
    const BasicTeds cases[] = {
        {17, 0, 'A', 0, 0},
        {16381, 32767, 'Z', 63, 0xFFFFFF},
        {8191, 16384, 'M', 32, 0x800001},
    };
    for (const BasicTeds& teds : cases) {
        const QByteArray stream = encodeBasicTeds(teds);
        ASSERT_EQ(stream.size(), 8);
        EXPECT_EQ(decodeBasicTeds(stream), teds) << teds.manufacturerId;
    }
}

TEST(BasicTeds, RejectsShortStreamsReservedManufacturersAndBadLetters)
{
    QByteArray noLetter = KnownBytes;
    tedsbits::put(noLetter, 29, 5, 0);
    QByteArray letter27 = KnownBytes;
    tedsbits::put(letter27, 29, 5, 27);
    QByteArray reserved = KnownBytes;
    tedsbits::put(reserved, 0, 14, 16);
    const QByteArray cases[] = {KnownBytes.left(7), noLetter, letter27, reserved, QByteArray(8, '\0')};
    for (const QByteArray& stream : cases)
        EXPECT_FALSE(decodeBasicTeds(stream)) << stream.toHex().toStdString();
}

TEST(SensorTeds, PlacesSelectorTemplateAndRangeAfterTheBasicTeds)
{
    const SensorTeds teds{KnownTeds, -1.5f, 2.0f};
    const QByteArray block = encodeSensorTeds(teds);
    QByteArray expected = KnownBytes + bytes({0x84, 0x00, 0x00, 0x00, 0xFF, 0x02, 0x00, 0x00, 0x00, 0x01});
    expected.append(QByteArray(32 - expected.size(), '\0'));
    EXPECT_EQ(block, expected);
    EXPECT_EQ(decodeSensorTeds(block), teds);
}

TEST(SensorTeds, TellsWhyABlockDoesNotDecode)
{
    QByteArray otherTemplate = encodeSensorTeds({KnownTeds, 0.0f, 1.0f});
    tedsbits::put(otherTemplate, 66, 8, 36);
    QByteArray userSelector = encodeSensorTeds({KnownTeds, 0.0f, 1.0f});
    tedsbits::put(userSelector, 64, 2, 3);
    const struct {
        QByteArray block;
        TedsDecodeError error;
    } cases[] = {
        {QByteArray(), TedsDecodeError::NoBlock},
        {QByteArray(32, '\0'), TedsDecodeError::BadBasicTeds},
        {KnownBytes, TedsDecodeError::UnknownTemplate},
        {otherTemplate, TedsDecodeError::UnknownTemplate},
        {userSelector, TedsDecodeError::UnknownTemplate},
        {encodeSensorTeds({KnownTeds, 0.0f, 1.0f}).left(17), TedsDecodeError::UnknownTemplate},
    };
    for (const auto& c : cases) {
        TedsDecodeError error = TedsDecodeError::None;
        EXPECT_FALSE(decodeSensorTeds(c.block, &error));
        EXPECT_EQ(error, c.error) << c.block.toHex().toStdString();
    }
}

constexpr uint16_t HasTeds = 0x2800, Active = 0x2801, ErrorStatus = 0x2802, Block = 0x2803, SensorId = 0x2804,
                   Activate = 0x2805, AutoActivate = 0x2807;

TEST(AmplifierTeds, StartsWithAnActiveSensor)
{
    TestAmplifier amplifier;
    const QByteArray block = readOk(*amplifier, Block, 0);
    const auto teds = decodeSensorTeds(block);
    ASSERT_TRUE(teds);
    EXPECT_EQ(teds->basic.serialNumber, 123456u);
    EXPECT_EQ(readOk(*amplifier, HasTeds, 0), bytes({1}));
    EXPECT_EQ(readOk(*amplifier, Active, 0), bytes({1}));
    EXPECT_EQ(readOk(*amplifier, ErrorStatus, 0), le32(0));
    EXPECT_EQ(readOk(*amplifier, SensorId, 0), block.left(8));
}

TEST(AmplifierTeds, WritingABlockReplacesItAndActivationAppliesIt)
{
    const struct {
        const char* what;
        QByteArray block;
        int hasTeds;
        uint32_t errorBeforeActivation;
        int active;
        uint32_t errorAfterActivation;
    } cases[] = {
        {"valid sensor", encodeSensorTeds({KnownTeds, 0.0f, 5.0f}), 1, 0x01, 1, 0},
        {"basic TEDS only", KnownBytes, 1, 0x01, 0, 0x08},
        {"garbage", QByteArray(16, '\x00'), 0, 0x02, 0, 0x02},
        {"unplugged", QByteArray(), 0, 0x02, 0, 0x02},
    };
    for (const auto& c : cases) {
        TestAmplifier amplifier;
        ASSERT_EQ(amplifier->writeObject(Block, 0, c.block), 0u) << c.what;
        EXPECT_EQ(readOk(*amplifier, Block, 0), c.block) << c.what;
        EXPECT_EQ(readOk(*amplifier, HasTeds, 0), bytes({c.hasTeds})) << c.what;
        EXPECT_EQ(readOk(*amplifier, Active, 0), bytes({0})) << c.what;
        EXPECT_EQ(readOk(*amplifier, ErrorStatus, 0), le32(c.errorBeforeActivation)) << c.what;
        ASSERT_EQ(amplifier->writeObject(Activate, 0, bytes({1})), 0u) << c.what;
        EXPECT_EQ(readOk(*amplifier, Active, 0), bytes({c.active})) << c.what;
        EXPECT_EQ(readOk(*amplifier, ErrorStatus, 0), le32(c.errorAfterActivation)) << c.what;
    }
}

TEST(AmplifierTeds, ActivationTakesTheSensorRangeAndAutoActivateAppliesAtOnce)
{
    TestAmplifier amplifier;
    ASSERT_EQ(amplifier->writeObject(AutoActivate, 0, bytes({1})), 0u);
    ASSERT_EQ(amplifier->writeObject(Block, 0, encodeSensorTeds({KnownTeds, 0.0f, 0.25f})), 0u);
    EXPECT_EQ(readOk(*amplifier, Active, 0), bytes({1}));
    EXPECT_FLOAT_EQ(static_cast<float>(amplifier->signalSettings().range), 0.25f);
    // The default load of 0.4 is now beyond the range: overload in both status words.
    EXPECT_EQ(readUnsigned(*amplifier, 0x2200, 4) & 0x03u, 0x03u);
}

TEST(AmplifierTeds, HasTedsIsWritableAsTheEditorDoes)
{
    TestAmplifier amplifier;
    amplifier->setTedsBlock(QByteArray());
    EXPECT_EQ(readOk(*amplifier, HasTeds, 0), bytes({0}));
    ASSERT_EQ(amplifier->writeObject(HasTeds, 0, bytes({1})), 0u);
    EXPECT_TRUE(amplifier->hasTeds());
    EXPECT_EQ(readOk(*amplifier, SensorId, 0), QByteArray());
}

}  // namespace
