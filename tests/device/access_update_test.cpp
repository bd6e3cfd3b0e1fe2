// Conf_UpdateValue: the device read into the configuration document.
#include "device/device_fixture.h"

#include "core/ResultCodes.h"
#include "device/DeviceAccess.h"
#include "model/ValueText.h"
#include "sim/SdoTarget.h"
#include "sim/serial/SerialReply.h"
#include "sim/serial/SerialRequestParser.h"
#include "transport/AppState.h"
#include "transport/serial/SerialLibrary.h"

#include <cstring>
#include <utility>

namespace devicetest {
namespace {

// What the document keeps of strings and byte blocks, on the buses that carry them as they are.
using AccessUpdateText = KindTest;

TEST_P(AccessUpdateText, ControlCharactersBecomeStarsAndBlocksBecomeHex)
{
    world.put(QStringLiteral("Common/ChannelName"), "a\tb\r\nc\x01");
    world.put(QStringLiteral("Common/UserData"), QByteArray::fromHex("0aff"));
    DeviceEntry entry = world.openEntry();
    const XmlNode parameters = world.newConfiguration();
    for (const char* path : {"Common/ChannelName", "Common/UserData"}) {
        EXPECT_EQ(Conf_UpdateValue(world.state(), world.settings(), entry, parameters, QString::fromLatin1(path),
                                   nullptr),
                  rc::Ok);
    }
    EXPECT_EQ(world.element(QStringLiteral("Common/ChannelName")).text(), QStringLiteral("a*b\r\nc*"));
    EXPECT_EQ(world.element(QStringLiteral("Common/UserData")).text(), QStringLiteral("0AFF"));
}

INSTANTIATE_TEST_SUITE_P(Kinds, AccessUpdateText, ::testing::Values(CANBus, PROFIBUS, DeviceNet),
                         [](const auto& info) { return kindName(info.param); });

TEST(AccessUpdateSilence, DeviceFallingSilentEndsTheWalkAtTheFirstNoDevice)
{
    DeviceWorld world(CANBus);
    DeviceEntry entry = world.openEntry();
    const XmlNode parameters = world.newConfiguration();
    ASSERT_EQ(Conf_UpdateValue(world.state(), world.settings(), entry, parameters, QStringLiteral("."), nullptr),
              rc::Ok);
    // Values that a second walk must leave as they are.
    world.configure(QStringLiteral("Common/ChannelName"), QStringLiteral("stale"));
    world.configure(QStringLiteral("Amplifier/NominalLoad"), QStringLiteral("1.5"));

    world.silenceAfterRead(QStringLiteral("Common/ProductID"));
    EXPECT_EQ(Conf_UpdateValue(world.state(), world.settings(), entry, parameters, QStringLiteral("."), nullptr),
              rc::NoDevice);

    const std::vector<XmlNode> marked = parameters.selectAll(QStringLiteral("//*[@Status]"));
    ASSERT_EQ(marked.size(), 1u);
    EXPECT_EQ(marked[0].name(), QStringLiteral("SerialNumber"));
    EXPECT_EQ(marked[0].attribute("Status"), QStringLiteral("-4"));
    EXPECT_EQ(marked[0].text(), QStringLiteral("100003"));
    EXPECT_EQ(world.element(QStringLiteral("Common/ChannelName")).text(), QStringLiteral("stale"));
    EXPECT_EQ(world.element(QStringLiteral("Amplifier/NominalLoad")).text(),
              QStringLiteral("1.5"));
    EXPECT_FALSE(entry.Online);
    EXPECT_EQ(world.host().messages.size(), 1u);
}

// A serial line served in-process by the amplifier, on the host's virtual clock: a
// reply that does not come costs the time-out, the library's pause its 0.1 ms units.
class VirtualSerial : public SerialLibrary {
public:
    VirtualSerial(SimAmplifier& amplifier, ScriptedHost& host) : amplifier_(amplifier), host_(host) {}

