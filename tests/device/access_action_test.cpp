// Device_ExecuteAction: confirmation, the value sent, reload and failure.
#include "device/device_fixture.h"

#include "core/ResultCodes.h"
#include "device/DeviceAccess.h"
#include "sim/SdoTarget.h"

namespace devicetest {
namespace {

class AccessAction : public KindTest {
protected:
    AccessAction() : entry(world.openEntry()), parameters(world.newConfiguration()) {}

    int32_t execute(const QString& path)
    {
        return Device_ExecuteAction(world.state(), world.settings(), entry, path, &world.host());
    }

    DeviceEntry entry;
    XmlNode parameters;
};

TEST_P(AccessAction, DeclinedConfirmationSendsNothing)
{
    world.host().answers = {msg::No};
    EXPECT_EQ(execute(QStringLiteral("ZeroTare/Zero")), rc::Declined);
    EXPECT_EQ(world.traffic().writes, 0);
    ASSERT_EQ(world.host().messages.size(), 1u);
    EXPECT_EQ(world.host().messages[0].text,
              QStringLiteral("Effectuer la mise à zéro avec le signal d'entrée actuel ?"));
    EXPECT_EQ(world.host().messages[0].style, msg::Question);
    EXPECT_TRUE(world.host().statusTexts.isEmpty());
}

TEST_P(AccessAction, ConfirmedActionIsSentAndAsksForTheReloadItsDescriptionWants)
{
    struct Case {
        const char* path;
        int answers;  // confirmations asked
        int32_t result;
    };
    const Case cases[] = {
        {"ZeroTare/Zero", 1, rc::ReloadComplete},
        {"ZeroTare/Tare", 0, rc::ReloadComplete},
        {"Measurement/ResetPeak", 0, rc::Ok},
    };
    world.host().answers = {msg::Yes};
    for (const Case& c : cases) {
        world.host().messages.clear();
        world.clearTraffic();
        EXPECT_EQ(execute(QString::fromLatin1(c.path)), c.result) << c.path;
        EXPECT_EQ(world.traffic().writes, 1) << c.path;
        EXPECT_EQ(int(world.host().messages.size()), c.answers) << c.path;
    }
    EXPECT_EQ(world.host().statusTexts.first(), QStringLiteral("L'action est exécutée..."));
    EXPECT_EQ(world.host().busyDepth, 0);
}

TEST_P(AccessAction, StoreActionSendsItsLongValue)
{
    world.put(QStringLiteral("Scaling/DecimalPointPos"), le(5, 1));
    ASSERT_TRUE(world.amplifier().isChanged());
    world.host().answers = {msg::Yes};
    EXPECT_EQ(execute(QStringLiteral("ApplicationObjects/SaveApp")), rc::Ok);
    EXPECT_FALSE(world.amplifier().isChanged());
}

INSTANTIATE_TEST_SUITE_P(Kinds, AccessAction, ::testing::ValuesIn(AllKinds),
                         [](const auto& info) { return kindName(info.param); });

// The serial line does not report a refused write, so failures are seen on the other buses.
using AccessActionFailure = AccessAction;

TEST_P(AccessActionFailure, FailedActionReadsTheWholeConfigurationAgain)
{
    const QString path = QStringLiteral("ZeroTare/Tare");
    world.amplifier().refuseAt(SimDirection::Write, *world.amplifier().keyOfPath(path), sdoabort::ReadOnly);
    EXPECT_EQ(execute(path), rc::ValueNotSet);
    EXPECT_EQ(DeviceWorld::elementAt(parameters, QStringLiteral("Common/SerialNumber")).text(),
              QStringLiteral("100003"));
    EXPECT_EQ(DeviceWorld::elementAt(parameters, QStringLiteral("Amplifier/MeasuringRange")).text(),
              QString::number(uint8_t(world.stored(QStringLiteral("Amplifier/MeasuringRange"))[0])));
    EXPECT_TRUE(world.host().messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Kinds, AccessActionFailure, ::testing::Values(CANBus, PROFIBUS, DeviceNet),
                         [](const auto& info) { return kindName(info.param); });

TEST(AccessActionKinds, UnknownPathAndUnknownKindSendNothing)
{
    DeviceWorld world(CANBus);
    DeviceEntry entry = world.openEntry();
    EXPECT_EQ(Device_ExecuteAction(world.state(), world.settings(), entry, QStringLiteral("ZeroTare/Nothing"), nullptr),
              rc::UnknownInDescription);
    entry.InterfaceKind = NoInterfaceKind;
    EXPECT_EQ(Device_ExecuteAction(world.state(), world.settings(), entry, QStringLiteral("Measurement/ResetPeak"),
                                   nullptr),
              rc::UnknownInterface);
    EXPECT_EQ(world.traffic().writes, 0);
    EXPECT_TRUE(world.host().messages.empty());
}

}  // namespace
}  // namespace devicetest
