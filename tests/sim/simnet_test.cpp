// The built-in net "Simulation"/"Démo" (QSG2 at node 3, QSN2 at 17, QSG2 at 42) on
// virtual time, reached through the CANopen client as the program reaches it: the
// scan's batches, and SDO_ReadSync against amplifiers that fail to answer (its
// attempts, their panel texts and what is left when it gives up).
#include "core/ResultCodes.h"
#include "device/CanSetup.h"
#include "sim/amplifier_fixture.h"
#include "sim/can/SimCanNet.h"
#include "support/TestFolder.h"
#include "transport/can/CanScan.h"
#include "transport/can/CanTexts.h"
#include "transport/can/SdoSync.h"
#include "transport/can/SdoTransfers.h"
#include "transport/can/lib/CanopenClient.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

class SimNetTest : public ::testing::Test {
protected:
    SimNetTest()
    {
        settings_.InterfaceType = CANBus;
        EXPECT_EQ(Desr_LoadAll(state().core, state().descriptions), 2);
        CanNetCatalog catalog(false);
        const QString folder = TestFolder::shippedProgramFolder() + QStringLiteral("/DeviceDescription");
        catalog.addBuiltInNet(SimulationHardware, DemoNet, DemoNetKbit, [this, folder] {
            auto net = createDemoCanNet(folder, SimCanNet::Time::Virtual);
            net_ = net.get();
            return net;
        });
        state().buses.can = std::make_unique<CanopenClient>(std::move(catalog));
        EXPECT_EQ(can().connectClientToNet(SimulationHardware, DemoNet), rc::Ok);
    }

    AppState& state() { return folder_.state; }
    ScriptedHost& host() { return folder_.host; }
    CanLibrary& can() { return *state().buses.can; }
    SimAmplifier& amplifier(uint8_t node) { return *net_->rack().node(node); }
    int64_t busTimeMs() { return net_->clock().nowMs(); }

    InterfaceSettings settings_;
    TestFolder folder_;
    SimCanNet* net_ = nullptr;
};

TEST_F(SimNetTest, ScanFindsTheAnsweringNodesHighestFirst)
{
    const struct {
        const char* what;
        std::vector<uint8_t> silenced;
        std::vector<int32_t> found;
        int64_t busMs;   // 500 ms for each batch that waits for a silent node
    } cases[] = {
        {"demo rack", {}, {42, 17, 3}, 0},
        {"17 silent", {17}, {42, 3}, 500},
        {"all silent", {3, 17, 42}, {}, 1500},   // 42, 17 and 3 are in three batches
    };
    for (const auto& c : cases) {
        for (uint8_t node : {3, 17, 42})
            amplifier(node).setSilent(false);
        for (uint8_t node : c.silenced)
            amplifier(node).setSilent(true);
        const int64_t start = busTimeMs();
        std::vector<DeviceEntry> found;
        EXPECT_EQ(CAN_ScanRead(state(), settings_, &host(), found), int32_t(c.found.size())) << c.what;
        std::vector<int32_t> ids;
        for (const DeviceEntry& entry : found)
            ids.push_back(entry.NodeId);
        EXPECT_EQ(ids, c.found) << c.what;
        EXPECT_EQ(busTimeMs() - start, c.busMs) << c.what;
    }
    EXPECT_TRUE(host().messages.empty());
}


const QString Timeout = QStringLiteral("Erreur de bus CAN : Timeout");
// A bus that takes no frame is named as such, whatever its status bits add.
const QString BusOff = canBusGoneText() + QStringLiteral("; Bus CAN: Bus off!");

QString attempt(const QString& text, int number)
{
    return text + QStringLiteral(" (Tentative de lecture %1 de 3...) ").arg(number);
}

struct RetryCase {
    const char* what;
    std::function<void(SimAmplifier&, CanLibrary&)> fault;
    int32_t result;
    QStringList panel;
    int64_t busMs;     // virtual time the read took
    long long sleptMs;   // pauses after a controller reset
};