    int32_t openPort(int32_t, int32_t, const QByteArray&, int32_t, int32_t, int32_t) override
    {
        open_ = true;
        return rc::Ok;
    }
    int32_t closePortEx(int32_t) override
    {
        open_ = false;
        line_.clear();
        return rc::Ok;
    }
    int32_t setTimeout(int32_t milliseconds) override
    {
        timeoutMs_ = milliseconds;
        return rc::Ok;
    }
    int32_t selectPort(int32_t) override { return open_ ? rc::Ok : rc::Failed; }
    int32_t selectDevice(int32_t) override { return open_ ? rc::Ok : rc::Failed; }
    void delay(int32_t units) override { host_.sleepMs(units / 10); }
    int32_t flushInQueue() override { return int32_t(std::exchange(line_, QByteArray()).size()); }
    int32_t writePortCount(const char* buffer, int32_t count) override
    {
        if (!open_ || count < SerialFrameHeader::Size)
            return rc::Failed;
        ++requests;
        const SerialRequest request{SerialFrameHeader::decode(buffer),
                                    QByteArray(buffer + SerialFrameHeader::Size, count - SerialFrameHeader::Size)};
        if (!amplifier_.isSilent())
            line_ += serialReply(amplifier_, request);
        if (silenceAfter && ObjectKey{request.header.index, request.header.sub} == *silenceAfter) {
            amplifier_.setSilent(true);
            silencedAt = {requests, host_.clockMs};
        }
        return count;
    }
    int32_t readPort(char* buffer, int32_t count) override
    {
        if (!open_)
            return rc::Failed;
        if (line_.size() < count) {
            host_.sleepMs(timeoutMs_);
            line_.clear();
            return rc::Timeout;
        }
        std::memcpy(buffer, line_.constData(), size_t(count));
        line_.remove(0, count);
        return count;
    }

