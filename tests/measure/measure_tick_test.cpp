// One measurement tick against the simulated amplifiers: what it reads, shows and
// says when a read fails, and the reload when a TEDS appears.
#include "device/device_fixture.h"

#include "core/Host.h"
#include "device/DeviceAccess.h"
#include "measure/Measurement.h"
#include "model/Configuration.h"
#include "transport/ErrorText.h"
#include "transport/can/lib/SdoAbortCodes.h"

#include "support/ForwardingCanLibrary.h"

#include <QRegularExpression>

namespace devicetest {
namespace {

const QString Stopped = QStringLiteral("\r\nLa mesure est arrêtée !");

// The lamps in a line: "E" error, "W" warning, "A" active, "." inactive;
// limits | span | input | outputs.
std::string lampLine(const Lamps& lamps)
{
    auto mark = [](const QString& image) {
        return image == "IMG_ERROR" ? 'E' : image == "IMG_WARNING" ? 'W' : image == "IMG_ACTIVE" ? 'A' : '.';
    };
    std::string line;
    for (const QString& image : lamps.limits)
        line += mark(image);
    line += '|';
    for (const QString& image : lamps.span)
        line += mark(image);
    line += '|';
    line += mark(lamps.input);
    line += '|';
    for (const QString& image : lamps.outputs)
        line += mark(image);
    return line;
}

void stick(DeviceWorld& world, const char* path, const QByteArray& bytes)
{
    world.amplifier().stickAt(*world.amplifier().keyOfPath(QString::fromLatin1(path)), bytes);
}

// A CAN world with the QSG connected, its value showing three decimals in kg, after
// a first tick (which takes in the TEDS state).
struct TickWorld {
    TickWorld() : world(CANBus)
    {
        world.connectDevice();
        measurement.tick(world.state());
        measurement.start();
        world.configure(QStringLiteral("Scaling/DecimalPointPos"), QStringLiteral("3"));
        world.configure(QStringLiteral("Scaling/PhysicalUnit"), QStringLiteral("3"));
        world.amplifier().setSignalSettings({1.23456, 0.0, 20000.0, 0.0, 2.0});
        world.host().messages.clear();
    }
    DeviceWorld world;
    Measurement measurement;
};

TEST(MeasureTick, StatusBitsColourTheValueAndLightTheLamps)
{
    const struct {
        const char* name;
        uint8_t statusShort;
        uint32_t statusLong;
        uint32_t inputOutput;
        int16_t standardSignal;
        const char* text;
        ValueColour colour;
        float value;
        const char* format;
        const char* lamps;
    } cases[] = {
        {"normal", 0x00, 0x00, 0x00, 1, "1.235 kg", ValueColour::Green, 1.23456f, "0.000", "....|..|.|.."},
        {"gross", 0x00, 0x00, 0x00, 0, "1.235 kg", ValueColour::Green, 1.23456f, "0.000", "....|..|.|.."},
        {"error", 0x01, 0x00, 0x00, 1, "Erreur", ValueColour::Red, ErrorSample, "", "....|..|.|.."},
        {"warning, fourth limit", 0x88, 0x00, 0x00, 1, "1.235 kg", ValueColour::Yellow, 1.23456f, "0.000",
         "...E|..|.|.."},
        {"first limit", 0x10, 0x00, 0x00, 1, "1.235 kg", ValueColour::Green, 1.23456f, "0.000", "E...|..|.|.."},
        {"both range ends", 0x00, 0x18, 0x00, 1, "1.235 kg", ValueColour::Green, 1.23456f, "0.000", "....|WW|.|.."},
        {"below the range", 0x00, 0x10, 0x00, 1, "1.235 kg", ValueColour::Green, 1.23456f, "0.000", "....|W.|.|.."},
        {"input and second output", 0x00, 0x00, 0x21, 1, "1.235 kg", ValueColour::Green, 1.23456f, "0.000",
         "....|..|A|.A"},
        {"first output", 0x00, 0x00, 0x10, 1, "1.235 kg", ValueColour::Green, 1.23456f, "0.000", "....|..|.|A."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TickWorld w;
        stick(w.world, "Measurement/StatusShort", le(c.statusShort, 1));
        stick(w.world, "Measurement/StatusLong", le(c.statusLong, 4));
        stick(w.world, "DigitalIO/InputOutputLevel", le(c.inputOutput, 4));
        // The other signal is refused: the chosen one is read.
        w.world.amplifier().refuseAt(SimDirection::Read,
                                     *w.world.amplifier().keyOfPath(c.standardSignal == 1 ? "Measurement/ValueGros"
                                                                                         : "Measurement/ValueNet"),
                                     sdoabort::General);
        w.world.state().core.StandardSignal = c.standardSignal;

        const TickOutcome outcome = w.measurement.tick(w.world.state());

        EXPECT_FALSE(outcome.stopped);
        EXPECT_EQ(outcome.shown.text, QString::fromUtf8(c.text));
        EXPECT_EQ(outcome.shown.colour, c.colour);
        EXPECT_EQ(outcome.shown.value, c.value);
        EXPECT_EQ(outcome.shown.format, QString::fromLatin1(c.format));
        EXPECT_EQ(lampLine(outcome.shown.lamps), c.lamps);
        EXPECT_TRUE(outcome.refreshRows);
        EXPECT_EQ(w.measurement.time(), 0.5);
        EXPECT_TRUE(w.world.host().messages.empty()) << w.world.host().texts().join('\n').toStdString();
    }
}

TEST(MeasureTick, AFailedReadStopsWithItsMessage)
{
    const struct {
        const char* refused;   // null: the device is no longer connected
        bool hasTeds;
        const char* before;    // the message before the result's words
        bool withCode;         // the decimal result stands before its words
        bool update;
    } cases[] = {
        {nullptr, false, nullptr, false, false},
        {"Measurement/StatusLong", false, "Erreur de lecture: Measurement/StatusLong ", false, false},
        {"Measurement/StatusShort", false, "Erreur de lecture: Measurement/StatusShort ", false, false},
        {"Measurement/ValueNet", false, "Measurement/ValueNet Erreur de lecture: ", true, false},
        {"TEDS/HasTEDS", false, "TEDS/HasTEDS Erreur de lecture: ", false, true},
        {"TEDS/TEDSActive", true, "TEDS/TEDSActive Erreur de lecture: ", false, false},
        {"TEDS/TEDSErrorStatus", true, "TEDS/TEDSErrorStatus read error: ", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.refused ? c.refused : "not connected");
        TickWorld w;
        DeviceWorld& world = w.world;
        if (c.hasTeds)
            stick(world, "TEDS/HasTEDS", le(1, 1));
        if (c.refused)
            world.amplifier().refuseAt(SimDirection::Read, *world.amplifier().keyOfPath(c.refused),
                                       sdoabort::General);
        else
            world.state().Devices[world.state().CurrentDevice].Online = false;

        const TickOutcome outcome = w.measurement.tick(world.state());

        EXPECT_TRUE(outcome.stopped);
        EXPECT_EQ(outcome.update, c.update);
        EXPECT_FALSE(outcome.refreshRows);
        ASSERT_EQ(world.host().messages.size(), 1u);
        EXPECT_EQ(world.host().messages[0].style, msg::Error);
        if (!c.refused) {
            EXPECT_EQ(world.host().messages[0].text, "Appareil non raccordé !" + Stopped);
            continue;
        }
        const QString path = QString::fromLatin1(c.refused);
        DeviceEntry& entry = world.state().Devices[world.state().CurrentDevice];
        int32_t unused = 0;
        const int32_t code = Device_GetLong(world.state(), world.settings(), entry, path, unused);
        EXPECT_EQ(world.host().messages[0].text,
                  QString::fromUtf8(c.before) + (c.withCode ? QString::number(code) + ' ' : QString()) +
                      ErrorText(world.state(), world.settings(), entry, code, path) + Stopped);
    }
}

TEST(MeasureTick, DigitalLevelUnreadLeavesTheLampsOffAndGoesOn)
{
    TickWorld w;
    w.world.amplifier().setDigitalInput(true);
    w.world.amplifier().refuseAt(SimDirection::Read, *w.world.amplifier().keyOfPath("DigitalIO/InputOutputLevel"),
                                 sdoabort::General);
    const TickOutcome outcome = w.measurement.tick(w.world.state());
    EXPECT_FALSE(outcome.stopped);
    EXPECT_EQ(lampLine(outcome.shown.lamps), "....|..|.|..");
    EXPECT_TRUE(w.world.host().messages.empty());
}

TEST(MeasureTick, AFamilyWithoutTedsMeasuresOn)
{
    DeviceWorld world(CANBus);
    world.connectDevice(QsnNode);
    Measurement measurement;
    measurement.start();
    for (int tick = 0; tick < 2; ++tick)
        EXPECT_FALSE(measurement.tick(world.state()).stopped);
    EXPECT_EQ(measurement.lastTeds(), TedsState{});
    EXPECT_TRUE(world.host().messages.empty());
}

TEST(MeasureTick, ATedsPluggedInReloadsTheConfiguration)
{
    TickWorld w;
    DeviceWorld& world = w.world;
    stick(world, "TEDS/HasTEDS", le(0, 1));
    w.measurement.tick(world.state());
    EXPECT_TRUE(w.measurement.tick(world.state()).refreshRows);
    world.configure(QStringLiteral("Common/ChannelName"), QStringLiteral("stale"));
    stick(world, "TEDS/HasTEDS", le(1, 1));
    stick(world, "TEDS/TEDSErrorStatus", le(2, 4));
    world.host().statusTexts.clear();
    const int refreshes = world.host().windowRefreshes;

    const TickOutcome outcome = w.measurement.tick(world.state());

    EXPECT_TRUE(outcome.reloaded);
    EXPECT_TRUE(outcome.tedsChanged);
    EXPECT_FALSE(outcome.refreshRows);
    ASSERT_FALSE(world.host().statusTexts.isEmpty());
    EXPECT_EQ(world.host().statusTexts.first(), "Lire l'appareil...");
    EXPECT_EQ(world.host().statusTexts.last(), "");
    EXPECT_EQ(world.host().windowRefreshes, refreshes + 1);
    EXPECT_NE(world.element("Common/ChannelName").text(), "stale") << "read again from the device";
    EXPECT_EQ(w.measurement.lastTeds().hasTeds, 1);
    EXPECT_EQ(w.measurement.lastTeds().errorStatus, 2u);

    const TickOutcome next = w.measurement.tick(world.state());
    EXPECT_FALSE(next.reloaded || next.tedsChanged);
    EXPECT_TRUE(next.refreshRows);
}

// A CAN library whose bus status answer is given.
class StatusOf : public ForwardingCanLibrary {
public:
    StatusOf(std::unique_ptr<CanLibrary> library, int32_t status)
        : ForwardingCanLibrary(std::move(library)), status_(status) {}
    int32_t getStatus() override { return status_; }

private:
    int32_t status_;
};

TEST(MeasureTick, BusTroubleShowsInTheStatusPanel)
{
    const struct {
        int32_t status;
        const char* text;   // null: the panel is left as it is
    } cases[] = {
        {0x08, "Bus CAN: Bus heavy!"},
        {rc::CanBusHeavy, "Erreur de bus CAN : Bus Heavy!"},
        {0, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        TickWorld w;
        AppState& state = w.world.state();
        state.buses.can = std::make_unique<StatusOf>(std::move(state.buses.can), c.status);
        w.world.host().statusTexts.clear();
        w.measurement.tick(state);
        const QStringList shown = w.world.host().statusTexts.filter(QRegularExpression("^(Bus|Erreur)"));
        EXPECT_EQ(shown, c.text ? QStringList{QString::fromUtf8(c.text)} : QStringList());
    }
}

// A configuration from a file or a strange device may hold any text here.
TEST(MeasureTick, DecimalsStayWithinWhatAFloatShows)
{
    const std::pair<const char*, int> cases[] = {{"4", 4}, {"0", 0}, {"", 0}, {"abc", 0}, {"-3", 0}, {"1e10", 9}};
    for (const auto& [text, decimals] : cases)
        EXPECT_EQ(configuredDecimals(QString::fromLatin1(text)), decimals) << text;
}

}  // namespace
}  // namespace devicetest
