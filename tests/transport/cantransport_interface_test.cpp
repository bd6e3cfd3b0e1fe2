#include "can_sim_rack.h"
#include "core/Log.h"
#include "core/ResultCodes.h"
#include "core/Settings.h"
#include "support/ForwardingCanLibrary.h"
#include "support/TestFolder.h"
#include "transport/ErrorText.h"
#include "transport/InterfaceManager.h"
#include "transport/can/CanNets.h"
#include "transport/can/lib/CanopenClient.h"

#include <QFile>
#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

// A CANopen client with two built-in nets: "Simulation"/"Démo" with a map rack, and
// "Broken"/"Net" whose bus cannot be opened.
class InterfaceTest : public ::testing::Test {
protected:
    InterfaceTest()
    {
        CanNetCatalog catalog = demoNetCatalog(rack_, 500, [](CanTestRack& rack) { rack.addNode(5); });
        catalog.addBuiltInNet("Broken", "Net", 125, [] { return std::unique_ptr<CanFrameBus>(); });
        world.state.buses.can = std::make_unique<CanopenClient>(std::move(catalog));
    }

    InterfaceSettings can(const QString& hardware, const QString& net)
    {
        InterfaceSettings settings;
        settings.InterfaceType = CANBus;
        settings.HWName = hardware;
        settings.BusName = net;
        return settings;
    }

    TestFolder world;
    CanTestRack* rack_ = nullptr;
};

// A missing net of a built-in hardware, and a missing interface of a QCanBus plugin
// that creates a device for any name.
TEST_F(InterfaceTest, UnknownNetIsReportedOnceWithoutRetry)
{
    ensureApplication();
    const std::pair<QString, QString> nets[] = {{"Simulation", "Ailleurs"}, {"socketcan", "can7"}};
    for (const auto& [hardware, net] : nets) {
        SCOPED_TRACE(hardware.toStdString());
        world.host.messages.clear();
        if (hardware == QStringLiteral("socketcan"))
            world.state.buses.can = std::make_unique<CanopenClient>(CanNetCatalog(true));
        InterfaceSettings settings = can(hardware, net);
        EXPECT_EQ(Interface_Connect(world.state, settings), rc::CanNoSuchNet);
        ASSERT_EQ(world.host.messages.size(), 1u);
        EXPECT_EQ(world.host.messages[0].text,
                  QStringLiteral("Erreur-16510 lors de la connexion : 'Matériel '%1' ou réseau '%2' n'existe pas !'")
                      .arg(hardware, net));
        EXPECT_EQ(world.host.messages[0].style, 48);
        EXPECT_EQ(world.host.clockMs, 0);
        EXPECT_FALSE(settings.Connected);
    }
}

TEST_F(InterfaceTest, OtherFailuresAreTriedTwiceWithAPause)
{
    InterfaceSettings settings = can("Broken", "Net");
    const int32_t result = Interface_Connect(world.state, settings);
    EXPECT_LT(result, 0);
    EXPECT_EQ(world.host.clockMs, 1000);  // two resets, 500 ms each
    ASSERT_EQ(world.host.messages.size(), 1u);
    EXPECT_EQ(world.host.messages[0].text,
              QStringLiteral("Erreur%1 lors de la connexion : ''").arg(result));
}

TEST_F(InterfaceTest, ConnectsToAListedNetAndRefusesAnotherWhileConnected)
{
    InterfaceSettings first = can("Simulation", "Démo");
    ASSERT_GE(Interface_Connect(world.state, first), 0);
    EXPECT_TRUE(first.Connected);
    EXPECT_TRUE(world.host.messages.empty());
    InterfaceSettings second = can("Broken", "Net");
    EXPECT_EQ(Interface_Connect(world.state, second), rc::CanAlreadyOnOtherNet);
    EXPECT_EQ(world.host.messages.back().text,
              QStringLiteral("Erreur-7 lors de la connexion : 'The CAN-Hardware is already connected "
                             "to a net. Connection only possible to this net.'"));
}

// A CAN library whose connect fails in a way nobody planned for.
class ThrowingCan : public ForwardingCanLibrary {
public:
    ThrowingCan(std::unique_ptr<CanLibrary> library, std::function<void()> fail)
        : ForwardingCanLibrary(std::move(library)), fail_(std::move(fail)) {}
    int32_t connectClientToNet(const QString&, const QString&) override
    {
        fail_();
        return rc::Ok;
    }

private:
    std::function<void()> fail_;
};

