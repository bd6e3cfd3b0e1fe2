#include "serial_fixture.h"

#include "core/ResultCodes.h"
#include "sim/amplifier/SimAmplifier.h"
#include "sim/serial/SerialFrameServer.h"
#include "sim/serial/SerialStatus.h"
#include "transport/serial/ComValues.h"
#include "transport/serial/SerialLibrary.h"

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
        ASSERT_EQ(line.library().writePortCount(c.request.constData(), int32_t(c.request.size())), c.request.size());
        QByteArray reply(c.reply.size(), '\0');
        EXPECT_EQ(line.library().readPort(reply.data(), int32_t(reply.size())), int32_t(reply.size()))
            << c.name;
        EXPECT_EQ(reply.toHex(' '), c.reply.toHex(' ')) << c.name;
    }
    EXPECT_EQ(line.stored("Scaling/DecimalPointPos"), bytes({4}));
}

// Bytes that start no request are skipped; a request left incomplete when the line
// falls quiet is dropped, so that it takes nothing from the next one.
TEST(SerialSim, ServerResynchronises)
{
    SimLine line;
    const ObjectKey decimals = line.key("Scaling/DecimalPointPos");
    const QByteArray before = line.stored("Scaling/DecimalPointPos");
    const QByteArray garbage = bytes({0xFF, 0x00, 0x13, 0x02, 0x07});
    ASSERT_EQ(line.library().writePortCount(garbage.constData(), int32_t(garbage.size())), garbage.size());
    uint8_t value = 0xEE;
    EXPECT_EQ(COM_ReadValue(line.state(), decimals.index, decimals.sub, value), rc::Ok);
    EXPECT_EQ(QByteArray(1, char(value)), before);

    const QByteArray partial = frame(2, decimals.index, decimals.sub, 0, 4, bytes({5}));
    ASSERT_EQ(line.library().writePortCount(partial.constData(), int32_t(partial.size())), partial.size());
    std::this_thread::sleep_for(std::chrono::milliseconds(3 * SerialFrameServer::IdleGapMs));
    EXPECT_EQ(COM_ReadValue(line.state(), decimals.index, decimals.sub, value), rc::Ok);
    EXPECT_EQ(line.stored("Scaling/DecimalPointPos"), before);
}

}  // namespace
