// The rules PROFIBUS and DeviceNet transfers share, on the channel name (slot 0 index 11;
// class 100 attribute 11) and the user data (0/13; 100/1/13) of the amplifier at 3.
#include "fieldbus_fixture.h"

using dnettest::RecordingDeviceNet;
using dpv1test::RecordingProfibus;

namespace {

// Both buses open: the card with station 3 connected, the DeviceNet interface at 500 kBaud.
class FieldbusTest : public DemoRackTest, public ::testing::WithParamInterface<int32_t> {
protected:
    static constexpr uint8_t Node = 3;

    FieldbusTest() : profibus(new RecordingProfibus(&rack)), devicenet(new RecordingDeviceNet(&rack))
    {
        world.state.buses.profibus.reset(profibus);
        world.state.buses.devicenet.reset(devicenet);
        card.InterfaceType = PROFIBUS;
        card.PType = profibus::HilscherMaster;
        EXPECT_EQ(DPV1_OpenCard(world.state, card), rc::Ok);
        EXPECT_EQ(DPV1_ConnectStation(world.state, card, Node), rc::Ok);
        InterfaceSettings bus;
        bus.InterfaceType = DeviceNet;
        EXPECT_EQ(DNET_OpenInterface(world.state, bus), rc::Ok);
    }

    bool dpv1() const { return GetParam() == PROFIBUS; }
    int32_t writeName(const QString& text)
    {
        return dpv1() ? DPV1_WriteString(world.state, card, Node, 0, 11, text)
                      : DNET_WriteString(world.state, Node, 100, 1, 11, text);
    }
    int32_t readName(QString& text, int32_t maxLength)
    {
        return dpv1() ? DPV1_ReadString(world.state, card, Node, 11, 0, text, maxLength)
                      : DNET_ReadString(world.state, Node, 100, 1, 11, text, maxLength);
    }
    int32_t writeData(const QByteArray& data, int32_t length)
    {
        return dpv1() ? DPV1_WriteBytes(world.state, card, Node, 0, 13, data, length)
                      : DNET_WriteBytes(world.state, Node, 100, 1, 13, data, length);
    }
    int32_t readData(QByteArray& buffer, int32_t& length)
    {
        return dpv1() ? DPV1_ReadBytes(world.state, card, Node, parameter("Common/UserData"), buffer, length)
                      : DNET_ReadBytes(world.state, Node, 100, 1, 13, buffer, length);
    }
    // The length the last library call passed.
    int lastLength() const { return dpv1() ? profibus->calls.back().length : devicenet->calls.back().size; }
    // What a read of a silent amplifier gives.
    int32_t silence() const { return dpv1() ? rc::ProfibusTimeout : simdnet::NoAnswer & 0xFF; }

    RecordingProfibus* profibus;
    RecordingDeviceNet* devicenet;
    InterfaceSettings card;
};

TEST_P(FieldbusTest, StringsAreEightBitTrimmedAndEndAtNulOrAtTheMaximum)
{
    const struct {
        QString written;
        int32_t maxLength;
        QString text;
    } cases[] = {
        {QStringLiteral("ABCDEFGHIJKLMNOP"), 16, QStringLiteral("ABCDEFGHIJKLMNOP")},  // no NUL at all
        {QStringLiteral("ABCDEFG"), 5, QStringLiteral("ABCDE")},
        {QStringLiteral("AB"), 5, QStringLiteral("AB")},
        {QStringLiteral("  Kraft   "), 16, QStringLiteral("Kraft")},
        {QStringLiteral("   AB"), 4, QStringLiteral("A")},
        {QStringLiteral("Capteur n°2 é"), 16, QStringLiteral("Capteur n°2 é")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.written.toStdString());
        ASSERT_EQ(writeName(c.written), rc::Ok);
        EXPECT_EQ(lastLength(), c.written.size()) << "the characters, without NUL";
        QString text = QStringLiteral("stale");
        // PROFIBUS gives the bytes read, DeviceNet 0.
        EXPECT_EQ(readName(text, c.maxLength), dpv1() ? c.maxLength : rc::Ok);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(lastLength(), dpv1() ? c.maxLength : 256);
    }
    EXPECT_EQ(stored("Common/ChannelName").left(13), QByteArray("Capteur n\xB0" "2 \xE9"));

    rack.node(Node)->setSilent(true);
    QString text = QStringLiteral("stale");
    EXPECT_EQ(readName(text, 16), silence());
    EXPECT_TRUE(text.isEmpty());
}

TEST_P(FieldbusTest, ByteRecordsReadAndWrite)
{
    const QByteArray data = QByteArray::fromHex("0102030405060708090a");
    EXPECT_EQ(writeData(data, 4), rc::Ok);
    EXPECT_EQ(lastLength(), 4);
    EXPECT_EQ(stored("Common/UserData").left(4), data.left(4));

    QByteArray buffer;
    int32_t length = 32;
    const int32_t result = readData(buffer, length);
    EXPECT_GE(result, 4);
    EXPECT_EQ(length, result);
    EXPECT_EQ(buffer.size(), result);
    EXPECT_EQ(buffer.left(4), data.left(4));
    EXPECT_EQ(lastLength(), 32);

    length = 2;
    EXPECT_EQ(readData(buffer, length), 2);
    EXPECT_EQ(buffer, data.left(2));
}

TEST_P(FieldbusTest, AFailedReadLeavesZero)
{
    rack.node(Node)->setSilent(true);
    int32_t value = 77;
    EXPECT_EQ(dpv1() ? DPV1_ReadInt32(world.state, card, Node, parameter("Common/VendorID"), value)
                     : DNET_Read4(world.state, Node, 100, 1, 1, value),
              silence());
    EXPECT_EQ(value, 0);
}

INSTANTIATE_TEST_SUITE_P(Buses, FieldbusTest, ::testing::Values(int32_t(PROFIBUS), int32_t(DeviceNet)),
                         [](const auto& info) { return info.param == PROFIBUS ? "PROFIBUS" : "DeviceNet"; });

}  // namespace
