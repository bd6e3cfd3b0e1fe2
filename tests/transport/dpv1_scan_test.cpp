// The station search: Hilscher live list and connect probing of any other card.
#include "fieldbus_fixture.h"

#include <numeric>

using namespace dpv1test;

namespace {

std::vector<int> addresses(const std::vector<DeviceEntry>& found)
{
    std::vector<int> result;
    for (std::size_t i = 1; i < found.size(); ++i) {
        EXPECT_EQ(found[i].InterfaceKind, PROFIBUS);
        result.push_back(found[i].Address);
    }
    return result;
}

class Dpv1ScanTest : public Dpv1Test {
protected:
    int32_t scanWith(int16_t type)
    {
        settings.PType = type;
        EXPECT_GE(DPV1_OpenCard(world.state, settings), 0);
        library->calls.clear();
        return DPV1_Scan(world.state, settings, found);
    }

    std::vector<DeviceEntry> found{DeviceEntry{}, DeviceEntry{}};
};

TEST_F(Dpv1ScanTest, HilscherCardTakesItsStationListInListOrder)
{
    const struct {
        const char* what;
        std::vector<uint8_t> list;  // empty: the simulated card's own list
        int32_t result;
        std::vector<int> addresses;
    } cases[] = {
        {"simulated bus", {}, 3, {3, 17, 42}},
        {"list not sorted", {42, 3, 17, 99}, 4, {42, 3, 17, 99}},
        {"empty list", {0}, 0, {}},
    };
    for (const auto& c : cases) {
        library->scriptedScan = nullptr;
        if (!c.list.empty())
            library->scriptedScan = [&](ProfibusStationList& stations) {
                std::copy(c.list.begin(), c.list.end(), stations.begin());
                return c.result;
            };
        EXPECT_EQ(scanWith(profibus::HilscherMaster), c.result) << c.what;
        EXPECT_EQ(addresses(found), c.addresses) << c.what;
        ASSERT_EQ(library->calls.size(), 1u) << c.what;
        EXPECT_EQ(library->calls[0].name, "Scan");
        EXPECT_EQ(library->calls[0].card.type, profibus::HilscherMaster);
        EXPECT_TRUE(library->calls[0].diagZeroed);
    }
    EXPECT_TRUE(world.host.messages.empty());
    EXPECT_EQ(world.host.statusTexts.back(), "");
    EXPECT_EQ(world.host.statusTexts.at(0), "Recherche d'appareils...");
    EXPECT_EQ(world.host.busyDepth, 0);
}

TEST_F(Dpv1ScanTest, HilscherScanFailureIsShownAndReturned)
{
    library->master.injectFault(ProfibusCall::Scan, rc::ProfibusNoCommunication);
    EXPECT_EQ(scanWith(profibus::HilscherMaster), rc::ProfibusNoCommunication);
    EXPECT_EQ(addresses(found), std::vector<int>{});
    ASSERT_EQ(world.host.messages.size(), 1u);
    EXPECT_EQ(world.host.messages[0].text, "Erreur 'Aucune communication' lors du scan d'appareils !");
    EXPECT_EQ(world.host.messages[0].style, msg::Warning);
}

TEST_F(Dpv1ScanTest, OtherCardsProbeStations1To126AndReleaseEachConnectedOne)
{
    rack.node(17)->setSilent(true);
    EXPECT_EQ(scanWith(profibus::SiemensMaster), 2);
    EXPECT_EQ(addresses(found), (std::vector<int>{3, 42}));

    std::vector<int> connects;
    std::vector<int> releases;
    for (std::size_t i = 0; i < library->calls.size(); ++i) {
        const Call& call = library->calls[i];
        EXPECT_TRUE(call.diagZeroed) << call.name;
        EXPECT_EQ(call.card.type, profibus::SiemensMaster);
        if (call.name == "Connect")
            connects.push_back(call.station);
        else if (call.name == "Disconnect") {
            releases.push_back(call.station);
            // Released at once, before the next station is probed.
            EXPECT_EQ(library->calls[i - 1].name, "Connect");
            EXPECT_EQ(library->calls[i - 1].station, call.station);
        } else
            ADD_FAILURE() << "unexpected call " << call.name;
    }
    std::vector<int> expected(126);
    std::iota(expected.begin(), expected.end(), 1);
    EXPECT_EQ(connects, expected);
    EXPECT_EQ(releases, (std::vector<int>{3, 42}));
    for (uint8_t station : {3, 17, 42})
        EXPECT_FALSE(library->master.isConnected(DPV1_Card(settings), station));

    ASSERT_EQ(world.host.progress.size(), 127u);
    for (int station = 1; station <= 126; ++station)
        EXPECT_EQ(world.host.progress[std::size_t(station - 1)], (std::pair<int, int>{station, 126}));
    EXPECT_EQ(world.host.progress.back().first, 0);
    EXPECT_TRUE(world.host.messages.empty());
    EXPECT_EQ(world.host.busyDepth, 0);
}

TEST_F(Dpv1ScanTest, OnlyAPROFIBUSInterfaceIsScanned)
{
    for (int32_t kind : {int32_t(CANBus), int32_t(RS232), int32_t(DeviceNet), int32_t(NoInterfaceKind)}) {
        settings.InterfaceType = kind;
        EXPECT_EQ(DPV1_Scan(world.state, settings, found), rc::NoInterface) << kind;
        EXPECT_EQ(found.size(), 1u);
    }
    EXPECT_TRUE(library->calls.empty());
    EXPECT_TRUE(world.host.statusTexts.isEmpty());
}

}  // namespace
