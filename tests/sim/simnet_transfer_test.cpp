// Expedited and segmented transfers of real amplifier objects on the built-in net,
// through the CANopen client and the transport functions, checked down to the frames.
#include "sim/simnet_fixture.h"

#include "core/ResultCodes.h"
#include "sim/amplifier/SensorTeds.h"
#include "sim/can/SimCanNet.h"
#include "transport/can/SdoSync.h"
#include "transport/can/SdoTransfers.h"
#include "transport/can/lib/SdoFrames.h"

namespace {

using simnet::le32;

constexpr uint32_t ZemVendor = 858;
constexpr uint32_t QsgProduct = 0x00510001;
constexpr uint32_t QsnProduct = 0x00520001;
constexpr uint16_t DeviceName = 0x1008;
constexpr uint16_t Identity = 0x1018;
constexpr uint16_t ChannelName = 0x2002;
constexpr uint16_t HasTeds = 0x2800, TedsActive = 0x2801, TedsError = 0x2802, TedsBlock = 0x2803,
                   ActivateTeds = 0x2805;

// Every frame on the net, to check what went over the wire.
class SimNetFramesTest : public SimNetTest {
protected:
    SimNetFramesTest()
    {
        logger_ = net().addListener([this](const CanFrame& frame) { frames_.push_back(frame); });
    }
    ~SimNetFramesTest() override { net().removeListener(logger_); }

    std::vector<CanFrame> framesWithId(uint16_t id) const
    {
        std::vector<CanFrame> result;
        for (const CanFrame& frame : frames_) {
            if (frame.id == id)
                result.push_back(frame);
        }
        return result;
    }

    QByteArray readBytes(uint8_t node, uint16_t index, uint8_t sub, int32_t capacity = 256)
    {
        QByteArray bytes;
        int32_t length = capacity;
        EXPECT_EQ(SDO_ReadBytes(can(), node, index, sub, bytes, length), rc::Ok) << std::hex << index;
        return bytes;
    }