    int requests = 0;
    // The amplifier answers this request, then nothing more.
    std::optional<ObjectKey> silenceAfter;
    std::pair<int, long long> silencedAt;  // requests and virtual time by then

private:
    SimAmplifier& amplifier_;
    ScriptedHost& host_;
    bool open_ = false;
    int32_t timeoutMs_ = DefaultTimeoutMs;
    QByteArray line_;
};

// The walk ends with the device: at once when a value read times out (the connection
// closes), after the bus's three attempts when a block read gives up.
TEST(AccessUpdateSilence, SerialDeviceFallingSilentEndsTheWalkWithinOneGiveUp)
{
    // Each failed exchange waits out the time-out and reopens the line (two 500 ms pauses).
    constexpr long long kOneGiveUpMs = 3 * (5000 + 2 * 500);
    const struct {
        const char* what;
        const char* lastAnswered;
        int32_t result;
        int requestsAfter;
        QStringList messages;
        int32_t deviceCount;
    } cases[] = {
        {"value read", "Common/ProductID", rc::Timeout, 1, {}, 1},
        {"block read", "Common/CalibrationDate", rc::NoDevice, 3,
         {"Le nombre maximal de tentatives de mesure a été dépassé !\r\nMessage d'erreur : Timeout!\r\n\r\n"
          "Tous les appareils sont déconnectés."},
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DeviceWorld world(RS232);
        auto line = std::make_unique<VirtualSerial>(world.amplifier(), world.host());
        VirtualSerial& serial = *line;
        world.state().buses.serial = std::move(line);
        world.state().Devices = {DeviceEntry{}, world.openEntry()};
        world.state().DeviceCount = 1;
        DeviceEntry& entry = world.state().Devices[1];
        const XmlNode parameters = world.newConfiguration();
        serial.silenceAfter = world.amplifier().keyOfPath(QString::fromLatin1(c.lastAnswered));

        EXPECT_EQ(Conf_UpdateValue(world.state(), world.settings(), entry, parameters, QStringLiteral("."), nullptr),
                  c.result);
        EXPECT_EQ(serial.requests - serial.silencedAt.first, c.requestsAfter);
        EXPECT_LE(world.host().clockMs - serial.silencedAt.second, kOneGiveUpMs);
        EXPECT_EQ(world.host().texts(), c.messages);
        EXPECT_EQ(world.state().DeviceCount, c.deviceCount);
        EXPECT_FALSE(entry.Online);
        EXPECT_FALSE(world.element(QStringLiteral("Amplifier/NominalLoad")));
    }
}

// A failed read keeps the old text under its code (dates fall back to the origin,
// blocks are emptied and do not fail); the next good read clears the mark.
TEST(AccessUpdateFailure, FailedReadsAreMarkedAndClearedByTheNextGoodRead)
{
    struct Case {
        const char* path;
        const char* before;
        int32_t result;
        const char* after;
    };
    const Case cases[] = {
        {"Scaling/DecimalPointPos", "4", rc::CanSdoAbort, "4"},
        {"Common/ProductID", "5308417", rc::CanSdoAbort, "5308417"},
        {"Common/CalibrationDate", "2020-01-01", rc::CanSdoAbort, "1899-12-30"},
        {"Common/UserData", "0102", rc::Ok, ""},
        {"ZeroTare/AutoZeroTracking", "true", rc::CanSdoAbort, "true"},
    };
    DeviceWorld world(CANBus);
    DeviceEntry entry = world.openEntry();
    const XmlNode parameters = world.newConfiguration();
    for (const Case& c : cases) {
        const QString path = QString::fromLatin1(c.path);
        world.amplifier().refuseAt(SimDirection::Read, *world.amplifier().keyOfPath(path), sdoabort::General);
        world.configure(path, QString::fromLatin1(c.before));
        EXPECT_EQ(Conf_UpdateValue(world.state(), world.settings(), entry, parameters, path, nullptr), c.result)
            << c.path;
        const XmlNode element = world.element(path);
        EXPECT_EQ(element.text(), QString::fromLatin1(c.after)) << c.path;
        EXPECT_EQ(element.attribute("Status"), QString::number(rc::CanSdoAbort)) << c.path;
    }
    world.amplifier().clearFaults();
    for (const Case& c : cases) {
        const QString path = QString::fromLatin1(c.path);
        EXPECT_EQ(Conf_UpdateValue(world.state(), world.settings(), entry, parameters, path, nullptr), rc::Ok);
        EXPECT_FALSE(world.element(path).hasAttribute("Status")) << c.path;
    }
    EXPECT_TRUE(world.host().messages.empty());
}

TEST(AccessUpdateEnumeration, CodeTheDescriptionDoesNotListIsRefused)
{
    DeviceWorld world(CANBus);
    // A QSG 2 read with the QSN 2 description: its product code is not one of them.
    DeviceEntry entry = world.openEntry();
    entry.DescriptionIndex = QsnDescription;
    const XmlNode parameters = world.newConfiguration();
    world.configure(QStringLiteral("Common/ProductID"), QStringLiteral("x"));
    EXPECT_EQ(Conf_UpdateValue(world.state(), world.settings(), entry, parameters, QStringLiteral("Common/ProductID"),
                               nullptr),
              rc::Refused);
    const XmlNode element = world.element(QStringLiteral("Common/ProductID"));
    EXPECT_EQ(element.text(), QStringLiteral("x"));
    EXPECT_FALSE(element.hasAttribute("Status"));
    ASSERT_EQ(world.host().messages.size(), 1u);
    EXPECT_EQ(world.host().messages[0].text,
              QStringLiteral("CAN-ID 3, Snr. 100003: La valeur '5308417' non est admise pour 'Common/ProductID' le "
                             "type d'énumération !"));
    EXPECT_EQ(world.host().messages[0].style, msg::Information);
}

TEST(AccessUpdatePaths, UnknownPathCreatesNothing)
{
    DeviceWorld world(CANBus);
    DeviceEntry entry = world.openEntry();
    const XmlNode parameters = world.newConfiguration();
    EXPECT_EQ(Conf_UpdateValue(world.state(), world.settings(), entry, parameters, QStringLiteral("Common/Nothing"),
                               nullptr),
              rc::UnknownInDescription);
    EXPECT_TRUE(parameters.elementChildren().empty());
    EXPECT_EQ(world.traffic().reads, 0);
}

}  // namespace
}  // namespace devicetest
