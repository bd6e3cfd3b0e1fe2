// Restarting a device: the wait a real restart needs, and the reconnect.
#include "device/device_fixture.h"

#include "core/ResultCodes.h"
#include "device/DeviceSession.h"
#include "model/Configuration.h"
#include "transport/AppState.h"

using namespace devicetest;

namespace {

const QString RestartWait = QStringLiteral("Attends 5s pour le redémarrage d'appareil...");

TEST(Restart, WaitsForARealRestartThenConnectsAgain)
{
    const struct {
        int32_t bus;
        int answer;        // to the restart's confirmation
        long long waitMs;  // on the host's clock
        int decimalsAfter; // unsaved 3 is lost by a restart: the stored 4 comes back
    } cases[] = {
        {CANBus, msg::Yes, 5000, 4},
        {CANBus, msg::No, 0, 3},
        {PROFIBUS, msg::Yes, 5000, 4},
        {RS232, msg::Yes, 5000, 4},
        // DeviceNet releases the device first and gives it 100 ms.
        {DeviceNet, msg::Yes, 5100, 4},
        {DeviceNet, msg::No, 100, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(kindName(c.bus)) + (c.answer == msg::Yes ? " restarted" : " declined"));
        DeviceWorld world(c.bus);
        DeviceEntry& entry = world.connectDevice(3);
        world.put(QStringLiteral("Scaling/DecimalPointPos"), le(3, 1));
        // A mark in the document: a reconnect replaces the document.
        Conf_Parameters(world.state().Configuration.get()).appendElement(QStringLiteral("Mark"));
        world.host().statusTexts.clear();
        world.host().answers = {c.answer};
        XmlNode parameters;
        EXPECT_EQ(Device_Restart(world.state(), world.settings(), entry, parameters, &world.host()), rc::Ok);

        EXPECT_EQ(world.host().clockMs, c.waitMs);
        ASSERT_EQ(world.host().messages.size(), 1u) << world.host().texts().join('\n').toStdString();
        EXPECT_EQ(world.host().messages[0].style, msg::Question) << "the restart's confirmation only";
        const bool waited = c.answer == msg::Yes;
        EXPECT_EQ(world.host().statusTexts.contains(RestartWait), waited);
        if (waited) {
            EXPECT_EQ(world.host().statusTexts.at(world.host().statusTexts.indexOf(RestartWait) + 1), "Connecting...");
        }
        EXPECT_EQ(world.host().statusTexts.back(), "");
        EXPECT_EQ(world.host().busyDepth, 0);
        EXPECT_GE(world.host().eventRuns, waited ? 3 : 1);

        EXPECT_EQ(parameters, Conf_Parameters(world.state().Configuration.get()));
        EXPECT_TRUE(parameters.child("Mark").isNull()) << "connected again";
        EXPECT_TRUE(entry.Online);
        EXPECT_EQ(world.onDevice(QStringLiteral("Scaling/DecimalPointPos")), le(c.decimalsAfter, 1));
        EXPECT_EQ(world.element(QStringLiteral("Scaling/DecimalPointPos")).text(), QString::number(c.decimalsAfter));
        EXPECT_TRUE(parameters.selectAll(QStringLiteral(".//*[@Status]")).empty());
    }
}

// A restart that the net answers by giving up on its devices ends there: the device is
// no longer in the table, and connecting it would wait out the same silence again.
TEST(Restart, ADeviceTheNetDroppedIsNotConnectedAgain)
{
    DeviceWorld world(CANBus);
    DeviceEntry& entry = world.connectDevice(3);
    world.amplifier(3).setSilent(true);
    world.host().answers = {msg::Yes};
    XmlNode parameters;
    EXPECT_EQ(Device_Restart(world.state(), world.settings(), entry, parameters, &world.host()), rc::NoDevice);
    EXPECT_EQ(world.host().texts(),
              (QStringList{"Redémarrer l'appareil maintenant ? Les modifications non sauvegardées seront perdues.",
                           "Le nombre maximal de tentatives de mesure a été dépassé !\r\nMessage d'erreur : Erreur de "
                           "bus CAN : Timeout\r\n\r\nTous les appareils sont déconnectés."}));
    EXPECT_FALSE(entry.Online);
}

}  // namespace
