// The interface and device connections and the baud texts.
#include "fieldbus_fixture.h"

using namespace dnettest;

namespace {

std::vector<std::string> names(const std::vector<Call>& calls)
{
    std::vector<std::string> result;
    for (const Call& call : calls)
        result.push_back(call.name);
    return result;
}

TEST(DnetBaud, Texts)
{
    const std::pair<int32_t, const char*> cases[] = {
        {0, "500kBaud"}, {1, "250kBaud"}, {2, "125kBaud"}, {3, "unknown baudrate"}, {-1, "unknown baudrate"},
    };
    for (const auto& [code, text] : cases)
        EXPECT_EQ(DNET_BaudText(code), text) << code;
}

TEST_F(DnetTest, OpeningTheInterfacePassesTheBaudCode)
{
    DNET_CloseInterface(world.state);
    EXPECT_FALSE(library->master.isOpen());
    for (int32_t baud : {2, 1, 0}) {
        library->calls.clear();
        settings.Connected = false;
        settings.DeviceNetBaud = baud;
        EXPECT_EQ(DNET_OpenInterface(world.state, settings), rc::Ok);
        EXPECT_TRUE(settings.Connected);
        ASSERT_EQ(library->calls.size(), 1u);
        EXPECT_EQ(library->calls[0].name, "InitHW");
        EXPECT_EQ(library->calls[0].size, baud);
    }
    EXPECT_TRUE(world.host.messages.empty());
}

TEST_F(DnetTest, AnInterfaceThatCannotBeOpenedIsShown)
{
    const struct {
        const char* what;
        std::function<void()> prepare;
        int32_t baud;
        int32_t result;
    } cases[] = {
        {"unknown baud code", [] {}, 3, simdnet::InvalidBaud},
        {"injected", [&] { library->master.injectStatus(DeviceNetCall::InitHw, -9); }, 0, -9},
        {"no library", [&] { world.state.buses.devicenet.reset(); }, 0, rc::NoInterface},
    };
    for (const auto& c : cases) {
        c.prepare();
        world.host.messages.clear();
        settings.Connected = true;
        settings.DeviceNetBaud = c.baud;
        EXPECT_EQ(DNET_OpenInterface(world.state, settings), c.result) << c.what;
        EXPECT_FALSE(settings.Connected) << c.what;
        ASSERT_EQ(world.host.messages.size(), 1u) << c.what;
        EXPECT_EQ(world.host.messages[0].text,
                  QStringLiteral("Erreur%1 lors de l'ouverture de l'interface DeviceNet").arg(c.result))
            << c.what;
        EXPECT_EQ(world.host.messages[0].style, msg::Warning);
    }
}

TEST_F(DnetTest, HardwareProbeOpensAt125kAndClosesAgain)
{
    EXPECT_TRUE(DNET_HardwarePresent(world.state));
    EXPECT_EQ(names(library->calls), (std::vector<std::string>{"AbortHW", "InitHW", "AbortHW"}));
    EXPECT_EQ(library->calls[1].size, 2);
    EXPECT_FALSE(library->master.isOpen());

    library->calls.clear();
    library->master.injectStatus(DeviceNetCall::InitHw, simdnet::NotOpen);
    EXPECT_FALSE(DNET_HardwarePresent(world.state));
    EXPECT_EQ(names(library->calls), (std::vector<std::string>{"AbortHW", "InitHW"}));

    world.state.buses.devicenet.reset();
    EXPECT_FALSE(DNET_HardwarePresent(world.state));
}

TEST_F(DnetTest, ADeviceThatCannotBeOpenedGivesTheLibrarysCode)
{
    EXPECT_EQ(DNET_OpenDevice(world.state, 5), simdnet::NoAnswer);
    rack.node(17)->setSilent(true);
    EXPECT_EQ(DNET_OpenDevice(world.state, 17), simdnet::NoAnswer);
    DNET_CloseInterface(world.state);
    EXPECT_EQ(DNET_OpenDevice(world.state, 3), simdnet::NotOpen);
    world.state.buses.devicenet.reset();
    EXPECT_EQ(DNET_OpenDevice(world.state, 3), rc::NoInterface);
    EXPECT_EQ(DNET_CloseDevice(world.state, 3), rc::NoInterface);
}

}  // namespace