void PrintTo(const RetryCase& c, std::ostream* os)
{
    *os << c.what;
}

class SimNetRetryTest : public SimNetTest, public ::testing::WithParamInterface<RetryCase> {};

TEST_P(SimNetRetryTest, ReadsWithAttempts)
{
    const RetryCase& c = GetParam();
    state().Devices.resize(3);
    state().Devices[1].Online = true;
    state().DeviceCount = 2;
    state().CurrentDevice = 1;
    c.fault(amplifier(42), can());
    const int64_t start = busTimeMs();

    QByteArray buffer;
    int32_t length = 4;
    EXPECT_EQ(SDO_ReadSync(state(), settings_, 42, 0x1018, 1, buffer, length, &host()), c.result);
    EXPECT_EQ(host().statusTexts, c.panel);
    EXPECT_EQ(busTimeMs() - start, c.busMs);
    EXPECT_EQ(host().clockMs, c.sleptMs);
    if (c.result == rc::Ok) {
        EXPECT_EQ(buffer, le32(858));
        EXPECT_EQ(state().DeviceCount, 2);
        EXPECT_TRUE(host().messages.empty());
        return;
    }
    EXPECT_EQ(state().DeviceCount, 0);
    EXPECT_EQ(state().CurrentDevice, 0);
    EXPECT_EQ(state().Devices.size(), 3u) << "entries stay until the next scan";
    EXPECT_FALSE(state().Devices[1].Online);
    ASSERT_EQ(host().messages.size(), 1u);
    EXPECT_EQ(host().messages[0].text,
              QStringLiteral("Le nombre maximal de tentatives de mesure a été dépassé !\r\nMessage d'erreur : ") +
                  Timeout + QStringLiteral("\r\n\r\nTous les appareils sont déconnectés."));
    EXPECT_EQ(host().messages[0].style, 48);
    EXPECT_EQ(host().windowRefreshes, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SimNetRetryTest,
    ::testing::Values(
        RetryCase{"answers", [](SimAmplifier&, CanLibrary&) {}, rc::Ok, {""}, 0, 0},
        RetryCase{"slow answers", [](SimAmplifier& a, CanLibrary&) { a.setAnswerDelay(120); },
                  rc::Ok, {""}, 120, 0},
        RetryCase{"silenced",
                  [](SimAmplifier& a, CanLibrary&) { a.setSilent(true); },
                  rc::NoDevice,
                  {attempt(Timeout, 1), attempt(Timeout, 2), attempt(Timeout, 3), ""},
                  15000, 0},
        RetryCase{"stopped by NMT",
                  [](SimAmplifier&, CanLibrary& can) { ASSERT_EQ(can.setPdoOperMode(2, 42), rc::Ok); },
                  rc::NoDevice,
                  {attempt(Timeout, 1), attempt(Timeout, 2), attempt(Timeout, 3), ""},
                  15000, 0},
        // The restart keeps it silent for 3 s: the first attempt's 5 s time-out outlasts it.
        RetryCase{"restarting",
                  [](SimAmplifier&, CanLibrary& can) {
                      ASSERT_EQ(SDO_WriteValue<uint8_t>(can, 42, 0x2E00, 0, 1), rc::Ok);
                  },
                  rc::Ok, {attempt(Timeout, 1), ""}, 5000, 0},
        // The client cannot send; the controller reset brings the bus back.
        RetryCase{"bus off",
                  [](SimAmplifier& a, CanLibrary&) { a.setBusStatus(canstatus::BusOff); },
                  rc::Ok, {attempt(BusOff, 1), ""}, 0, 500}),
    [](const ::testing::TestParamInfo<RetryCase>& info) {
        QString name = QString::fromLatin1(info.param.what);
        name.remove(' ');
        return name.toStdString();
    });

}  // namespace
