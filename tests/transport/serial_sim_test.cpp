#include "serial_fixture.h"

#include "core/ResultCodes.h"
#include "sim/amplifier/SimAmplifier.h"
#include "sim/serial/SerialFrameServer.h"
#include "sim/serial/SerialStatus.h"
#include "transport/serial/ComValues.h"
#include "transport/serial/SerialLibrary.h"

#include <cstring>
#include <gtest/gtest.h>
#include <thread>

// The serial transport against the simulated amplifier of the shipped QSG 2
// description, served on a pseudo-terminal.
namespace {

using namespace serialtest;

SimIdentity identity()
{
    SimIdentity id;
    id.vendorId = 858;
    id.productId = 5308417;
    id.serialNumber = QStringLiteral("QS2-4711");
    return id;
}

QString descriptionPath()
{
    return TestFolder::shippedProgramFolder() + QStringLiteral("/DeviceDescription/QSG2.xml");
}

class SimLine {
public:
    SimLine()
        : amplifier(SimAmplifier::load(descriptionPath(), identity())),
          server(SerialFrameServer::start(*amplifier)), world(server->slavePath())
    {
        EXPECT_EQ(world.open(), rc::Ok);
    }

    AppState& state() { return world.state(); }
    SerialLibrary& library() { return *world.state().buses.serial; }
    ObjectKey key(const char* path) const { return amplifier->keyOfPath(QString::fromLatin1(path)).value(); }
    QByteArray stored(const char* path) const
    {
        return amplifier->entryByPath(QString::fromLatin1(path))->value;
    }