    std::vector<CanFrame> frames_;
    CanFrameBus::ListenerId logger_;
};

TEST_F(SimNetFramesTest, EachNodeIdentifiesItself)
{
    const struct {
        uint8_t node;
        QString name;
        uint32_t product;
        uint32_t serial;
    } cases[] = {
        {3, "ZEM QSG 2", QsgProduct, 100003},
        {17, "ZEM QSN 2", QsnProduct, 100017},
        {42, "ZEM QSG 2", QsgProduct, 100042},
    };
    for (const auto& c : cases) {
        frames_.clear();
        QString name;
        ASSERT_EQ(SDO_ReadString(state(), settings_, c.node, DeviceName, 0, name, &host()), rc::Ok);
        EXPECT_EQ(name, c.name);
        // 16 bytes announced in the initiate answer, then three segments.
        const std::vector<CanFrame> answers = framesWithId(uint16_t(sdo::ResponseBase + c.node));
        ASSERT_EQ(answers.size(), 4u) << int(c.node);
        EXPECT_EQ(answers[0].data[0], 0x41);
        EXPECT_EQ(answers[0].data[4], 16);
        EXPECT_EQ(answers[3].data[0] & 0x01, 0x01) << "last segment";

        const struct {
            uint8_t sub;
            uint32_t value;
        } identity[] = {{1, ZemVendor}, {2, c.product}, {4, c.serial}};
        for (const auto& field : identity) {
            frames_.clear();
            uint32_t value = 0;
            ASSERT_EQ(SDO_ReadValue(can(), c.node, Identity, field.sub, value), rc::Ok);
            EXPECT_EQ(value, field.value) << int(c.node) << "/" << int(field.sub);
            const std::vector<CanFrame> answer = framesWithId(uint16_t(sdo::ResponseBase + c.node));
            ASSERT_EQ(answer.size(), 1u);
            EXPECT_EQ(answer[0].data[0], 0x43) << "expedited, 4 bytes";
        }
    }
}

TEST_F(SimNetFramesTest, ChannelNameGoesBothWaysAndMarksTheDeviceChanged)
{
    const XmlNode changed = parameter("ApplicationObjects/Changed");
    QByteArray flag;
    int32_t length = 4;
    ASSERT_EQ(SDO_ReadParam(state(), settings_, 42, changed, flag, length, nullptr), rc::Ok);
    EXPECT_EQ(flag, QByteArray(1, '\0'));

    const struct {
        QString text;
        uint8_t command;   // first byte of the download request
    } cases[] = {
        {"Ab", 0x2B},                   // expedited, 2 bytes
        {"Waage 12", 0x21},             // segmented, size indicated
        {"Prüfstand Nord 1", 0x21},     // 16 characters, Latin-1 on the wire
        {"", 0x21},                     // an empty string is a transfer of length 0
    };
    for (const auto& c : cases) {
        frames_.clear();
        ASSERT_EQ(SDO_WriteString(state(), settings_, 42, ChannelName, 0, c.text), rc::Ok) << c.text.toStdString();
        const std::vector<CanFrame> requests = framesWithId(uint16_t(sdo::RequestBase + 42));
        ASSERT_FALSE(requests.empty());
        EXPECT_EQ(requests[0].data[0], c.command) << c.text.toStdString();

        const QByteArray latin1 = c.text.toLatin1();
        EXPECT_EQ(readBytes(42, ChannelName, 0), latin1 + QByteArray(16 - latin1.size(), '\0'));
        QString text;
        ASSERT_EQ(SDO_ReadString(state(), settings_, 42, ChannelName, 0, text, nullptr), rc::Ok);
        EXPECT_EQ(text, c.text);
    }
    length = 4;
    ASSERT_EQ(SDO_ReadParam(state(), settings_, 42, changed, flag, length, nullptr), rc::Ok);
    EXPECT_EQ(flag, QByteArray(1, '\1'));
    QString other;
    ASSERT_EQ(SDO_ReadString(state(), settings_, 3, ChannelName, 0, other, nullptr), rc::Ok);
    EXPECT_EQ(other, QString()) << "node 3 keeps its own name";
}

TEST_F(SimNetFramesTest, TedsBlockIsWrittenReadAndActivatedOverTheBus)
{
    const QByteArray sensor = encodeSensorTeds({{49, 1234, 'C', 5, 0xABCDEF}, 0.0f, 5.0f});
    // A full 256-byte memory: the sensor's page and zeros; the same with a reserved
    // manufacturer ID (0) in its basic TEDS.
    const QByteArray fullMemory = sensor + QByteArray(256 - sensor.size(), '\0');
    QByteArray unreadable = fullMemory;
    unreadable[0] = 0;
    unreadable[1] = char(uint8_t(unreadable[1]) & 0xC0);
    const struct {
        const char* what;
        QByteArray block;
        uint8_t hasTeds;
        uint32_t errorBefore;
        uint8_t activeAfter;
        uint32_t errorAfter;
    } cases[] = {
        {"sensor TEDS", sensor, 1, 0x01, 1, 0},
        {"sensor TEDS in a full memory", fullMemory, 1, 0x01, 1, 0},
        {"reserved manufacturer", unreadable, 0, 0x02, 0, 0x02},
    };
    for (const auto& c : cases) {
        frames_.clear();
        ASSERT_EQ(SDO_WriteBytes(can(), 3, TedsBlock, 0, c.block), rc::Ok) << c.what;
        const size_t segments = size_t((c.block.size() + 6) / 7);
        EXPECT_EQ(framesWithId(sdo::RequestBase + 3).size(), 1 + segments) << c.what;
        EXPECT_EQ(readBytes(3, TedsBlock, 0), c.block) << c.what;
        EXPECT_EQ(readBytes(3, HasTeds, 0), QByteArray(1, char(c.hasTeds))) << c.what;
        EXPECT_EQ(readBytes(3, TedsError, 0), le32(c.errorBefore)) << c.what;
        ASSERT_EQ(SDO_WriteValue<uint8_t>(can(), 3, ActivateTeds, 0, 1), rc::Ok) << c.what;
        EXPECT_EQ(readBytes(3, TedsActive, 0), QByteArray(1, char(c.activeAfter))) << c.what;
        EXPECT_EQ(readBytes(3, TedsError, 0), le32(c.errorAfter)) << c.what;
    }
}

}  // namespace
