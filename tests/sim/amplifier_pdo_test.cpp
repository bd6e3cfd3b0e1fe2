// PDO mapping and communication objects under the CiA 301 write rules.
#include "sim/SdoTarget.h"
#include "sim/amplifier_fixture.h"

#include <gtest/gtest.h>

using namespace amptest;

namespace {

constexpr uint32_t GrossEntry = 0x22000120;   // 0x2200/1, 32 bits
constexpr uint32_t StatusEntry = 0x22000320;  // 0x2200/3, 32 bits
constexpr uint32_t ShortEntry = 0x22000408;   // 0x2200/4, 8 bits

struct Step {
    uint16_t index;
    uint8_t sub;
    QByteArray data;
    uint32_t abort;
};

struct PdoCase {
    const char* what;
    std::vector<Step> steps;
};

void PrintTo(const PdoCase& c, std::ostream* os) { *os << c.what; }

class AmplifierPdo : public ::testing::TestWithParam<PdoCase> {};

// PDO operation starts suspended here, so that the mappings may change; the cases
// about valid PDOs allow it again first.
TEST_P(AmplifierPdo, FollowsTheMappingRules)
{
    TestAmplifier amplifier;
    ASSERT_EQ(amplifier->writeObject(0x2F00, 1, bytes({0})), 0u);
    int n = 0;
    for (const Step& step : GetParam().steps) {
        EXPECT_EQ(amplifier->writeObject(step.index, step.sub, step.data), step.abort)
            << GetParam().what << ", step " << ++n;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, AmplifierPdo,
    ::testing::Values(
        PdoCase{"entries only while the count is 0",
                {{0x1A00, 1, le32(ShortEntry), sdoabort::UnsupportedAccess},
                 {0x1A00, 0, le32(0), 0},
                 {0x1A00, 1, le32(ShortEntry), 0},
                 {0x1A00, 2, le32(GrossEntry), 0},
                 {0x1A00, 0, le32(2), 0},
                 {0x1A00, 2, le32(StatusEntry), sdoabort::UnsupportedAccess}}},
        PdoCase{"count written as one byte", {{0x1A00, 0, bytes({0}), 0}, {0x1A00, 0, bytes({2}), 0}}},
        PdoCase{"count above 8",
                {{0x1A00, 0, bytes({0}), 0}, {0x1A00, 0, bytes({9}), sdoabort::ValueTooHigh},
                 {0x1A00, 0, le32(0x100), sdoabort::ValueTooHigh}}},
        PdoCase{"count over an empty entry", {{0x1A01, 0, le32(1), sdoabort::NotMappable}}},
        PdoCase{"entry with a wrong bit length",
                {{0x1A01, 1, le32(0x22000110), 0}, {0x1A01, 0, le32(1), sdoabort::NotMappable}}},
        PdoCase{"entry of an unknown object",
                {{0x1A01, 1, le32(0x2FFF0020), 0}, {0x1A01, 0, le32(1), sdoabort::NotMappable}}},
        PdoCase{"more than 64 bits",
                {{0x1A01, 1, le32(GrossEntry), 0},
                 {0x1A01, 2, le32(StatusEntry), 0},
                 {0x1A01, 3, le32(ShortEntry), 0},
                 {0x1A01, 0, le32(3), sdoabort::MappingTooLong},
                 {0x1A01, 0, le32(2), 0}}},
        PdoCase{"receive mapping", {{0x1600, 1, le32(0x22000908), 0}, {0x1600, 0, le32(1), 0}}},
        PdoCase{"mapping sub-index 9", {{0x1600, 9, le32(0), sdoabort::NoSubIndex}}},
        PdoCase{"valid COB-ID kept",
                {{0x1400, 1, le32(0x206), sdoabort::ValueRange},
                 {0x1400, 1, le32(0x80000205), 0},
                 {0x1400, 1, le32(0x206), 0}}},
        PdoCase{"described COB-ID read-only", {{0x1800, 1, le32(0x185), sdoabort::ReadOnly}}},
        PdoCase{"mapping of a valid PDO",
                {{0x2F00, 1, bytes({1}), 0},
                 {0x1A01, 0, le32(0), sdoabort::ValueRange},
                 {0x1A01, 1, le32(GrossEntry), sdoabort::ValueRange},
                 {0x1801, 1, le32(0x80000285), 0},
                 {0x1A01, 1, le32(GrossEntry), 0},
                 {0x1A01, 0, le32(1), 0},
                 {0x1801, 1, le32(0x285), 0},
                 {0x1A01, 0, le32(0), sdoabort::ValueRange}}},
        PdoCase{"PDO operation switched on again",
                {{0x1A00, 0, le32(0), 0}, {0x2F00, 1, bytes({1}), 0}, {0x1A00, 0, le32(1), sdoabort::ValueRange}}},
        PdoCase{"transmission types",
                {{0x1800, 2, bytes({1}), 0},
                 {0x1801, 2, bytes({240}), 0},
                 {0x1800, 2, bytes({241}), sdoabort::ValueRange},
                 {0x1800, 2, bytes({251}), sdoabort::ValueRange},
                 {0x1800, 2, bytes({252}), 0},
                 {0x1400, 2, bytes({253}), sdoabort::ValueRange},
                 {0x1400, 2, bytes({254}), 0}}}));

TEST(AmplifierPdoDefaults, TransmitPdo1CarriesGrossAndStatus)
{
    TestAmplifier amplifier;
    EXPECT_EQ(readOk(*amplifier, 0x1A00, 0), bytes({2}));
    EXPECT_EQ(readOk(*amplifier, 0x1A00, 1), le32(GrossEntry));
    EXPECT_EQ(readOk(*amplifier, 0x1A00, 2), le32(StatusEntry));
    EXPECT_EQ(readOk(*amplifier, 0x1A01, 0), bytes({0}));
    QByteArray data;
    EXPECT_EQ(amplifier->readObject(0x1800, 4, data), sdoabort::NoSubIndex);
    EXPECT_EQ(amplifier->readObject(0x1404, 0, data), sdoabort::NoObject);
}

TEST(AmplifierPdoDefaults, NothingChangesWhileOperational)
{
    TestAmplifier amplifier;
    ASSERT_EQ(amplifier->writeObject(0x2F00, 1, bytes({0})), 0u);
    amplifier->setNmtState(NmtState::Operational);
    EXPECT_EQ(amplifier->writeObject(0x1A00, 0, le32(0)), sdoabort::DeviceState);
    EXPECT_EQ(amplifier->writeObject(0x1800, 2, bytes({1})), sdoabort::DeviceState);
    EXPECT_EQ(amplifier->writeObject(0x2100, 1, bytes({9})), 0u);
    amplifier->setNmtState(NmtState::PreOperational);
    EXPECT_EQ(amplifier->writeObject(0x1A00, 0, le32(0)), 0u);
}

}  // namespace
