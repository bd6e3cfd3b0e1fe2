// Disconnecting devices and interfaces: the save question, the configuration check
// and the state left behind.
#include "device/device_fixture.h"

#include "core/ResultCodes.h"
#include "device/DeviceSession.h"
#include "model/Configuration.h"
#include "sim/amplifier/SimAmplifier.h"
#include "sim/profibus/SimProfibusMaster.h"
#include "transport/can/lib/SdoAbortCodes.h"
#include "transport/AppState.h"
#include "transport/profibus/Dpv1Transport.h"

#include <deque>

using namespace devicetest;

namespace {

const QString SaveQuestion =
    QStringLiteral("Enregistrer la configuration actuelle en permanence dans l'appareil avant de déconnecter ?");
const QString CheckFailedQuestion =
    QStringLiteral("Erreur lors de la vérification des paramètres ! Sauvegarder la configuration quand même ?");
constexpr int CheckFailedStyle = 52;

// The confirmation of "ApplicationObjects/SaveApp" in the shipped descriptions.
const QString SaveConfirmation = QStringLiteral("Enregistrer la configuration actuelle en permanence dans l'appareil ?");

TEST(Disconnect, AnUnchangedDeviceIsClosedWithoutAQuestion)
{
    for (int32_t bus : {CANBus, PROFIBUS, DeviceNet, RS232}) {
        SCOPED_TRACE(kindName(bus));
        DeviceWorld world(bus);
        DeviceEntry& entry = world.connectDevice(3);
        EXPECT_EQ(Device_Disconnect(world.state(), world.settings(), entry, &world.host()), rc::Ok);
        EXPECT_TRUE(world.host().messages.empty()) << world.host().texts().join('\n').toStdString();
        EXPECT_FALSE(entry.Online);
        EXPECT_EQ(world.host().deviceViewCloses, 1);
    }
}

TEST(Disconnect, AChangedDeviceIsOfferedToStore)
{
    const struct {
        const char* what;
        int32_t bus;
        const char* invalidDelay;     // stored in the document; null: the document is valid
        std::deque<int> answers;
        std::vector<int> styles;      // of the messages shown
        bool stored;
    } cases[] = {
        {"yes", CANBus, nullptr, {msg::Yes, msg::Yes}, {msg::Question, msg::Question}, true},
        {"no", CANBus, nullptr, {msg::No}, {msg::Question}, false},
        {"yes, but the save declined", CANBus, nullptr, {msg::Yes, msg::No}, {msg::Question, msg::Question}, false},
        // The check shows what it refuses before the second question.
        {"check failed, store anyway", CANBus, "20000", {msg::Yes, msg::Yes, msg::Yes},
         {msg::Question, msg::Warning, CheckFailedStyle, msg::Question}, true},
        {"check failed, do not store", CANBus, "20000", {msg::Yes, msg::No},
         {msg::Question, msg::Warning, CheckFailedStyle}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DeviceWorld world(c.bus);
        DeviceEntry& entry = world.connectDevice(3);
        world.put(QStringLiteral("Scaling/DecimalPointPos"), le(3, 1));
        ASSERT_TRUE(world.amplifier(3).isChanged());
        if (c.invalidDelay) {
            XmlNode element = Conf_Parameters(world.state().Configuration.get())
                                  .selectSingle(QStringLiteral("LimitSwitches/LimitSwitch1/Delay"));
            element.setText(QLatin1String(c.invalidDelay));
        }
        world.host().answers = c.answers;
        EXPECT_EQ(Device_Disconnect(world.state(), world.settings(), entry, &world.host()), rc::Ok);

        std::vector<int> styles;
        for (const auto& message : world.host().messages)
            styles.push_back(message.style);
        EXPECT_EQ(styles, c.styles) << world.host().texts().join('\n').toStdString();
        EXPECT_EQ(world.host().messages.front().text, SaveQuestion);
        if (c.invalidDelay) {
            EXPECT_EQ(world.host().messages[2].text, CheckFailedQuestion);
        }
        if (c.stored) {
            EXPECT_EQ(world.host().messages.back().text, SaveConfirmation);
        }
        EXPECT_EQ(world.amplifier(3).isChanged(), !c.stored);
        EXPECT_EQ(world.onDevice(QStringLiteral("Scaling/DecimalPointPos")), le(3, 1)) << "the working configuration is kept either way";
        EXPECT_FALSE(entry.Online);
    }
}

TEST(Disconnect, AStoreTheDeviceRefusesIsLoggedAndTheDeviceClosed)
{
    DeviceWorld world(CANBus);
    DeviceEntry& entry = world.connectDevice(3);
    world.put(QStringLiteral("Scaling/DecimalPointPos"), le(3, 1));
    SimAmplifier& amplifier = world.amplifier(3);
    amplifier.refuseAt(SimDirection::Write, *amplifier.keyOfPath(QStringLiteral("ApplicationObjects/SaveApp")),
                       sdoabort::UnsupportedAccess);
    world.host().answers = {msg::Yes, msg::Yes};
    EXPECT_EQ(Device_Disconnect(world.state(), world.settings(), entry, &world.host()), rc::Ok);
    EXPECT_TRUE(amplifier.isChanged());
    const QStringList log = world.logLines();
    EXPECT_TRUE(log.contains(QStringLiteral("Device_Disconnect(): ApplicationObjects/SaveApp : La valeur souhaitée ne "
                                            "peut pas être ajustée")))
        << log.join('\n').toStdString();
    EXPECT_FALSE(entry.Online);
}

TEST(Disconnect, OnAClosedInterfaceOnlyMarksTheDeviceOffline)
{
    DeviceWorld world(PROFIBUS);
    DeviceEntry& entry = world.connectDevice(3);
    world.put(QStringLiteral("Scaling/DecimalPointPos"), le(3, 1));
    world.settings().Connected = false;
    EXPECT_EQ(Device_Disconnect(world.state(), world.settings(), entry, &world.host()), rc::Ok);
    EXPECT_FALSE(entry.Online);
    EXPECT_TRUE(world.host().messages.empty());
    EXPECT_EQ(world.host().deviceViewCloses, 0);
    EXPECT_TRUE(world.amplifier(3).isChanged());
    const auto& master = world.profibus()->master;
    EXPECT_TRUE(master.isConnected(DPV1_Card(world.settings()), 3)) << "nothing was sent to the bus";
}

TEST(Disconnect, AllDevicesLeavesAnEmptyCount)
{
    DeviceWorld world(PROFIBUS);
    ASSERT_EQ(Device_Scan(world.state(), world.settings(), &world.host()), 3);
    AppState& state = world.state();
    state.CurrentDevice = 2;
    XmlNode parameters;
    ASSERT_EQ(Device_Connect(state, world.settings(), state.Devices[2], parameters, &world.host()), rc::Ok);
    ASSERT_TRUE(state.Devices[2].Online);
    Device_DisconnectAll(state, world.settings(), &world.host());
    EXPECT_EQ(state.DeviceCount, 0);
    EXPECT_EQ(state.CurrentDevice, 0);
    EXPECT_FALSE(state.Devices[2].Online);
    EXPECT_EQ(state.Devices.size(), 4u) << "the entries stay until the next scan";
    EXPECT_TRUE(world.host().messages.empty());
    const auto& master = world.profibus()->master;
    EXPECT_FALSE(master.isConnected(DPV1_Card(world.settings()), 42));
}

TEST(Disconnect, TheInterfaceClosesAfterItsDevices)
{
    DeviceWorld world(PROFIBUS);
    ASSERT_EQ(Device_Scan(world.state(), world.settings(), &world.host()), 3);
    XmlNode parameters;
    ASSERT_EQ(Device_Connect(world.state(), world.settings(), world.state().Devices[1], parameters, &world.host()),
              rc::Ok);
    world.put(QStringLiteral("Scaling/DecimalPointPos"), le(3, 1));
    world.host().answers = {msg::No};
    world.host().deviceViewCloses = 0;
    EXPECT_EQ(Interface_Disconnect(world.state(), world.settings()), rc::Ok);
    EXPECT_EQ(world.host().texts(), QStringList{SaveQuestion}) << "each device is disconnected first";
    EXPECT_EQ(world.state().DeviceCount, 0);
    EXPECT_FALSE(world.settings().Connected);
    EXPECT_GE(world.host().deviceViewCloses, 1);
    const auto& master = world.profibus()->master;
    EXPECT_FALSE(master.isCardOpen(DPV1_Card(world.settings())));
}

}  // namespace
