// The amplifier's TEDS objects and how it takes a sensor's TEDS.
#include "model/teds/TedsCodec.h"
#include "sim/amplifier_fixture.h"

#include <gtest/gtest.h>

using namespace amptest;

namespace {

// A sensor with the basic TEDS only (manufacturer 49, model 1234, C5, serial 0xABCDEF,
// no template) and one with the bridge template for a range of `range`.
const QByteArray BasicOnly =
    bytes({0x3C, 0x31, 0x80, 0x34, 0x61, 0x14, 0xEF, 0xCD, 0xAB, 0x03}) + QByteArray(22, '\0');

QByteArray bridgeSensor(const QString& range)
{
    TedsContent content = bridgeSensorContent();
    content.set("ManufacturerID", "49");
    content.set("VersionLetter", "C");
    content.set("%MaxPhysVal", range);
    return encodeTeds(content);
}

constexpr uint16_t HasTeds = 0x2800, Active = 0x2801, ErrorStatus = 0x2802, Block = 0x2803, SensorId = 0x2804,
                   Activate = 0x2805, AutoActivate = 0x2807;

TEST(AmplifierTeds, StartsWithAnActiveSensor)
{
    TestAmplifier amplifier;
    const QByteArray block = readOk(*amplifier, Block, 0);
    const TedsReading teds = decodeTeds(block);
    ASSERT_TRUE(teds.content) << teds.message.toStdString();
    EXPECT_EQ(teds.message, "");
    EXPECT_EQ(teds.content->find("SerialNumber")->raw, 123456u);
    EXPECT_EQ(teds.content->find("TEMPLATE")->raw, 33u);
    EXPECT_EQ(readOk(*amplifier, HasTeds, 0), bytes({1}));
    EXPECT_EQ(readOk(*amplifier, Active, 0), bytes({1}));
    EXPECT_EQ(readOk(*amplifier, ErrorStatus, 0), le32(0));
    EXPECT_EQ(readOk(*amplifier, SensorId, 0), block.mid(1, 8)) << "the basic TEDS";
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
        {"valid sensor", bridgeSensor("5"), 1, 0x01, 1, 0},
        {"basic TEDS only", BasicOnly, 1, 0x01, 0, 0x08},
        {"checksum wrong", bridgeSensor("5").replace(0, 1, "\x01"), 0, 0x02, 0, 0x02},
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
    ASSERT_EQ(amplifier->writeObject(Block, 0, bridgeSensor("0.25")), 0u);
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
