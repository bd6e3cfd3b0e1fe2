// Attribute reads and writes through the simulated DeviceNet master, and the status mapping.
#include "fieldbus_fixture.h"

#include <QFile>
#include <functional>

using namespace dnettest;

namespace {

TEST(DnetStatus, MapsTheLowEightBits)
{
    const std::pair<int32_t, int32_t> cases[] = {
        {0, 0},      {1, 0},      {4, -101},    {203, -103}, {9, 9},       {2, 2},     {255, 255},
        {0x104, -101}, {0x1CB, -103}, {256, 0}, {257, 0},    {-252, -101}, {-53, -103}, {-2, 254},
        {-256, 0},   {-16008, 120},
    };
    for (const auto& [status, result] : cases)
        EXPECT_EQ(DNET_MapStatus(status), result) << status;
}

template <typename T>
using DnetRead = int32_t (*)(AppState&, uint8_t, uint8_t, uint8_t, uint8_t, T&);
template <typename T>
using DnetWrite = int32_t (*)(AppState&, uint8_t, uint8_t, uint8_t, uint8_t, T);

class DnetTypedTest : public DnetTest {
protected:
    // Writes value at the attribute, reads it back, and checks the amplifier's bytes and both calls.
    template <typename T>
    void roundTrip(const char* path, DnetWrite<T> write, DnetRead<T> read, T value, uint8_t classId,
                   uint8_t attribute)
    {
        SCOPED_TRACE(path);
        library->calls.clear();
        EXPECT_EQ(write(world.state, Mac, classId, 1, attribute, value), rc::Ok);
        EXPECT_EQ(stored(QLatin1String(path)), littleEndian(value));
        T back{};
        EXPECT_EQ(read(world.state, Mac, classId, 1, attribute, back), rc::Ok);
        EXPECT_EQ(back, value);
        ASSERT_EQ(library->calls.size(), 2u);
        EXPECT_EQ(library->calls[0].name, "WriteINT");
        EXPECT_EQ(library->calls[0].size, int(sizeof(T)));
        EXPECT_EQ(library->calls[0].bytes.left(int(sizeof(T))), littleEndian(value));
        EXPECT_EQ(library->calls[1].name, "ReadINT");
        for (const Call& call : library->calls) {
            EXPECT_EQ(call.macId, Mac);
            EXPECT_EQ(call.classId, classId);
            EXPECT_EQ(call.instance, 1);
            EXPECT_EQ(call.attribute, attribute);
            EXPECT_EQ(call.timeoutMs, 3000);
        }
    }
};

TEST_F(DnetTypedTest, TypedWritesReachTheAmplifierAndReadBack)
{
    roundTrip<uint8_t>("Scaling/DecimalPointPos", DNET_Write1, DNET_Read1, 4, 104, 2);
    roundTrip<int16_t>("LimitSwitches/LimitSwitch2/Delay", DNET_Write2, DNET_Read2, 4321, 105, 12);
    roundTrip<int32_t>("Amplifier/Sensitivity", DNET_Write4, DNET_Read4, 70001, 102, 2);
    roundTrip<float>("Amplifier/NominalLoad", DNET_Write4, DNET_Read4, 0.125f, 102, 9);
}

TEST_F(DnetTest, StatusesMapToResultCodes)
{
    auto& state = world.state;
    const struct {
        const char* what;
        std::function<void()> prepare;
        std::function<int32_t()> call;
        int32_t result;
    } cases[] = {
        {"write to a read-only attribute (status 4)", [] {},
         [&] { return DNET_Write4(state, Mac, 100, 1, 16, int32_t(5)); }, rc::ReadOnly},
        {"string write to a read-only attribute", [] {},
         [&] { return DNET_WriteString(state, Mac, 100, 1, 3, QStringLiteral("1")); }, rc::ReadOnly},
        {"unknown attribute (status 203)", [] {},
         [&] {
             int32_t v = 0;
             return DNET_Read4(state, Mac, 99, 1, 1, v);
         },
         rc::UnknownOnDevice},
        {"unknown attribute, array read", [] {},
         [&] {
             QByteArray buffer;
             int32_t length = 8;
             return DNET_ReadBytes(state, Mac, 99, 1, 1, buffer, length);
         },
         rc::UnknownOnDevice},
        {"read of a write-only attribute: another status passes as it is", [] {},
         [&] {
             QString text;
             return DNET_ReadString(state, Mac, 100, 1, 14, text, 8);
         },
         simdnet::PrivilegeViolation},
        {"value out of range", [] {}, [&] { return DNET_Write1(state, Mac, 104, 1, 2, 7); }, simdnet::InvalidValue},
        {"injected 203 on a read", [&] { library->master.injectStatus(DeviceNetCall::Read, 203); },
         [&] {
             uint8_t v = 0;
             return DNET_Read1(state, Mac, 104, 1, 2, v);
         },
         rc::UnknownOnDevice},
        {"injected 4 on an array write", [&] { library->master.injectStatus(DeviceNetCall::Write, 4); },
         [&] { return DNET_WriteBytes(state, Mac, 100, 1, 13, QByteArray("\1\2", 2), 2); }, rc::ReadOnly},
        {"silent device",
         [&] {
             library->master.injectStatus(DeviceNetCall::Read, 0);
             library->master.injectStatus(DeviceNetCall::Write, 0);
             rack.node(17)->setSilent(true);
         },
         [&] { return DNET_Write2(state, 17, 105, 1, 12, 1); }, simdnet::NoAnswer & 0xFF},
        {"interface closed", [&] { DNET_CloseInterface(state); },
         [&] { return DNET_Write2(state, Mac, 105, 1, 12, 1); }, simdnet::NotOpen & 0xFF},
        {"no library", [&] { state.buses.devicenet.reset(); },
         [&] {
             int16_t v = 0;
             return DNET_Read2(state, Mac, 105, 1, 12, v);
         },
         rc::NoInterface},
    };
    for (const auto& c : cases) {
        c.prepare();
        EXPECT_EQ(c.call(), c.result) << c.what;
    }
}

TEST_F(DnetTest, StatusOneCountsAsSuccess)
{
    ASSERT_EQ(DNET_Write2(world.state, Mac, 105, 1, 12, 321), rc::Ok);
    library->master.injectStatus(DeviceNetCall::Read, dnetstatus::SuccessWithNote);
    library->master.injectStatus(DeviceNetCall::Write, dnetstatus::SuccessWithNote);
    int16_t value = 0;
    EXPECT_EQ(DNET_Read2(world.state, Mac, 105, 1, 12, value), rc::Ok);
    EXPECT_EQ(value, 321);
    EXPECT_EQ(DNET_Write1(world.state, Mac, 104, 1, 2, 3), rc::Ok);
    EXPECT_EQ(stored("Scaling/DecimalPointPos"), QByteArray("\3", 1));
}

TEST_F(DnetTest, AFailedStringWriteIsLogged)
{
    world.state.core.log.open(world.file(QStringLiteral("dnet.log")));
    ASSERT_EQ(DNET_WriteString(world.state, Mac, 100, 1, 11, QStringLiteral("ok")), rc::Ok);
    ASSERT_EQ(DNET_WriteString(world.state, Mac, 100, 1, 3, QStringLiteral("read-only")), rc::ReadOnly);
    rack.node(Mac)->setSilent(true);
    EXPECT_EQ(DNET_WriteString(world.state, Mac, 100, 1, 11, QStringLiteral("lost")), simdnet::NoAnswer & 0xFF);
    world.state.core.log.close();

    QFile file(world.file(QStringLiteral("dnet.log")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].endsWith(
        QStringLiteral(": Error while synchronuous write of string Attribute (class 100, instance 1, attribute 11)")))
        << lines[0].toStdString();
}

TEST(DnetAddress, ClassInstanceAttributeOrMinus8)
{
    const struct {
        QByteArray xml;
        int32_t result;
        int classId;
        int instance;
        int attribute;
    } cases[] = {
        {"<P><Communication><DeviceNet><Class>101</Class><Instance>1</Instance><Attribute>10</Attribute>"
         "</DeviceNet></Communication></P>",
         0, 101, 1, 10},
        {"<P><Communication><DeviceNet><Class>0</Class></DeviceNet></Communication></P>", 0, 0, 77, 77},
        {"<P><Communication><DeviceNet><Instance>1</Instance><Attribute>1</Attribute></DeviceNet>"
         "</Communication></P>",
         -8, 77, 77, 77},
        {"<P><Communication><DeviceNet><Class>5</Class><Attribute>1</Attribute></DeviceNet></Communication></P>",
         -8, 5, 77, 77},
        {"<P><Communication><DeviceNet><Class>5</Class><Instance>2</Instance></DeviceNet></Communication></P>",
         -8, 5, 2, 77},
        {"<P><Communication><DPV1><SlotNumber>1</SlotNumber><Index>2</Index></DPV1></Communication></P>", -8, 77,
         77, 77},
    };
    for (const auto& c : cases) {
        XmlDocument document;
        uint8_t classId = 77;
        uint8_t instance = 77;
        uint8_t attribute = 77;
        EXPECT_EQ(DNET_GetAddress(elementOf(document, c.xml), classId, instance, attribute), c.result)
            << c.xml.constData();
        EXPECT_EQ(classId, c.classId) << c.xml.constData();
        EXPECT_EQ(instance, c.instance) << c.xml.constData();
        EXPECT_EQ(attribute, c.attribute) << c.xml.constData();
    }
}

}  // namespace
