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

// The zero asks first; tare and peak reset do not. Zero and tare want the configuration
// read again.
TEST_P(AccessAction, ConfirmedActionIsSentAndAsksForTheReloadItsDescriptionWants)
{
    const QString zeroQuestion = QStringLiteral("Effectuer la mise à zéro avec le signal d'entrée actuel ?");
    const struct {
        const char* path;
        int answer;
        int32_t result;
        QStringList messages;
        int writes;
    } cases[] = {
        {"ZeroTare/Zero", msg::No, rc::Declined, {zeroQuestion}, 0},
        {"ZeroTare/Zero", msg::Yes, rc::ReloadComplete, {zeroQuestion}, 1},
        {"ZeroTare/Tare", msg::Yes, rc::ReloadComplete, {}, 1},
        {"Measurement/ResetPeak", msg::Yes, rc::Ok, {}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.path) + (c.answer == msg::Yes ? "" : " declined"));
        world.host().messages.clear();
        world.host().statusTexts.clear();
        world.host().answers = {c.answer};
        world.clearTraffic();
        EXPECT_EQ(execute(QString::fromLatin1(c.path)), c.result);
        EXPECT_EQ(world.traffic().writes, c.writes);
        EXPECT_EQ(world.host().texts(), c.messages);
        if (!c.messages.isEmpty()) {
            EXPECT_EQ(world.host().messages[0].style, msg::Question);
        }
        EXPECT_EQ(world.host().statusTexts.isEmpty(), c.writes == 0);
        if (c.writes) {
            EXPECT_EQ(world.host().statusTexts.first(), QStringLiteral("L'action est exécutée..."));
        }
        EXPECT_EQ(world.host().busyDepth, 0);
    }
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
    EXPECT_EQ(world.element(QStringLiteral("Common/SerialNumber")).text(),
              QStringLiteral("100003"));
    EXPECT_EQ(world.element(QStringLiteral("Amplifier/MeasuringRange")).text(),
              QString::number(uint8_t(world.onDevice(QStringLiteral("Amplifier/MeasuringRange"))[0])));
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