TEST_F(InterfaceTest, UnexpectedFailureInsideIsShownLoggedAndGivesMinusOne)
{
    const std::pair<std::function<void()>, const char*> cases[] = {
        {[] { throw std::runtime_error("pilote bloqué"); }, "Interface_Connect(): pilote bloqué"},
        {[] { throw 42; }, "Interface_Connect(): Erreur inconnue"},
    };
    Log_Open(world.state.core, true);
    for (const auto& [fail, text] : cases) {
        world.state.buses.can = std::make_unique<ThrowingCan>(std::move(world.state.buses.can), fail);
        world.host.messages.clear();
        InterfaceSettings settings = can("Simulation", "Démo");
        settings.Connected = true;
        EXPECT_EQ(Interface_Connect(world.state, settings), rc::Failed) << text;
        EXPECT_FALSE(settings.Connected) << text;
        ASSERT_EQ(world.host.messages.size(), 1u) << text;
        EXPECT_EQ(world.host.messages[0].text, QString::fromUtf8(text));
        EXPECT_EQ(world.host.messages[0].style, msg::Warning);
    }
    Log_Open(world.state.core, false);
    QFile log(GetAppDataFolder(world.state.core) + QStringLiteral("/Quelbrin Assistant.log"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString written = QString::fromUtf8(log.readAll());
    EXPECT_TRUE(written.contains(QStringLiteral(": Interface_Connect(): pilote bloqué\r\n")) &&
                written.contains(QStringLiteral(": Interface_Connect(): Erreur inconnue\r\n")))
        << written.toStdString();
}

TEST_F(InterfaceTest, UnknownKindIsRefusedAndCleared)
{
    InterfaceSettings settings;
    settings.InterfaceType = 3;
    EXPECT_EQ(Interface_Connect(world.state, settings), rc::UnknownInterface);
    EXPECT_EQ(settings.InterfaceType, NoInterfaceKind);
    EXPECT_EQ(world.host.texts(), QStringList{QStringLiteral("Type d'interface inconnu !")});
}

TEST_F(InterfaceTest, TimeoutIsNotSupportedOnProfibus)
{
    InterfaceSettings settings;
    settings.InterfaceType = PROFIBUS;
    EXPECT_EQ(Interface_SetTimeout(world.state, settings, 100), rc::NotSupported);
    settings.InterfaceType = NoInterfaceKind;
    EXPECT_EQ(Interface_SetTimeout(world.state, settings, 100), rc::UnknownInterface);
}

TEST_F(InterfaceTest, NetListMarksTheConnectedNetAndFindsItWithoutTheStar)
{
    InterfaceSettings settings = can("Simulation", "Démo");
    ASSERT_GE(Interface_Connect(world.state, settings), 0);
    QList<InterfaceSettings> nets;
    EXPECT_EQ(CAN_ListNets(world.state, nets), 2);
    ASSERT_EQ(nets.size(), 2);
    EXPECT_EQ(nets[0].HWName, QStringLiteral("Simulation"));
    EXPECT_EQ(nets[0].BusName, QStringLiteral("Démo"));
    EXPECT_TRUE(nets[0].Connected);
    EXPECT_EQ(nets[0].BaudRate, 500);
    EXPECT_FALSE(nets[1].Connected);
    EXPECT_EQ(nets[1].BaudRate, 125);

    InterfaceSettings wanted = can("Simulation", "Démo");
    wanted.InterfaceType = NoInterfaceKind;
    EXPECT_TRUE(CAN_FindNet(world.state, wanted));
    EXPECT_EQ(wanted.InterfaceType, CANBus);
    EXPECT_EQ(wanted.BaudRate, 500);
    InterfaceSettings missing = can("Simulation", "*Démo");
    EXPECT_FALSE(CAN_FindNet(world.state, missing));
}

TEST_F(InterfaceTest, ErrorTextOfCodesByInterfaceKind)
{
    DeviceEntry entry;
    const struct {
        int32_t kind;
        int32_t code;
        const char* text;
    } cases[] = {
        {CANBus, rc::Timeout, "Timeout!"},
        {CANBus, rc::CanTimeout, "Timeout!"},
        {CANBus, rc::MissingDocument, "-6"},
        {CANBus, rc::Refused, "-7"},
        {CANBus, -11, "-11"},
        {CANBus, -16008, "-16008"},
        {CANBus, rc::NoDevice, "Aucun appareil n'a été raccordé !"},
        {CANBus, rc::UnknownInDescription, "Paramètre inconnu au fichier de description de l'appareil"},
        {CANBus, rc::ReadOnly, "Ce paramètre peut être lu uniquement !"},
        {CANBus, 2, "2"},
        {PROFIBUS, -11, "Erreur inconnue -11"},
        {PROFIBUS, -16008, "Time out"},
        {PROFIBUS, rc::ReadOnly, "Ce paramètre peut être lu uniquement !"},
    };
    for (const auto& c : cases) {
        InterfaceSettings settings = can("Simulation", "Démo");
        settings.InterfaceType = c.kind;
        EXPECT_EQ(ErrorText(world.state, settings, entry, c.code, QString()), QString::fromUtf8(c.text))
            << c.kind << ' ' << c.code;
    }
}

// CAN and PROFIBUS interfaces are stored and loaded back; other kinds clear the entry;
// without the settings document nothing is stored.
TEST_F(InterfaceTest, StandardInterfaceRoundTripsByKind)
{
    InterfaceSettings none;
    EXPECT_EQ(LoadStandardInterface(world.state, none), rc::MissingDocument);
    EXPECT_EQ(SaveStandardInterface(world.state, none), rc::MissingDocument);

    AppConf_Create(world.state.core);
    InterfaceSettings canNet = can("Simulation", "Démo");
    canNet.BaudRate = 500;
    InterfaceSettings profibus;
    profibus.InterfaceType = PROFIBUS;
    profibus.PType = 10;
    profibus.Devno = 1;
    InterfaceSettings serial;
    serial.InterfaceType = RS232;
    const std::pair<InterfaceSettings, int32_t> cases[] = {
        {canNet, rc::Ok}, {profibus, rc::Ok}, {serial, rc::UnknownInterface}};
    const auto fields = [](const InterfaceSettings& s) {
        return std::tuple(s.InterfaceType, s.HWName, s.BusName, s.BaudRate, s.PType, s.Devno);
    };
    for (const auto& [stored, result] : cases) {
        SCOPED_TRACE(stored.InterfaceType);
        EXPECT_EQ(SaveStandardInterface(world.state, stored), result);
        InterfaceSettings loaded;
        EXPECT_EQ(LoadStandardInterface(world.state, loaded), result);
        if (result == rc::Ok) {
            EXPECT_EQ(fields(loaded), fields(stored));
        }
    }
    QString text;
    EXPECT_TRUE(AppConf_Find(world.state.core, QStringLiteral("Device/StandardInterface"), text));
    EXPECT_EQ(text, QString());
}

}  // namespace
