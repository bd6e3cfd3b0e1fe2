// Device_Open and Device_Close on the four kinds, and what a read's time-out does to
// the connection.
#include "device/device_fixture.h"

#include "core/ResultCodes.h"
#include "core/Settings.h"
#include "device/DeviceAccess.h"
#include "transport/dnet_fixture.h"
#include "transport/dpv1_fixture.h"
#include "transport/serial/ComTransport.h"

namespace devicetest {
namespace {

// The library calls an open or close made, by name and station (PROFIBUS, DeviceNet).
std::vector<std::pair<std::string, int>> libraryCalls(DeviceWorld& world)
{
    std::vector<std::pair<std::string, int>> calls;
    if (world.profibus()) {
        for (const auto& call : world.profibus()->calls)
            calls.emplace_back(call.name, call.station);
    }
    if (world.devicenet()) {
        for (const auto& call : world.devicenet()->calls)
            calls.emplace_back(call.name + (call.size >= 0 ? "/" + std::to_string(call.size) : ""), call.macId);
    }
    return calls;
}

// Whether a plain read reaches the amplifier.
bool answers(DeviceWorld& world, DeviceEntry entry)
{
    uint8_t value = 0;
    return Device_GetByte(world.state(), world.settings(), entry, QStringLiteral("Scaling/DecimalPointPos"), value) ==
           rc::Ok;
}

struct OpenCase {
    int32_t kind;
    std::vector<std::pair<std::string, int>> openCalls;
    std::vector<std::pair<std::string, int>> closeCalls;
};

void PrintTo(const OpenCase& c, std::ostream* os) { *os << kindName(c.kind); }

class AccessOpen : public ::testing::TestWithParam<OpenCase> {
protected:
    AccessOpen() : world(GetParam().kind) {}
    DeviceWorld world;
};

TEST_P(AccessOpen, OpenConnectsTheDeviceAndCloseReleasesIt)
{
    DeviceEntry entry = world.entry();
    EXPECT_EQ(Device_Open(world.state(), world.settings(), entry, nullptr), rc::Ok);
    EXPECT_TRUE(entry.Online);
    EXPECT_EQ(libraryCalls(world), GetParam().openCalls);
    EXPECT_TRUE(answers(world, entry));

    world.clearTraffic();
    EXPECT_EQ(Device_Close(world.state(), world.settings(), entry, nullptr), rc::Ok);
    EXPECT_FALSE(entry.Online);
    EXPECT_EQ(libraryCalls(world), GetParam().closeCalls);
    EXPECT_TRUE(world.host().messages.empty());
}

TEST_P(AccessOpen, CloseOfAnEntryNotOnlineCallsNothing)
{
    DeviceEntry entry = world.entry();
    EXPECT_EQ(Device_Close(world.state(), world.settings(), entry, nullptr), rc::Ok);
    EXPECT_FALSE(entry.Online);
    EXPECT_TRUE(libraryCalls(world).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, AccessOpen,
    ::testing::Values(OpenCase{CANBus, {}, {}},
                      OpenCase{PROFIBUS, {{"Disconnect", QsgNode}, {"Connect", QsgNode}}, {{"Disconnect", QsgNode}}},
                      OpenCase{DeviceNet, {{"InitDevice/0", QsgNode}}, {{"AbortDevice", QsgNode}}},
                      OpenCase{RS232, {}, {}}),
    [](const auto& info) { return kindName(info.param.kind); });

TEST(AccessOpenSerial, ClosedPortNoLongerCarriesReads)
{
    DeviceWorld world(RS232);
    DeviceEntry entry = world.openEntry();
    ASSERT_TRUE(answers(world, entry));
    EXPECT_EQ(Device_Close(world.state(), world.settings(), entry, nullptr), rc::Ok);
    world.clearTraffic();
    EXPECT_FALSE(answers(world, entry));
}

struct OpenFailure {
    int32_t kind;
    int32_t result;
    QString text;
};

void PrintTo(const OpenFailure& c, std::ostream* os) { *os << kindName(c.kind); }

class AccessOpenFailure : public ::testing::TestWithParam<OpenFailure> {};

TEST_P(AccessOpenFailure, FailedOpenShowsTheLibraryErrorAndStaysOffline)
{
    DeviceWorld world(GetParam().kind);
    world.amplifier().setSilent(true);
    if (world.kind() == RS232) {
        ASSERT_EQ(AppConf_SetValue(world.state().core, QStringLiteral("SerialPorts/COM1"),
                                   QStringLiteral("/nonexistent/tty")),
                  rc::Ok);
    }
    DeviceEntry entry = world.entry();
    EXPECT_EQ(Device_Open(world.state(), world.settings(), entry, nullptr), GetParam().result);
    EXPECT_FALSE(entry.Online);
    ASSERT_EQ(world.host().messages.size(), 1u);
    EXPECT_EQ(world.host().messages[0].text, GetParam().text);
    EXPECT_EQ(world.host().messages[0].style, msg::Ok);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, AccessOpenFailure,
    ::testing::Values(
        OpenFailure{PROFIBUS, -16008, QStringLiteral("Erreur lors du raccordement à l'appareil : Time out")},
        OpenFailure{DeviceNet, -2, QStringLiteral("Erreur lors du raccordement à l'appareil : Erreur inconnue -2")},
        OpenFailure{RS232, rc::NoInterface,
                    QStringLiteral("Erreur lors du raccordement à l'appareil : Erreur inconnue -3")}),
    [](const auto& info) { return kindName(info.param.kind); });

TEST(AccessClose, FailedCloseIsShownAndTheEntryIsOfflineAllTheSame)
{
    DeviceWorld world(PROFIBUS);
    DeviceEntry entry = world.openEntry();
    world.profibus()->master.injectFault(ProfibusCall::Disconnect, -16007);
    EXPECT_EQ(Device_Close(world.state(), world.settings(), entry, nullptr), -16007);
    EXPECT_FALSE(entry.Online);
    EXPECT_EQ(world.host().texts(),
              QStringList{QStringLiteral("Erreur lors de la déconnexion de l'appareil : Aucune communication")});
}

TEST(AccessTimeout, ProfibusTimeoutClosesTheConnectionAndTheNextReadFails)
{
    DeviceWorld world(PROFIBUS);
    DeviceEntry entry = world.openEntry();
    world.amplifier().setSilent(true);
    int32_t value = 0;
    EXPECT_EQ(Device_GetLong(world.state(), world.settings(), entry, QStringLiteral("Common/VendorID"), value),
              -16008);
    EXPECT_FALSE(entry.Online);
    EXPECT_FALSE(world.profibus()->master.isConnected(DPV1_Card(world.settings()), QsgNode));
    EXPECT_EQ(world.profibus()->named("Disconnect").size(), 1u);

    world.amplifier().setSilent(false);
    EXPECT_EQ(Device_GetLong(world.state(), world.settings(), entry, QStringLiteral("Common/VendorID"), value),
              -16011);
    EXPECT_EQ(value, 0);

    ASSERT_EQ(Device_Open(world.state(), world.settings(), entry, nullptr), rc::Ok);
    EXPECT_EQ(Device_GetLong(world.state(), world.settings(), entry, QStringLiteral("Common/VendorID"), value), 0);
    EXPECT_EQ(value, 858);
    EXPECT_TRUE(world.host().messages.empty());
}

TEST(AccessTimeout, SerialTimeoutClosesThePort)
{
    DeviceWorld world(RS232);
    DeviceEntry entry = world.openEntry();
    ASSERT_EQ(COM_SetTimeout(world.state(), 50), rc::Ok);
    world.amplifier().setSilent(true);
    uint8_t value = 9;
    EXPECT_EQ(Device_GetByte(world.state(), world.settings(), entry, QStringLiteral("Scaling/DecimalPointPos"), value),
              rc::Timeout);
    EXPECT_EQ(value, 0);
    EXPECT_FALSE(entry.Online);
}

TEST(AccessTimeout, NoDeviceLeftMarksTheEntryOffline)
{
    DeviceWorld world(CANBus);
    DeviceEntry entry = world.openEntry();
    world.amplifier().setSilent(true);
    QString text = QStringLiteral("old");
    EXPECT_EQ(Device_GetString(world.state(), world.settings(), entry, QStringLiteral("Common/ChannelName"), text),
              rc::NoDevice);
    EXPECT_TRUE(text.isEmpty());
    EXPECT_FALSE(entry.Online);
    ASSERT_EQ(world.host().messages.size(), 1u);
    EXPECT_TRUE(world.host().messages[0].text.startsWith(
        QStringLiteral("Le nombre maximal de tentatives de mesure a été dépassé !")));
}

}  // namespace
}  // namespace devicetest