    std::unique_ptr<SimAmplifier> amplifier;
    std::unique_ptr<SerialFrameServer> server;
    SerialWorld world;
};

template <typename T>
void roundTrip(SimLine& line, const char* path, T value)
{
    const ObjectKey key = line.key(path);
    EXPECT_EQ(COM_WriteValue(line.state(), key.index, key.sub, value), rc::Ok) << path;
    T back{};
    EXPECT_EQ(COM_ReadValue(line.state(), key.index, key.sub, back), rc::Ok) << path;
    EXPECT_EQ(back, value) << path;
    QByteArray expected(sizeof(T), '\0');
    std::memcpy(expected.data(), &value, sizeof(T));
    EXPECT_EQ(line.stored(path).toHex(), expected.toHex()) << path;
}

TEST(SerialSim, TypedWritesAndReadsReachTheAmplifier)
{
    SimLine line;
    roundTrip<uint8_t>(line, "Scaling/DecimalPointPos", 3);
    roundTrip<uint8_t>(line, "Interface/CANNodeID", 127);
    roundTrip<int16_t>(line, "LimitSwitches/LimitSwitch1/Delay", 1234);
    roundTrip<int16_t>(line, "Interface/HeartbeatTime", 32767);
    roundTrip<int32_t>(line, "ZeroTare/TareOffset", -5000);
    roundTrip<float>(line, "Amplifier/NominalLoad", 250.5f);
    roundTrip<float>(line, "Scaling/OutputPoint1", -0.125f);
}

TEST(SerialSim, IdentityAndStrings)
{
    SimLine line;
    int32_t vendor = 0;
    const ObjectKey vendorKey = line.key("Common/VendorID");
    EXPECT_EQ(COM_ReadValue(line.state(), vendorKey.index, vendorKey.sub, vendor), rc::Ok);
    EXPECT_EQ(vendor, 858);

    QString text;
    const ObjectKey serial = line.key("Common/SerialNumber");
    EXPECT_EQ(COM_ReadString(line.state(), serial.index, serial.sub, text, 10), rc::Ok);
    EXPECT_EQ(text, QStringLiteral("QS2-4711"));

    const ObjectKey name = line.key("Common/ChannelName");
    const QString padded = QStringLiteral("Presse 2        ");
    EXPECT_EQ(COM_WriteString(line.state(), name.index, name.sub, padded), rc::Ok);
    EXPECT_EQ(COM_ReadString(line.state(), name.index, name.sub, text, 16), rc::Ok);
    EXPECT_EQ(text, QStringLiteral("Presse 2"));
}

TEST(SerialSim, RefusalsThroughTheTransport)
{
    SimLine line;
    const QByteArray serialBefore = line.stored("Common/SerialNumber");
    const ObjectKey serial = line.key("Common/SerialNumber");
    // The write reply's status is not looked at: a refused write passes.
    EXPECT_EQ(COM_WriteString(line.state(), serial.index, serial.sub, QStringLiteral("0000000000")), rc::Ok);
    EXPECT_EQ(line.stored("Common/SerialNumber"), serialBefore);

    const ObjectKey decimals = line.key("Scaling/DecimalPointPos");
    const QByteArray decimalsBefore = line.stored("Scaling/DecimalPointPos");
    EXPECT_EQ(COM_WriteValue(line.state(), decimals.index, decimals.sub, uint8_t(9)), rc::Ok);
    EXPECT_EQ(line.stored("Scaling/DecimalPointPos"), decimalsBefore);

    int32_t value = 5;
    const ObjectKey password = line.key("Common/Password");
    EXPECT_EQ(COM_ReadValue(line.state(), password.index, password.sub, value), rc::Failed);
    EXPECT_EQ(COM_ReadValue(line.state(), 0x5FFF, 0, value), rc::Failed);
    int16_t half = 5;
    const ObjectKey vendor = line.key("Common/VendorID");
    EXPECT_EQ(COM_ReadValue(line.state(), vendor.index, vendor.sub, half), rc::Failed);
    EXPECT_EQ(value, 5);
    EXPECT_EQ(half, 5);
}

struct RawCase {
    const char* name;
    QByteArray request;
    QByteArray reply;
};

TEST(SerialSim, ReplyFramesOnTheLine)
{
    SimLine line;
    const auto at = [&](const char* path, uint8_t command, uint8_t status, uint32_t length,
                        const QByteArray& data = {}) {
        const ObjectKey key = line.key(path);
        return frame(command, key.index, key.sub, status, length, data);
    };
    const QByteArray serial = QByteArray("QS2-4711") + QByteArray(4, '\0');
    const RawCase cases[] = {
        {"unknown object", frame(1, 0x5FFF, 0, 0, 4), frame(1, 0x5FFF, 0, serialstatus::UnknownObject, 0)},
        {"read of a write-only object", at("Common/Password", 1, 0, 4),
         at("Common/Password", 1, serialstatus::AccessRefused, 0)},
        {"write to a read-only object", at("Common/VendorID", 2, 0, 4, bytes({0, 0, 0, 0})),
         at("Common/VendorID", 2, serialstatus::AccessRefused, 0)},
        {"value out of range", at("Scaling/DecimalPointPos", 2, 0, 1, bytes({9})),
         at("Scaling/DecimalPointPos", 2, serialstatus::ValueRefused, 0)},
        {"value taken", at("Scaling/DecimalPointPos", 2, 0, 1, bytes({4})),
         at("Scaling/DecimalPointPos", 2, serialstatus::Ok, 0)},
        {"read shorter than the object", at("Common/VendorID", 1, 0, 2),
         at("Common/VendorID", 1, serialstatus::LengthMismatch, 0)},
        {"string padded to the length asked", at("Common/SerialNumber", 1, 0, 12),
         at("Common/SerialNumber", 1, serialstatus::Ok, 12, serial)},
        {"number read", at("Common/VendorID", 1, 0, 4),
         at("Common/VendorID", 1, serialstatus::Ok, 4, bytes({0x5A, 0x03, 0, 0}))},
    };
    for (const RawCase& c : cases) {
        line.library().writePortCount(c.request.constData(), int32_t(c.request.size()));
        QByteArray reply(c.reply.size(), '\0');
        EXPECT_EQ(line.library().readPort(reply.data(), int32_t(reply.size())), int32_t(reply.size()))
            << c.name;
        EXPECT_EQ(reply.toHex(' '), c.reply.toHex(' ')) << c.name;
    }
    EXPECT_EQ(line.stored("Scaling/DecimalPointPos"), bytes({4}));
}

TEST(SerialSim, SilentAmplifierTimesOutAndTheLineRecovers)
{
    SimLine line;
    COM_SetTimeout(line.state(), ShortTimeoutMs);
    line.amplifier->setSilent(true);
    const ObjectKey vendor = line.key("Common/VendorID");
    int32_t value = 0;
    EXPECT_EQ(COM_ReadValue(line.state(), vendor.index, vendor.sub, value), rc::Timeout);
    line.amplifier->setSilent(false);
    line.amplifier->setAnswerDelay(30);
    EXPECT_EQ(COM_ReadValue(line.state(), vendor.index, vendor.sub, value), rc::Ok);
    EXPECT_EQ(value, 858);
}

// Bytes that start no request are skipped; a request left incomplete when the line
// falls quiet is dropped, so that it takes nothing from the next one.
TEST(SerialSim, ServerResynchronises)
{
    SimLine line;
    const ObjectKey decimals = line.key("Scaling/DecimalPointPos");
    const QByteArray before = line.stored("Scaling/DecimalPointPos");
    const QByteArray garbage = bytes({0xFF, 0x00, 0x13, 0x02, 0x07});
    line.library().writePortCount(garbage.constData(), int32_t(garbage.size()));
    uint8_t value = 0xEE;
    EXPECT_EQ(COM_ReadValue(line.state(), decimals.index, decimals.sub, value), rc::Ok);
    EXPECT_EQ(QByteArray(1, char(value)), before);

    const QByteArray partial = frame(2, decimals.index, decimals.sub, 0, 4, bytes({5}));
    line.library().writePortCount(partial.constData(), int32_t(partial.size()));
    std::this_thread::sleep_for(std::chrono::milliseconds(3 * SerialFrameServer::IdleGapMs));
    EXPECT_EQ(COM_ReadValue(line.state(), decimals.index, decimals.sub, value), rc::Ok);
    EXPECT_EQ(line.stored("Scaling/DecimalPointPos"), before);
}

}  // namespace
