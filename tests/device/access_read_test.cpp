// Typed reads by path on the four interface kinds, against the simulated amplifiers.
// The values each read gives are checked through the whole-configuration read, which
// makes every one of them.
#include "device/device_fixture.h"

#include "core/ResultCodes.h"
#include "device/DeviceAccess.h"
#include "model/ValueText.h"

#include <QtEndian>

namespace devicetest {
namespace {

using AccessRead = KindTest;

TEST_P(AccessRead, BlocksGiveTheirCountAndWideMasksTheirValue)
{
    // The serial line always carries "MaxLen" bytes; the fieldbus libraries answer with
    // the count they read.
    world.put(QStringLiteral("Common/UserData"), QByteArray::fromHex("0aff0012"));
    DeviceEntry entry = world.openEntry();
    const bool serial = world.kind() == RS232;
    QByteArray bytes;
    int32_t length = -1;
    EXPECT_EQ(Device_GetHexBinary(world.state(), world.settings(), entry, QStringLiteral("Common/UserData"), bytes,
                                  length),
              world.kind() == CANBus ? 0 : serial ? 32 : 4);
    EXPECT_EQ(BytesToHex(bytes, length), serial ? QStringLiteral("0AFF0012").leftJustified(64, u'0')
                                                : QStringLiteral("0AFF0012"));
    EXPECT_EQ(bytes.size(), 32);

    // A 32-bit mask the amplifier computes itself.
    const QByteArray status = world.onDevice(QStringLiteral("TEDS/TEDSErrorStatus"));
    int32_t mask = 0;
    EXPECT_EQ(Device_GetBitMask(world.state(), world.settings(), entry, QStringLiteral("TEDS/TEDSErrorStatus"), 32,
                                mask),
              rc::Ok);
    EXPECT_EQ(mask, qFromLittleEndian<int32_t>(status.constData()));
    EXPECT_TRUE(world.host().messages.empty());
}

TEST_P(AccessRead, UnknownPathGivesTheLookupCodeWithoutBusAccess)
{
    DeviceEntry entry = world.openEntry();
    AppState& state = world.state();
    const InterfaceSettings& settings = world.settings();
    const QString path = QStringLiteral("Common/NoSuchParameter");
    uint8_t byteValue = 0;
    int16_t shortValue = 0;
    int32_t longValue = 0;
    float floatValue = 0;
    QString text;
    QByteArray bytes;
    int32_t length = 0;
    QDate date;
    bool toggle = false;
    const int32_t results[] = {
        Device_GetByte(state, settings, entry, path, byteValue),
        Device_GetShort(state, settings, entry, path, shortValue),
        Device_GetLong(state, settings, entry, path, longValue),
        Device_GetFloat(state, settings, entry, path, floatValue),
        Device_GetString(state, settings, entry, path, text),
        Device_GetHexBinary(state, settings, entry, path, bytes, length),
        Device_GetDate(state, settings, entry, path, date),
        Device_GetToggle(state, settings, entry, path, toggle),
        Device_GetBitMask(state, settings, entry, path, 8, longValue),
        Device_GetBitMask(state, settings, entry, path, 32, longValue),
    };
    for (int32_t result : results)
        EXPECT_EQ(result, rc::UnknownInDescription);
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
