// Typed reads by path on the four interface kinds, against the simulated amplifiers.
#include "device/device_fixture.h"

#include "core/ResultCodes.h"
#include "device/DeviceAccess.h"
#include "model/ValueText.h"
#include "transport/profibus/ProfibusResultCodes.h"

#include <QtEndian>

namespace devicetest {
namespace {

enum class Read { Byte, Short, Long, Float, String, HexBinary, Date, Toggle, BitMask8, BitMask32 };

// Runs one typed read and shows its value as text.
int32_t readAs(DeviceWorld& world, DeviceEntry& entry, Read read, const QString& path, QString& shown)
{
    AppState& state = world.state();
    const InterfaceSettings& settings = world.settings();
    int32_t result = rc::Failed;
    switch (read) {
    case Read::Byte: {
        uint8_t value = 0;
        result = Device_GetByte(state, settings, entry, path, value);
        shown = QString::number(value);
        break;
    }
    case Read::Short: {
        int16_t value = 0;
        result = Device_GetShort(state, settings, entry, path, value);
        shown = QString::number(value);
        break;
    }
    case Read::Long: {
        int32_t value = 0;
        result = Device_GetLong(state, settings, entry, path, value);
        shown = QString::number(value);
        break;
    }
    case Read::Float: {
        float value = 0;
        result = Device_GetFloat(state, settings, entry, path, value);
        shown = floatToText(value);
        break;
    }
    case Read::String:
        result = Device_GetString(state, settings, entry, path, shown);
        break;
    case Read::HexBinary: {
        QByteArray bytes;
        int32_t length = -1;
        result = Device_GetHexBinary(state, settings, entry, path, bytes, length);
        shown = BytesToHex(bytes, length) + QStringLiteral("/%1").arg(bytes.size());
        break;
    }
    case Read::Date: {
        QDate value;
        result = Device_GetDate(state, settings, entry, path, value);
        shown = dateToText(value);
        break;
    }
    case Read::Toggle: {
        bool value = false;
        result = Device_GetToggle(state, settings, entry, path, value);
        shown = boolToText(value);
        break;
    }
    case Read::BitMask8:
    case Read::BitMask32: {
        int32_t value = 0;
        result = Device_GetBitMask(state, settings, entry, path, read == Read::BitMask8 ? 8 : 32, value);
        shown = QString::number(value);
        break;
    }
    }
    return result;
}

struct ReadCase {
    const char* path;
    QByteArray put;  // put into the amplifier first
    Read read;
    QString expected;
};

const std::vector<ReadCase> kReads = {
    {"Scaling/DecimalPointPos", le(3, 1), Read::Byte, "3"},
    {"LimitSwitches/LimitSwitch1/Delay", le(1234, 2), Read::Short, "1234"},
    {"ZeroTare/TareOffset", le(-5000, 4), Read::Long, "-5000"},
    {"Amplifier/NominalLoad", littleEndian<float>(250.5f), Read::Float, "250.5"},
    {"Common/ChannelName", "Presse 7", Read::String, "Presse 7"},
    {"Common/CalibrationDate", le(8766, 2), Read::Date, "2024-01-01"},
    {"ZeroTare/AutoZeroTracking", le(1, 1), Read::Toggle, "true"},
    {"LimitSwitches/EnableMask", le(5, 1), Read::BitMask8, "5"},
    {"Common/SerialNumber", {}, Read::String, "100003"},
    {"Common/VendorID", {}, Read::Long, "858"},
};

using AccessRead = KindTest;

TEST_P(AccessRead, EveryTypedReadGivesTheAmplifiersValue)
{
    for (const ReadCase& c : kReads) {
        if (!c.put.isEmpty())
            world.put(QString::fromLatin1(c.path), c.put);
    }
    DeviceEntry entry = world.openEntry();
    for (const ReadCase& c : kReads) {
        QString shown;
        EXPECT_EQ(readAs(world, entry, c.read, QString::fromLatin1(c.path), shown), rc::Ok) << c.path;
        EXPECT_EQ(shown, c.expected) << c.path;
    }
    // A block: the serial line always carries "MaxLen" bytes; the fieldbus libraries
    // answer with the count they read.
    world.put(QStringLiteral("Common/UserData"), QByteArray::fromHex("0aff0012"));
    const bool serial = world.kind() == RS232;
    const int32_t count = world.kind() == CANBus ? 0 : serial ? 32 : 4;
    QString block;
    EXPECT_EQ(readAs(world, entry, Read::HexBinary, QStringLiteral("Common/UserData"), block), count);
    EXPECT_EQ(block, (serial ? QStringLiteral("0AFF0012").leftJustified(64, u'0') : QStringLiteral("0AFF0012")) +
                         QStringLiteral("/32"));

    // A 32-bit mask the amplifier computes itself.
    const QByteArray status = world.onDevice(QStringLiteral("TEDS/TEDSErrorStatus"));
    QString shown;
    EXPECT_EQ(readAs(world, entry, Read::BitMask32, QStringLiteral("TEDS/TEDSErrorStatus"), shown), rc::Ok);
    EXPECT_EQ(shown, QString::number(qFromLittleEndian<int32_t>(status.constData())));
    EXPECT_TRUE(world.host().messages.empty());
}

TEST_P(AccessRead, UnknownPathGivesTheLookupCodeWithoutBusAccess)
{
    DeviceEntry entry = world.openEntry();
    for (Read read : {Read::Byte, Read::Short, Read::Long, Read::Float, Read::String, Read::HexBinary, Read::Date,
                      Read::Toggle, Read::BitMask8, Read::BitMask32}) {
        QString shown;
        EXPECT_EQ(readAs(world, entry, read, QStringLiteral("Common/NoSuchParameter"), shown),
                  rc::UnknownInDescription)
            << int(read);
    }
    EXPECT_EQ(world.traffic().reads, 0);
    EXPECT_TRUE(entry.Online);
}

TEST_P(AccessRead, BitMaskOfAnotherWidthIsRefusedWithItsMessage)
{
    DeviceEntry entry = world.openEntry();
    int32_t value = 7;
    EXPECT_EQ(Device_GetBitMask(world.state(), world.settings(), entry, QStringLiteral("LimitSwitches/EnableMask"), 16,
                                value),
              rc::Failed);
    EXPECT_EQ(value, 0);
    ASSERT_EQ(world.host().messages.size(), 1u);
    EXPECT_EQ(world.host().messages[0].text,
              QStringLiteral("LimitSwitches/EnableMask: Le masque binaire a une largeur non valide de 16 bit !"));
    EXPECT_EQ(world.host().messages[0].style, msg::Information);
    EXPECT_EQ(world.traffic().reads, 0);
}

INSTANTIATE_TEST_SUITE_P(Kinds, AccessRead, ::testing::ValuesIn(AllKinds),
                         [](const auto& info) { return kindName(info.param); });

TEST(AccessReadKinds, AnotherInterfaceKindGivesMinusTwoAndZero)
{
    DeviceWorld world(CANBus);
    DeviceEntry entry = world.entry();
    entry.InterfaceKind = NoInterfaceKind;
    int32_t value = 99;
    EXPECT_EQ(Device_GetLong(world.state(), world.settings(), entry, QStringLiteral("Common/VendorID"), value),
              rc::UnknownInterface);
    EXPECT_EQ(value, 0);
}

}  // namespace
}  // namespace devicetest
