// Device_Open and Device_Close on the four kinds, and what a read's time-out does to
// the connection.
#include "device/device_fixture.h"

#include "core/ResultCodes.h"
#include "core/Settings.h"
#include "device/DeviceAccess.h"

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

TEST(AccessOpen, OpenConnectsTheDeviceAndCloseReleasesIt)
{
    using Calls = std::vector<std::pair<std::string, int>>;
    const struct {
        int32_t kind;
        Calls openCalls;
        Calls closeCalls;
        bool closesTheLine;  // a read after the close fails
    } cases[] = {
        {CANBus, {}, {}, false},
        {PROFIBUS, {{"Disconnect", QsgNode}, {"Connect", QsgNode}}, {{"Disconnect", QsgNode}}, true},
        {DeviceNet, {{"InitDevice/0", QsgNode}}, {{"AbortDevice", QsgNode}}, false},
        {RS232, {}, {}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(kindName(c.kind));
        DeviceWorld world(c.kind);
        DeviceEntry entry = world.entry();
        EXPECT_EQ(Device_Close(world.state(), world.settings(), entry, nullptr), rc::Ok);
        EXPECT_TRUE(libraryCalls(world).empty()) << "an entry not online is not closed";

        EXPECT_EQ(Device_Open(world.state(), world.settings(), entry, nullptr), rc::Ok);
        EXPECT_TRUE(entry.Online);
        EXPECT_EQ(libraryCalls(world), c.openCalls);
        EXPECT_TRUE(answers(world, entry));

        world.clearTraffic();
        EXPECT_EQ(Device_Close(world.state(), world.settings(), entry, nullptr), rc::Ok);
        EXPECT_FALSE(entry.Online);
        EXPECT_EQ(libraryCalls(world), c.closeCalls);
        if (c.closesTheLine) {
            EXPECT_FALSE(answers(world, entry));
        }
        EXPECT_TRUE(world.host().messages.empty());
    }
}

TEST(AccessOpen, FailedOpenShowsTheLibraryErrorAndStaysOffline)
{
    const QString head = QStringLiteral("Erreur lors du raccordement à l'appareil : ");
    const struct {
        int32_t kind;
        int32_t result;
        QString text;
    } cases[] = {
        {PROFIBUS, -16008, head + QStringLiteral("Time out")},
        {DeviceNet, -2, head + QStringLiteral("Erreur inconnue -2")},
        {RS232, rc::NoInterface, head + QStringLiteral("Erreur inconnue -3")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(kindName(c.kind));
        DeviceWorld world(c.kind);
        world.amplifier().setSilent(true);
        if (c.kind == RS232) {
            ASSERT_EQ(AppConf_SetValue(world.state().core, QStringLiteral("SerialPorts/COM1"),
                                       QStringLiteral("/nonexistent/tty")),
                      rc::Ok);
        }
        DeviceEntry entry = world.entry();
        EXPECT_EQ(Device_Open(world.state(), world.settings(), entry, nullptr), c.result);
        EXPECT_FALSE(entry.Online);
        EXPECT_EQ(world.host().texts(), QStringList{c.text});
        EXPECT_EQ(world.host().messages.at(0).style, msg::Ok);
    }
}

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
