// The device scan on every kind of interface: what is found, in which order, and
// what is refused.
#include "device/device_fixture.h"

#include "core/ResultCodes.h"
#include "device/DeviceSession.h"
#include "transport/AppState.h"

#include <deque>

using namespace devicetest;

namespace {

const QString ScanStarted = QStringLiteral("Starting device scan...");
const QString NoDeviceQuestion = QStringLiteral("Aucun appareil n'a été trouvé ! Essayer de nouveau ?");
constexpr int NoDeviceQuestionStyle = 68;

QString scanCompleted(int count)
{
    return QStringLiteral("Device scan completed. %1 device(s) found.").arg(count);
}

// The scan's own log lines; the CAN search logs every silent node besides.
QStringList scanLog(const DeviceWorld& world)
{
    QStringList lines = world.logLines();
    lines.removeIf([](const QString& line) { return line.startsWith(QStringLiteral("Node ID ")); });
    return lines;
}

std::vector<int32_t> descriptionIndexes(const AppState& state)
{
    std::vector<int32_t> indexes;
    for (int32_t i = 1; i <= state.DeviceCount; ++i)
        indexes.push_back(state.Devices[size_t(i)].DescriptionIndex);
    return indexes;
}

TEST(Scan, DemoRackIsGroupedByDescriptionThenFoundOrder)
{
    const struct {
        int32_t bus;
        QStringList labels;
        std::vector<int32_t> descriptions;
    } cases[] = {
        // The CAN search collects from node 127 down: 42, 17, 3.
        {CANBus,
         {"CAN-ID 42, Snr. 100042", "CAN-ID 3, Snr. 100003", "CAN-ID 17, Snr. 100017"},
         {QsgDescription, QsgDescription, QsnDescription}},
        {PROFIBUS,
         {"Adr 3, Snr. 100003", "Adr 42, Snr. 100042", "Adr 17, Snr. 100017"},
         {QsgDescription, QsgDescription, QsnDescription}},
        {DeviceNet,
         {"Adr 3, Snr. 100003", "Adr 42, Snr. 100042", "Adr 17, Snr. 100017"},
         {QsgDescription, QsgDescription, QsnDescription}},
        // The serial line carries the first amplifier only.
        {RS232, {"Snr. 100003"}, {QsgDescription}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(kindName(c.bus));
        DeviceWorld world(c.bus);
        const int32_t count = Device_Scan(world.state(), world.settings(), &world.host());
        EXPECT_EQ(count, int32_t(c.labels.size()));
        EXPECT_EQ(world.state().DeviceCount, count);
        ASSERT_FALSE(world.host().progress.empty());
        EXPECT_EQ(world.host().progress.back(), (std::pair<int, int>{0, 0})) << "the bar is hidden after the search";
        EXPECT_EQ(world.tableLabels(), c.labels);
        EXPECT_EQ(descriptionIndexes(world.state()), c.descriptions);
        for (int32_t i = 1; i <= count; ++i)
            EXPECT_FALSE(world.state().Devices[size_t(i)].Online) << "identification connections are closed";
        EXPECT_TRUE(world.host().messages.empty()) << world.host().texts().join('\n').toStdString();
        EXPECT_EQ(world.host().deviceViewCloses, 1);
        EXPECT_EQ(world.host().busyDepth, 0);
        EXPECT_EQ(scanLog(world), (QStringList{ScanStarted, scanCompleted(count)}));
    }
}

TEST(Scan, RefusesTheLaterDeviceOfASerialNumber)
{
    const struct {
        const char* what;
        std::vector<SimRackEntry> rack;
        QStringList taken;
        QString refused;
    } cases[] = {
        {"one description: found order decides",
         {qsg(3, "555"), qsg(42, "555")},
         {"CAN-ID 42, Snr. 555"},
         "CAN-ID 3, Snr. 555"},
        {"two descriptions: description order decides",
         {qsg(3, "555"), qsn(42, "555"), qsn(17, "17")},
         {"CAN-ID 3, Snr. 555", "CAN-ID 17, Snr. 17"},
         "CAN-ID 42, Snr. 555"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DeviceWorld world(CANBus, c.rack);
        EXPECT_EQ(Device_Scan(world.state(), world.settings(), &world.host()), int32_t(c.taken.size()));
        EXPECT_EQ(world.tableLabels(), c.taken);
        ASSERT_EQ(world.host().messages.size(), 1u);
        EXPECT_EQ(world.host().messages[0].text,
                  QStringLiteral("Appareil ") + c.refused +
                      QStringLiteral(": Le numéro de série est ambigu ! L'appareil ne sera pas disponible."));
        EXPECT_EQ(world.host().messages[0].style, msg::Error);
    }
}

TEST(Scan, TakesNoDeviceThatNoDescriptionNames)
{
    constexpr uint32_t UnknownProduct = 0x00990001;
    DeviceWorld world(PROFIBUS, {qsg(3), qsg(9, {}, UnknownProduct)});
    EXPECT_EQ(Device_Scan(world.state(), world.settings(), &world.host()), 1);
    EXPECT_EQ(world.tableLabels(), QStringList{"Adr 3, Snr. 100003"});
    EXPECT_TRUE(world.host().messages.empty());
}

TEST(Scan, NothingFoundAsksToScanAgain)
{
    const struct {
        const char* what;
        std::deque<int> answers;
        bool wakeAtFirstQuestion;
        int32_t result;
        int questions;
    } cases[] = {
        {"no", {msg::No}, false, 0, 1},
        {"yes, then no", {msg::Yes, msg::No}, false, 0, 2},
        {"yes, and the devices answer now", {msg::Yes}, true, 3, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DeviceWorld world(PROFIBUS);
        for (uint8_t node : {3, 17, 42})
            world.amplifier(node).setSilent(true);
        world.host().answers = c.answers;
        if (c.wakeAtFirstQuestion)
            world.host().onMessage = [&world](const QString&) {
                for (uint8_t node : {3, 17, 42})
                    world.amplifier(node).setSilent(false);
            };
        EXPECT_EQ(Device_Scan(world.state(), world.settings(), &world.host()), c.result);
        ASSERT_EQ(int(world.host().messages.size()), c.questions);
        for (const auto& message : world.host().messages) {
            EXPECT_EQ(message.text, NoDeviceQuestion);
            EXPECT_EQ(message.style, NoDeviceQuestionStyle);
        }
        EXPECT_EQ(world.state().DeviceCount, c.result);
        EXPECT_EQ(scanLog(world), (QStringList{ScanStarted, scanCompleted(c.result)}));
    }
}

TEST(Scan, AFailedSearchLeavesTheTableEmpty)
{
    const struct {
        const char* what;
        int32_t kind;
        int32_t result;
        QString message;
        int style;
    } cases[] = {
        {"no CAN library", CANBus, rc::NoInterface, "Choisissez une interface d'abord !", msg::Information},
        {"a kind without a search", 3, rc::UnknownInterface, "Erreur lors du scan d'appareils !", msg::Warning},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DeviceWorld world;
        world.state().Devices.push_back(DeviceEntry{});
        world.state().DeviceCount = 1;
        world.settings().InterfaceType = c.kind;
        EXPECT_EQ(Device_Scan(world.state(), world.settings(), &world.host()), c.result);
        EXPECT_EQ(world.state().DeviceCount, 0);
        ASSERT_EQ(world.host().messages.size(), 1u);
        EXPECT_EQ(world.host().messages[0].text, c.message);
        EXPECT_EQ(world.host().messages[0].style, c.style);
        EXPECT_EQ(scanLog(world), (QStringList{ScanStarted, scanCompleted(0)}));
    }
}

// The main window finds the chosen device again by its serial number after a new scan.
TEST(DeviceTable, FindBySerialGivesTheFirstExactMatchWithinTheCount)
{
    std::vector<DeviceEntry> devices(5);
    const char* serials[] = {"", "100042", "Ab7", "100042", "100017"};
    for (size_t i = 0; i < devices.size(); ++i)
        devices[i].SerialNumber = QString::fromLatin1(serials[i]);
    const struct {
        const char* serial;
        int32_t index;
    } cases[] = {{"100042", 1}, {"Ab7", 2}, {"ab7", 0}, {"10004", 0}, {"100017", 0}, {"", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(Device_FindBySerial(devices, 3, QString::fromLatin1(c.serial)), c.index) << c.serial;
    EXPECT_EQ(Device_FindBySerial(devices, 9, QStringLiteral("100017")), 4) << "the table's end bounds the count";
}

}  // namespace
