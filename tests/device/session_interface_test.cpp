// The interface command: disconnect, choose, connect and scan.
#include "device/device_fixture.h"

#include "core/ResultCodes.h"
#include "device/CanSetup.h"
#include "device/DeviceSession.h"
#include "device/InterfaceSession.h"
#include "transport/AppState.h"

#include <optional>

using namespace devicetest;

namespace {

// Answers the selection with a prepared choice and keeps what it was shown.
class ScriptedChooser : public InterfaceChooser {
public:
    explicit ScriptedChooser(std::optional<InterfaceChoice> answer) : answer_(std::move(answer)) {}

    std::optional<InterfaceChoice> choose(const InterfaceChoice& current) override
    {
        shown.push_back(current);
        return answer_;
    }

    std::vector<InterfaceChoice> shown;

private:
    std::optional<InterfaceChoice> answer_;
};

InterfaceChoice canChoice(const QString& net)
{
    return {CANBus, SimulationHardware, net, DemoNetKbit, 0, 0};
}

bool scanned(const DeviceWorld& world)
{
    return world.logLines().contains(QStringLiteral("Starting device scan..."));
}

TEST(InterfaceCommand, ConnectsTheChosenInterfaceAndScansIt)
{
    const struct {
        const char* what;
        int32_t bus;                                // the interface in use before
        InterfaceChoice shown;                  // what the selection starts from
        std::optional<InterfaceChoice> answer;  // nothing: cancelled
        int32_t result;
        bool connected;
    } cases[] = {
        {"CAN net", CANBus, canChoice(DemoNet), canChoice(DemoNet), 3, true},
        {"PROFIBUS, cancelled: the same card again", PROFIBUS, {PROFIBUS, {}, {}, 0, 10, 1},
         std::nullopt, 3, true},
        {"COM port", RS232, {RS232, {}, {}, 9600, 0, 1}, InterfaceChoice{RS232, {}, {}, 9600, 0, 1}, 1, true},
        {"COM port, cancelled: the same port again", RS232, {RS232, {}, {}, 9600, 0, 1}, std::nullopt, 1,
         true},
        {"DeviceNet", DeviceNet, {DeviceNet, {}, {}, 0, 10, 1}, InterfaceChoice{DeviceNet, {}, {}, 0, 0, 0}, 3,
         true},
        {"no interface", CANBus, canChoice(DemoNet), InterfaceChoice{}, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DeviceWorld world(c.bus);
        ScriptedChooser chooser(c.answer);
        EXPECT_EQ(Interface_SelectAndConnect(world.state(), world.settings(), chooser, &world.host()), c.result);
        ASSERT_EQ(chooser.shown.size(), 1u);
        EXPECT_EQ(chooser.shown[0], c.shown);
        EXPECT_EQ(world.settings().Connected, c.connected);
        EXPECT_EQ(world.state().DeviceCount, c.result);
        EXPECT_EQ(scanned(world), c.connected);
        EXPECT_EQ(world.host().windowRefreshes, c.connected ? 1 : 0);
        EXPECT_TRUE(world.host().messages.empty()) << world.host().texts().join('\n').toStdString();
    }
}

TEST(InterfaceCommand, ACOMPortChoiceTakesTheFixedLineSettings)
{
    DeviceWorld world(RS232);
    InterfaceSettings& settings = world.settings();
    settings.ComBaud = 19200;
    settings.ComParity = 0;
    settings.ComDataBits = 7;
    settings.ComStopBits = 2;
    ScriptedChooser chooser(InterfaceChoice{RS232, {}, {}, 4800, 0, 1});
    EXPECT_EQ(Interface_SelectAndConnect(world.state(), settings, chooser, &world.host()), 1);
    EXPECT_EQ(settings.ComPort, 1);
    EXPECT_EQ(settings.ComBaud, 9600);
    EXPECT_EQ(settings.ComParity, 2);
    EXPECT_EQ(settings.ComDataBits, 8);
    EXPECT_EQ(settings.ComStopBits, 1);
}

TEST(InterfaceCommand, AFailedConnectScansNothing)
{
    DeviceWorld world(CANBus);
    ASSERT_EQ(Device_Scan(world.state(), world.settings(), &world.host()), 3);
    ScriptedChooser chooser(canChoice(QStringLiteral("Nulle part")));
    EXPECT_EQ(Interface_SelectAndConnect(world.state(), world.settings(), chooser, &world.host()), rc::CanNoSuchNet);
    EXPECT_EQ(world.host().texts(),
              QStringList{"Erreur-16510 lors de la connexion : 'Matériel 'Simulation' ou réseau 'Nulle part' n'existe "
                          "pas !'"});
    EXPECT_FALSE(world.settings().Connected);
    EXPECT_EQ(world.settings().BusName, "Nulle part") << "the choice is kept for the next selection";
    EXPECT_EQ(world.state().DeviceCount, 0) << "the devices of the interface before are gone";
}

}  // namespace
