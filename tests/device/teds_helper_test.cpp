// The TEDS editor's callbacks against the simulated strain-gauge amplifier.
#include "device/device_fixture.h"

#include "core/ResultCodes.h"
#include "device/TedsHelper.h"
#include "model/teds/TedsCodec.h"
#include "sim/SdoTarget.h"
#include "transport/AppState.h"

#include <QRegularExpression>
#include <functional>

using namespace devicetest;

namespace {

// A sensor other than the one the amplifier starts with.
QByteArray otherSensor()
{
    TedsContent content = bridgeSensorContent();
    content.set("ManufacturerID", "45");
    content.set("SerialNumber", "4242");
    content.set("VersionLetter", "C");
    content.set("%MaxPhysVal", "5");
    return encodeTeds(content);
}

QStringList tedsLog(const DeviceWorld& world)
{
    return world.logLines().filter(QRegularExpression(QStringLiteral("^(Read|Write|Activate)TEDS")));
}

TEST(TedsHelper, ReadsWritesAndActivatesTheSensorsTeds)
{
    for (int32_t bus : {CANBus, PROFIBUS, DeviceNet}) {
        SCOPED_TRACE(kindName(bus));
        DeviceWorld world(bus);
        world.connectDevice(3);
        SimAmplifier& amplifier = world.amplifier(3);
        TEDSHelper helper(world.state());
        EXPECT_EQ(helper.SetDeviceInfo(1), rc::Ok);

        // The amplifier starts with a sensor: a basic TEDS and the bridge template, two pages.
        QByteArray block;
        EXPECT_EQ(helper.ReadTEDS(0, block), 64);
        EXPECT_EQ(block, amplifier.tedsBlock());
        const TedsReading reading = decodeTeds(block);
        ASSERT_TRUE(reading.content) << reading.message.toStdString();
        EXPECT_EQ(reading.content->find("SerialNumber")->raw, 100003u);

        const QByteArray written = otherSensor();
        EXPECT_EQ(helper.WriteTEDS(0, written + QByteArray("tail not sent"), int32_t(written.size())), rc::Ok);
        EXPECT_EQ(amplifier.tedsBlock(), written);
        EXPECT_TRUE(amplifier.hasTeds());
        EXPECT_FALSE(amplifier.tedsActive());

        QString errors = QStringLiteral("e");
        QString warnings = QStringLiteral("w");
        world.host().answers = {msg::Yes};
        EXPECT_EQ(helper.ActivateTEDS(0, errors, warnings), rc::Ok);
        EXPECT_TRUE(amplifier.tedsActive());
        EXPECT_EQ(amplifier.tedsErrorStatus(), 0u);
        EXPECT_EQ(errors, "e");
        EXPECT_EQ(warnings, "w");
        EXPECT_EQ(world.element(QStringLiteral("TEDS/TEDSActive")).text(), "true") << "the configuration is read again";

        EXPECT_EQ(helper.ReadTEDS(0, block), 64);
        EXPECT_EQ(block, otherSensor());
        EXPECT_EQ(tedsLog(world), QStringList{"WriteTEDS 1/2: Success!"});
        // Only the activation asked for its confirmation.
        EXPECT_EQ(world.host().messages.size(), 1u) << world.host().texts().join('\n').toStdString();
    }
}

TEST(TedsHelper, AFullBlockOf256BytesTravelsOnEveryBus)
{
    QByteArray full(256, '\0');
    for (int i = 0; i < full.size(); ++i)
        full[i] = char(i);
    const QByteArray written = otherSensor().leftJustified(256, '\x5A');
    // The serial protocol has no way to mark the TEDS present: only that step fails.
    const std::pair<int32_t, int32_t> cases[] = {
        {CANBus, rc::Ok}, {PROFIBUS, rc::Ok}, {DeviceNet, rc::Ok}, {RS232, rc::UnknownInterface}};
    for (const auto& [bus, writeResult] : cases) {
        SCOPED_TRACE(kindName(bus));
        DeviceWorld world(bus);
        world.connectDevice(3);
        SimAmplifier& amplifier = world.amplifier(3);
        amplifier.setTedsBlock(full);
        TEDSHelper helper(world.state());
        helper.SetDeviceInfo(1);
        QByteArray block;
        EXPECT_EQ(helper.ReadTEDS(0, block), 256);
        EXPECT_EQ(block, full);
        EXPECT_EQ(helper.WriteTEDS(0, written, 256), writeResult);
        EXPECT_EQ(amplifier.tedsBlock(), written);
    }
}

TEST(TedsHelper, BlockTransfersWaitLongerAndSetTheTimeOutBack)
{
    DeviceWorld world(CANBus);
    world.connectDevice(3);
    TEDSHelper helper(world.state());
    helper.SetDeviceInfo(1);
    const auto timeoutsAround = [&](const std::function<void()>& transfer) {
        world.clearTraffic();
        transfer();
        return world.canTimeouts();
    };
    QByteArray block;
    EXPECT_EQ(timeoutsAround([&] { EXPECT_GT(helper.ReadTEDS(0, block), 0); }), (std::vector<int32_t>{30000, 5000}));
    EXPECT_EQ(timeoutsAround([&] { EXPECT_GE(helper.WriteTEDS(0, block, int32_t(block.size())), 0); }),
              (std::vector<int32_t>{30000, 5000}));
    world.amplifier(3).refuseAt(SimDirection::Read, *world.amplifier(3).keyOfPath(tedspath::Block),
                                sdoabort::UnsupportedAccess);
    EXPECT_EQ(timeoutsAround([&] { EXPECT_EQ(helper.ReadTEDS(0, block), rc::Refused); }).at(1), 5000)
        << "also after a failure";
}

TEST(TedsHelper, AFailedTransferIsLogged)
{
    const struct {
        const char* what;
        int32_t bus;
        uint8_t node;
        int32_t description;
        bool write;
        int blockSize;
        bool refuseWrite;
        int32_t result;
        QStringList log;
        bool recognized;  // the amplifier took a block it could decode
    } cases[] = {
        {"read, no TEDS described", CANBus, 17, QsnDescription, false, 0, false, rc::Refused,
         {"ReadTEDS: Error/Warning Paramètre inconnu au fichier de description de l'appareil (-8)"}, false},
        {"write, no TEDS described", CANBus, 17, QsnDescription, true, 32, false,
         rc::UnknownInDescription, {}, false},
        {"write refused", PROFIBUS, 3, QsgDescription, true, 32, true, rc::Refused,
         {"WriteTEDS 1/2: Error/Warning L'accès au paramètre a été refusé ! (-102)"}, false},
        {"write longer than the block", PROFIBUS, 3, QsgDescription, true, 300, false, rc::Refused,
         {"WriteTEDS 1/2: Error/Warning Débordement de tampon ! (-13)"}, false},
        // The serial protocol has no way to mark the TEDS present.
        {"write over RS232", RS232, 3, QsgDescription, true, 64, false, rc::UnknownInterface,
         {"WriteTEDS 1/2: Success!", "WriteTEDS 2/2: Error/Warning Type d'interface inconnu ! (-2)"}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DeviceWorld world(c.bus);
        world.connectDevice(c.node);
        SimAmplifier& amplifier = world.amplifier(c.node);
        amplifier.setTedsBlock({});
        if (c.refuseWrite)
            amplifier.refuseAt(SimDirection::Write, *amplifier.keyOfPath(tedspath::Block), sdoabort::UnsupportedAccess);
        TEDSHelper helper(world.state());
        helper.SetDeviceInfo(1);
        QByteArray block = otherSensor().leftJustified(c.blockSize, '\0');
        EXPECT_EQ(c.write ? helper.WriteTEDS(0, block, c.blockSize) : helper.ReadTEDS(0, block), c.result);
        EXPECT_EQ(tedsLog(world), c.log);
        EXPECT_EQ(amplifier.hasTeds(), c.recognized);
        EXPECT_TRUE(world.host().messages.empty());
    }
}

TEST(TedsHelper, ActivationFollowsTheDevicesAnswer)
{
    const struct {
        const char* what;
        int answer;
        bool refuse;
        bool active;
        QStringList messages;  // after the confirmation
    } cases[] = {
        {"confirmed", msg::Yes, false, true, {}},
        {"declined", msg::No, false, false, {}},
        {"refused by the device", msg::Yes, true, false,
         {"Impossible d'activer TEDS : La valeur souhaitée ne peut pas être ajustée (-100)"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DeviceWorld world(CANBus);
        world.connectDevice(3);
        SimAmplifier& amplifier = world.amplifier(3);
        amplifier.setTedsBlock(otherSensor());
        if (c.refuse)
            amplifier.refuseAt(SimDirection::Write, *amplifier.keyOfPath(tedspath::Activate), sdoabort::UnsupportedAccess);
        world.host().answers = {c.answer};
        TEDSHelper helper(world.state());
        helper.SetDeviceInfo(1);
        QString errors;
        QString warnings;
        EXPECT_EQ(helper.ActivateTEDS(0, errors, warnings), rc::Ok);
        EXPECT_EQ(amplifier.tedsActive(), c.active);
        ASSERT_FALSE(world.host().messages.empty());
        QStringList shown = world.host().texts();
        shown.removeFirst();  // the confirmation
        EXPECT_EQ(shown, c.messages);
        if (!c.messages.isEmpty()) {
            EXPECT_EQ(world.host().messages.back().style, msg::Error);
            EXPECT_EQ(world.logLines().filter(QStringLiteral("Impossible")), c.messages);
        }
        EXPECT_EQ(world.element(QStringLiteral("TEDS/TEDSActive")).text(), c.active ? "true" : "false");
    }
}

TEST(TedsHelper, AnUnknownDeviceIndexFailsEveryCall)
{
    DeviceWorld world(CANBus);
    world.connectDevice(3);
    TEDSHelper helper(world.state());
    helper.SetDeviceInfo(7);
    QByteArray block;
    QString text;
    EXPECT_EQ(helper.ReadTEDS(0, block), rc::Failed);
    EXPECT_EQ(helper.WriteTEDS(0, QByteArray(8, 'x'), 8), rc::Failed);
    EXPECT_EQ(helper.ActivateTEDS(0, text, text), rc::Failed);
    EXPECT_EQ(tedsLog(world), (QStringList{"ReadTEDS: Exception occured!", "WriteTEDS: Exception occured!",
                                           "ActivateTEDS: Exception occured!"}));
}

}  // namespace
