// Restarting a device: the wait a real restart needs, and the reconnect.
#include "session_fixture.h"

#include "core/ResultCodes.h"
#include "device/DeviceSession.h"
#include "model/Configuration.h"
#include "transport/AppState.h"

using session::Bus;

namespace {

const QString RestartWait = QStringLiteral("Attends 5s pour le redémarrage d'appareil...");

TEST(Restart, WaitsForARealRestartThenConnectsAgain)
{
    const struct {
        Bus bus;
        int answer;        // to the restart's confirmation
        long long waitMs;  // on the host's clock
        int decimalsAfter; // unsaved 3 is lost by a restart
    } cases[] = {
        {Bus::Can, msg::Yes, 5000, 0},
        {Bus::Can, msg::No, 0, 3},
        {Bus::Profibus, msg::Yes, 5000, 0},
        {Bus::Serial, msg::Yes, 5000, 0},
        // DeviceNet releases the device first and gives it 100 ms.
        {Bus::DeviceNet, msg::Yes, 5100, 0},
        {Bus::DeviceNet, msg::No, 100, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(session::busName(c.bus)) + (c.answer == msg::Yes ? " restarted" : " declined"));
        SessionWorld world;
        world.openBus(c.bus);
        DeviceEntry& entry = world.connectDevice(3);
        ASSERT_EQ(world.changeOnDevice(entry, 3), rc::Ok);
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
        EXPECT_EQ(world.decimalsOnDevice(3), c.decimalsAfter);
        EXPECT_EQ(world.stored("Scaling/DecimalPointPos"), QString::number(c.decimalsAfter));
        EXPECT_TRUE(parameters.selectAll(QStringLiteral(".//*[@Status]")).empty());
    }
}

}  // namespace
