// Parameter reads and writes by DPV1 slot and index through the simulated master.
#include "fieldbus_fixture.h"


using namespace dpv1test;

namespace {

template <typename T>
using Dpv1Read = int32_t (*)(AppState&, const InterfaceSettings&, uint8_t, XmlNode, T&);
template <typename T>
using Dpv1Write = int32_t (*)(AppState&, const InterfaceSettings&, uint8_t, XmlNode, T);

class Dpv1TypedTest : public Dpv1Test {
protected:
    // Writes value at path, reads it back, and checks the amplifier's bytes and both calls.
    template <typename T>
    void roundTrip(const char* path, Dpv1Write<T> write, Dpv1Read<T> read, T value, uint8_t slot, uint8_t index,
                   const char* writeCall, const char* readCall)
    {
        SCOPED_TRACE(path);
        library->calls.clear();
        const XmlNode node = parameter(QLatin1String(path));
        EXPECT_EQ(write(world.state, settings, Station, node, value), rc::Ok);
        EXPECT_EQ(stored(QLatin1String(path)), littleEndian(value));
        T back{};
        EXPECT_GE(read(world.state, settings, Station, node, back), 0);
        EXPECT_EQ(back, value);
        ASSERT_EQ(library->calls.size(), 2u);
        EXPECT_EQ(library->calls[0].name, writeCall);
        EXPECT_EQ(library->calls[1].name, readCall);
        for (const Call& call : library->calls) {
            EXPECT_EQ(call.card.type, profibus::HilscherMaster);
            EXPECT_EQ(call.station, Station);
            EXPECT_EQ(call.slot, slot);
            EXPECT_EQ(call.index, index);
            EXPECT_EQ(call.timeoutMs, 3000);
            EXPECT_TRUE(call.diagZeroed);
        }
    }
};

TEST_F(Dpv1TypedTest, TypedWritesReachTheAmplifierAndReadBack)
{
    connect();
    roundTrip<uint8_t>("Scaling/DecimalPointPos", DPV1_WriteInt8, DPV1_ReadInt8, 5, 1, 61, "WriteInt8", "ReadInt8");
    roundTrip<int16_t>("LimitSwitches/LimitSwitch2/Delay", DPV1_WriteInt16, DPV1_ReadInt16, 9876, 1, 91,
                       "WriteInt16", "ReadInt16");
    roundTrip<int32_t>("Amplifier/Sensitivity", DPV1_WriteInt32, DPV1_ReadInt32, 65537, 1, 21, "WriteInt32",
                       "ReadInt32");
    roundTrip<float>("Amplifier/NominalLoad", DPV1_WriteFloat, DPV1_ReadFloat, 250.5f, 1, 28, "WriteFloat",
                     "ReadFloat");
}

TEST_F(Dpv1Test, StringWritePassesTheCharacterCountAndANulAfterThem)
{
    connect();
    EXPECT_EQ(DPV1_WriteString(world.state, settings, Station, 0, 11, QStringLiteral("Zugkraft 1")), rc::Ok);
    ASSERT_EQ(library->calls.size(), 1u);
    const Call& call = library->calls[0];
    EXPECT_EQ(call.name, "Write");
    EXPECT_EQ(call.length, 10);
    EXPECT_EQ(call.bytes, QByteArray("Zugkraft 1\0", 11));
    EXPECT_EQ(call.slot, 0);
    EXPECT_EQ(call.index, 11);
    EXPECT_EQ(stored("Common/ChannelName"), QByteArray("Zugkraft 1\0\0\0\0\0\0", 16));
}

TEST_F(Dpv1Test, FailuresGiveTheirCodes)
{
    connect();
    auto& state = world.state;
    const struct {
        const char* what;
        std::function<void()> prepare;
        std::function<int32_t()> call;
        int32_t result;
    } cases[] = {
        {"write to a read-only parameter", [] {},
         [&] { return DPV1_WriteString(state, settings, Station, 0, 3, QStringLiteral("999999")); }, rc::ReadOnly},
        {"read of a write-only parameter", [] {},
         [&] {
             QString text;
             return DPV1_ReadString(state, settings, Station, 14, 0, text, 8);
         },
         rc::AccessDenied},
        {"value out of range", [] {},
         [&] { return DPV1_WriteInt8(state, settings, Station, parameter("Scaling/DecimalPointPos"), 7); },
         rc::ValueNotSet},
        {"unknown record", [] {},
         [&] {
             QString text;
             return DPV1_ReadString(state, settings, Station, 250, 9, text, 8);
         },
         rc::UnknownOnDevice},
        {"length beyond the bytes given", [] {},
         [&] { return DPV1_WriteBytes(state, settings, Station, 0, 13, QByteArray(4, 'x'), 5); },
         rc::BufferOverflow},
        {"station without connection", [] {},
         [&] {
             int32_t v = 0;
             return DPV1_ReadInt32(state, settings, 17, parameter("Common/VendorID"), v);
         },
         rc::ProfibusSlaveNotReady},
        {"silent station", [&] { rack.node(Station)->setSilent(true); },
         [&] {
             float v = 0;
             return DPV1_ReadFloat(state, settings, Station, parameter("Measurement/ValueNet"), v);
         },
         rc::ProfibusTimeout},
        {"answer later than the time-out", [&] { rack.node(Station)->setAnswerDelay(3001); },
         [&] { return DPV1_WriteInt16(state, settings, Station, parameter("LimitSwitches/LimitSwitch1/Delay"), 1); },
         rc::ProfibusTimeout},
        {"card closed", [&] { DPV1_CloseCard(state, settings); },
         [&] {
             uint8_t v = 0;
             return DPV1_ReadInt8(state, settings, Station, parameter("Scaling/DecimalPointPos"), v);
         },
         rc::ProfibusNoCommunication},
        {"no library", [&] { state.buses.profibus.reset(); },
         [&] {
             int16_t v = 0;
             return DPV1_ReadInt16(state, settings, Station, parameter("LimitSwitches/LimitSwitch1/Delay"), v);
         },
         rc::ProfibusDriverUnavailable},
    };
    for (const auto& c : cases) {
        c.prepare();
        EXPECT_EQ(c.call(), c.result) << c.what;
    }
}

TEST_F(Dpv1Test, AMissingAddressGivesMinus8WithoutATransfer)
{
    connect();
    const struct {
        QByteArray xml;
        int32_t result;
        int slot;
        int index;
    } cases[] = {
        {"<P><Communication><DPV1><SlotNumber>1</SlotNumber><Index>200</Index></DPV1></Communication></P>", 0, 1,
         200},
        {"<P><Communication><DPV1><Index>200</Index></DPV1></Communication></P>", -8, -1, -1},
        {"<P><Communication><DPV1><SlotNumber>1</SlotNumber></DPV1></Communication></P>", -8, -1, -1},
        {"<P><Communication><SDO><Index>8448</Index><Sub>1</Sub></SDO></Communication></P>", -8, -1, -1},
    };
    for (const auto& c : cases) {
        XmlDocument document;
        const XmlNode node = elementOf(document, c.xml);
        uint8_t slot = 0;
        uint8_t index = 0;
        EXPECT_EQ(DPV1_GetAddress(node, slot, index), c.result) << c.xml.constData();
        if (c.result == 0) {
            EXPECT_EQ(slot, c.slot);
            EXPECT_EQ(index, c.index);
            continue;
        }
        int32_t value = 0;
        QByteArray buffer;
        int32_t length = 4;
        EXPECT_EQ(DPV1_ReadInt32(world.state, settings, Station, node, value), -8);
        EXPECT_EQ(DPV1_WriteFloat(world.state, settings, Station, node, 1.0f), -8);
        EXPECT_EQ(DPV1_ReadBytes(world.state, settings, Station, node, buffer, length), -8);
    }
    EXPECT_TRUE(library->calls.empty());
}

}  // namespace
