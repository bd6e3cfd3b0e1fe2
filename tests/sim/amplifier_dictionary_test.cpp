// The object dictionary built from a description: defaults, access rules and abort
// codes (a value of the wrong width is refused with its own code).
#include "sim/SdoTarget.h"
#include "sim/amplifier/DescriptionReader.h"
#include "sim/amplifier_fixture.h"

#include <gtest/gtest.h>

using namespace amptest;

namespace {

struct AbortCase {
    const char* what;
    bool write;
    uint16_t index;
    uint8_t sub;
    QByteArray data;
    uint32_t abort;
};

void PrintTo(const AbortCase& c, std::ostream* os) { *os << c.what; }

class AmplifierAbort : public ::testing::TestWithParam<AbortCase> {};

// A refused write keeps the value; a write at the limit is taken as it is.
TEST_P(AmplifierAbort, AnswersTheAbortCodeAndKeepsTheValue)
{
    const AbortCase& c = GetParam();
    TestAmplifier amplifier;
    QByteArray before;
    amplifier->readObject(c.index, c.sub, before);
    QByteArray data = c.data;
    const uint32_t abort =
        c.write ? amplifier->writeObject(c.index, c.sub, data) : amplifier->readObject(c.index, c.sub, data);
    EXPECT_EQ(abort, c.abort) << c.what;
    QByteArray after;
    amplifier->readObject(c.index, c.sub, after);
    EXPECT_EQ(after, c.write && c.abort == 0 ? c.data : before) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Codes, AmplifierAbort,
    ::testing::Values(
        AbortCase{"byte at max", true, 0x2100, 1, bytes({200}), 0},
        AbortCase{"short at min", true, 0x2100, 2, le16(static_cast<uint16_t>(-1000)), 0},
        AbortCase{"date on its last day", true, 0x2005, 0, le16(3653), 0},
        AbortCase{"32-bit enum code", true, 0x2100, 9, le32(70000), 0},
        AbortCase{"string at MaxLen", true, 0x2003, 0, QByteArray("abcde"), 0},
        AbortCase{"string without MaxLen", true, 0x2004, 0, QByteArray(300, 'x'), 0},
        AbortCase{"hex block of 4096", true, 0x2007, 0, QByteArray(4096, '\x01'), 0},
        AbortCase{"unknown index", false, 0x2FFF, 0, {}, sdoabort::NoObject},
        AbortCase{"write to unknown index", true, 0x2FFF, 0, bytes({1}), sdoabort::NoObject},
        AbortCase{"unknown kind is left out", false, 0x2009, 0, {}, sdoabort::NoObject},
        AbortCase{"unknown sub-index", false, 0x2100, 99, {}, sdoabort::NoSubIndex},
        AbortCase{"unknown standard sub-index", false, 0x1018, 5, {}, sdoabort::NoSubIndex},
        AbortCase{"write to read-only", true, 0x2100, 14, le32(1), sdoabort::ReadOnly},
        AbortCase{"write to the vendor", true, 0x1018, 1, le32(858), sdoabort::ReadOnly},
        AbortCase{"read of write-only", false, 0x2008, 0, {}, sdoabort::WriteOnly},
        AbortCase{"read of an action", false, 0x2E00, 0, {}, sdoabort::WriteOnly},
        AbortCase{"byte above max", true, 0x2100, 1, bytes({201}), sdoabort::ValueTooHigh},
        AbortCase{"byte below min", true, 0x2100, 1, bytes({0}), sdoabort::ValueTooLow},
        AbortCase{"short below min", true, 0x2100, 2, le16(static_cast<uint16_t>(-1001)), sdoabort::ValueTooLow},
        AbortCase{"long above max", true, 0x2100, 3, le32(100001), sdoabort::ValueTooHigh},
        AbortCase{"long-float raw above max", true, 0x2100, 4, le32(4001), sdoabort::ValueTooHigh},
        AbortCase{"float above max", true, 0x2100, 5, littleEndian(10.51f), sdoabort::ValueTooHigh},
        AbortCase{"float below min", true, 0x2100, 5, littleEndian(-10.01f), sdoabort::ValueTooLow},
        AbortCase{"date beyond its last day", true, 0x2005, 0, le16(3654), sdoabort::ValueTooHigh},
        AbortCase{"enum code not listed", true, 0x2100, 7, bytes({2}), sdoabort::ValueRange},
        AbortCase{"16-bit enum code not listed", true, 0x2100, 8, le16(40001), sdoabort::ValueRange},
        AbortCase{"enum float code not listed", true, 0x2100, 10, bytes({3}), sdoabort::ValueRange},
        AbortCase{"toggle other than 0 or 1", true, 0x2100, 6, bytes({2}), sdoabort::ValueRange},
        AbortCase{"action with a wrong value", true, 0x2E00, 0, bytes({2}), sdoabort::ValueRange},
        AbortCase{"store with a wrong signature", true, 0x1010, 3, le32(0x65766174), sdoabort::CannotStore},
        AbortCase{"short written as 4 bytes", true, 0x2100, 2, le32(1), sdoabort::LengthMismatch},
        AbortCase{"long written as 2 bytes", true, 0x2100, 3, le16(1), sdoabort::LengthMismatch},
        AbortCase{"byte written as nothing", true, 0x2100, 1, {}, sdoabort::LengthMismatch},
        AbortCase{"action long written as a byte", true, 0x1010, 3, bytes({1}), sdoabort::LengthMismatch},
        AbortCase{"string beyond MaxLen", true, 0x2003, 0, QByteArray("abcdef"), sdoabort::LengthTooHigh},
        AbortCase{"string beyond its MinLen", true, 0x2002, 0, QByteArray(9, 'a'), sdoabort::LengthTooHigh},
        AbortCase{"hex block beyond MaxLen", true, 0x2006, 0, QByteArray(17, 'a'), sdoabort::LengthTooHigh},
        AbortCase{"hex block beyond 4096", true, 0x2007, 0, QByteArray(4097, 'a'), sdoabort::LengthTooHigh}));

TEST(AmplifierDictionary, DefaultsFollowTheDescription)
{
    TestAmplifier amplifier;
    const struct {
        uint16_t index;
        uint8_t sub;
        QByteArray value;
    } cases[] = {
        {0x2100, 1, bytes({1})},                  // MinValue when 0 is below it
        {0x2100, 2, le16(0)},                     // 0 when it lies within the limits
        {0x2100, 4, le32(500)},
        {0x2100, 7, bytes({0})},                  // first enumeration code
        {0x2100, 8, le16(100)},
        {0x2100, 10, bytes({2})},
        {0x2005, 0, le16(0)},                     // dates: day 0 of BaseDate
        {0x2004, 0, QByteArray()},                // strings: empty
        {0x2002, 0, QByteArray(8, '\0')},         // a MinLen string is that long
        {0x2001, 0, QByteArray("123456\0\0\0\0", 10)},  // serial number from the identity
        {0x1018, 0, bytes({4})},
        {0x1018, 1, le32(Vendor)},
        {0x1018, 2, le32(Product)},
        {0x1018, 3, le32(0x00010000)},
        {0x1018, 4, le32(123456)},
        {0x1000, 0, le32(0x194)},
        {0x1008, 0, QByteArray("ZEM TST 1")},     // longer than 4 bytes: a segmented upload
    };
    for (const auto& c : cases)
        EXPECT_EQ(readOk(*amplifier, c.index, c.sub), c.value) << std::hex << c.index << "/" << int(c.sub);
}

TEST(AmplifierDictionary, StringsShorterThanTheirLengthArePaddedWithNul)
{
    TestAmplifier amplifier;
    ASSERT_EQ(amplifier->writeObject(0x2002, 0, QByteArray("ab")), 0u);
    EXPECT_EQ(readOk(*amplifier, 0x2002, 0), QByteArray("ab\0\0\0\0\0\0", 8));
    ASSERT_EQ(amplifier->writeObject(0x2004, 0, QByteArray()), 0u);
    EXPECT_EQ(readOk(*amplifier, 0x2004, 0), QByteArray());
}

TEST(AmplifierDictionary, IdentityOverridesDescribedStandardObjectsAndNumericSerialOnly)
{
    TestAmplifier amplifier;
    EXPECT_EQ(amplifier->keyOfPath(QStringLiteral("Common/VendorID")), (ObjectKey{0x1018, 1}));
    SimIdentity identity = testIdentity();
    identity.serialNumber = QStringLiteral("A-17");
    identity.deviceName = QStringLiteral("Mein Verstärker");
    XmlDocument document;
    ASSERT_TRUE(document.loadFromMemory(testDescription(), nullptr));
    auto named = SimAmplifier::create(document, identity);
    ASSERT_TRUE(named);
    EXPECT_EQ(readOk(*named, 0x1018, 4), le32(0));
    EXPECT_EQ(readOk(*named, 0x2001, 0), QByteArray("A-17\0\0\0\0\0\0", 10));
    EXPECT_EQ(readOk(*named, 0x1008, 0), QStringLiteral("Mein Verstärker").toLatin1());
}

TEST(AmplifierDictionary, RefusesADocumentWithoutRootGroup)
{
    XmlDocument document;
    ASSERT_TRUE(document.loadFromMemory("<DeviceDescription><Header/></DeviceDescription>", nullptr));
    QString reason;
    EXPECT_FALSE(SimAmplifier::create(document, testIdentity(), &reason));
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_FALSE(SimAmplifier::load(QStringLiteral("/nonexistent/X.xml"), testIdentity(), &reason));
    EXPECT_TRUE(reason.startsWith(QLatin1String("/nonexistent/X.xml: ")));
}

TEST(AmplifierDictionary, ParsesDecimalAndHexadecimalIntegers)
{
    EXPECT_EQ(parseDescriptionInteger(QStringLiteral("8193")), 8193);
    EXPECT_EQ(parseDescriptionInteger(QStringLiteral(" 0x1A00 ")), 0x1A00);
    EXPECT_EQ(parseDescriptionInteger(QStringLiteral("0X1a")), 0x1A);
    EXPECT_EQ(parseDescriptionInteger(QStringLiteral("-12")), -12);
    EXPECT_EQ(parseDescriptionInteger(QStringLiteral("010")), 10);
    EXPECT_FALSE(parseDescriptionInteger(QStringLiteral("12a")));
    EXPECT_FALSE(parseDescriptionInteger(QString()));
}

}  // namespace
