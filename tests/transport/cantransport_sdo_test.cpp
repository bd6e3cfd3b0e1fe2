#include "can_sim_rack.h"
#include "core/ResultCodes.h"
#include "support/TestFolder.h"
#include "transport/ErrorText.h"
#include "transport/can/CanScan.h"
#include "transport/can/SdoSync.h"
#include "transport/can/SdoTransfers.h"
#include "transport/can/lib/CanopenClient.h"

#include <gtest/gtest.h>

namespace {

// A map dictionary whose next read of one object is aborted once.
class OnceAbortingTarget : public MapSdoTarget {
public:
    uint32_t abortNextRead = 0;
    uint32_t readObject(uint16_t index, uint8_t sub, QByteArray& data) override
    {
        if (const uint32_t code = std::exchange(abortNextRead, 0))
            return code;
        return MapSdoTarget::readObject(index, sub, data);
    }
};

// Node 5 on an in-process net, with the shipped descriptions loaded so that paths resolve.
class SdoSyncTest : public ::testing::Test {
protected:
    SdoSyncTest()
    {
        CanNetCatalog catalog(false);
        catalog.addBuiltInNet("Simulation", "Démo", 1000, [this] {
            auto rack = std::make_unique<CanTestRack>();
            server_ = std::make_unique<SdoServer>(*rack, 5, target_);
            rack_ = rack.get();
            return rack;
        });
        state().buses.can = std::make_unique<CanopenClient>(std::move(catalog));
        state().buses.can->connectClientToNet("Simulation", "Démo");
        EXPECT_GT(Desr_LoadAll(state().core, state().descriptions), 0);
        settings_.InterfaceType = CANBus;
        entry_.InterfaceKind = CANBus;
        entry_.NodeId = 5;
    }
    ~SdoSyncTest() override { server_.reset(); }

    AppState& state() { return world_.state; }

    TestFolder world_;
    OnceAbortingTarget target_;
    std::unique_ptr<SdoServer> server_;
    CanTestRack* rack_ = nullptr;
    InterfaceSettings settings_;
    DeviceEntry entry_;
};

TEST_F(SdoSyncTest, StringsAreCutAtNulAndTrimmed)
{
    const std::pair<QByteArray, QString> cases[] = {
        {QByteArray("  Waage 1 \0Rest", 15), QStringLiteral("Waage 1")},
        {QByteArray(8192, 'x'), QString(8192, 'x')},
        {QByteArray("\xC4l", 2), QStringLiteral("Äl")},
        {QByteArray(), QString()},
    };
    for (const auto& [bytes, text] : cases) {
        target_.objects[{0x2002, 0}] = bytes;
        QString read;
        EXPECT_EQ(SDO_ReadString(state(), settings_, 5, 0x2002, 0, read, nullptr), rc::Ok);
        EXPECT_EQ(read, text);
    }
}

TEST_F(SdoSyncTest, EmptyStringWriteIsATransferOfLengthZero)
{
    target_.objects[{0x2002, 0}] = "old";
    EXPECT_EQ(SDO_WriteString(state(), settings_, 5, 0x2002, 0, QString()), rc::Ok);
    const MapSdoTarget::Key name{0x2002, 0};
    EXPECT_EQ(target_.objects[name], QByteArray());
    EXPECT_EQ(SDO_WriteString(state(), settings_, 5, 0x2002, 0, QStringLiteral("Prüf")), rc::Ok);
    EXPECT_EQ(target_.objects[name], QByteArray("Pr\xFC" "f"));
}

TEST_F(SdoSyncTest, AbortIsNotRetried)
{
    target_.objects[{0x2200, 1}] = QByteArray(4, '\0');
    target_.abortNextRead = 0x06090030;
    QByteArray buffer;
    int32_t length = 4;
    ScriptedHost& host = world_.host;
    EXPECT_EQ(SDO_ReadSync(state(), settings_, 5, 0x2200, 1, buffer, length, &host), rc::CanSdoAbort);
    EXPECT_EQ(rack_->framesWithId(0x605).size(), 1u);
    EXPECT_TRUE(host.statusTexts.isEmpty());
}

TEST_F(SdoSyncTest, ErrorTextOfAnAbortReadsTheCodeAgain)
{
    // "Measurement/ValueGros" lives at 0x2200/1 in the shipped descriptions.
    target_.abortNextRead = 0x06090030;
    target_.objects[{0x2200, 1}] = QByteArray(4, '\0');
    QByteArray buffer;
    int32_t length = 4;
    SDO_ReadSync(state(), settings_, 5, 0x2200, 1, buffer, length, nullptr);
    target_.abortNextRead = 0x06090030;  // still refused when asked again
    EXPECT_EQ(ErrorText(state(), settings_, entry_, rc::CanSdoAbort, QStringLiteral("Measurement/ValueGros")),
              QStringLiteral("Erreur CiA : 'Error class 6, error 9, additional code 30 (hex)\r\n"
                             "Description :Surveillance de l'étendue de mesure dépassée'"));
}

TEST_F(SdoSyncTest, ErrorTextOfARefusedWriteNamesTheWritesAbort)
{
    target_.objects[{0x2500, 2}] = QByteArray(1, '\x03');
    target_.readOnly.insert({0x2500, 2});
    EXPECT_EQ(SDO_WriteValue<uint8_t>(*state().buses.can, 5, 0x2500, 2, 4), rc::CanSdoAbort);
    EXPECT_EQ(ErrorText(state(), settings_, entry_, rc::CanSdoAbort, QStringLiteral("Scaling/DecimalPointPos")),
              QStringLiteral("Erreur CiA : 'Error class 6, error 1, additional code 2 (hex)\r\n"
                             "Description :Attempt to write a read only object'"));
}

TEST_F(SdoSyncTest, ErrorTextWithoutAReadableAbortCode)
{
    // The second read succeeds with a 1-byte value: no abort code to describe.
    target_.objects[{0x2500, 2}] = QByteArray(1, '\x03');
    EXPECT_EQ(ErrorText(state(), settings_, entry_, rc::CanSdoAbort, QStringLiteral("Scaling/DecimalPointPos")),
              QStringLiteral("Erreur de bus CAN !"));
}

TEST_F(SdoSyncTest, MissingAddressGivesMinusEightWithoutTransfer)
{
    auto document = std::make_unique<XmlDocument>();
    document->loadFromMemory("<P><Communication><SDO><Index>8192</Index></SDO></Communication></P>", nullptr);
    QByteArray buffer;
    int32_t length = 4;
    EXPECT_EQ(SDO_ReadParam(state(), settings_, 5, document->documentElement(), buffer, length, nullptr),
              rc::UnknownInDescription);
    EXPECT_TRUE(rack_->framesWithId(0x605).empty());
    int32_t index = -1;
    uint8_t sub = 9;
    document->loadFromMemory("<P><Communication><SDO><Index>0</Index></SDO></Communication></P>", nullptr);
    EXPECT_EQ(SDO_GetAddress(document->documentElement(), index, sub), rc::Ok);
    EXPECT_EQ(index, 0);
}

}  // namespace

namespace {

TEST_F(SdoSyncTest, PreOperationalOnlyAfterYesThreeTimes)
{
    ScriptedHost& host = world_.host;
    host.answers = {msg::No, msg::Yes};
    CAN_SetPreOperational(state());
    EXPECT_TRUE(rack_->framesWithId(0x000).empty());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].style, msg::Question);
    EXPECT_TRUE(host.messages[0].text.startsWith(
        QStringLiteral("Normalement, l'exécution de cette fonction n'est requise que pour des fins de "
                       "maintenance \r\net peut éventuellement produir")));
    EXPECT_TRUE(host.messages[0].text.endsWith(QStringLiteral("est désactivé.\r\nContinuer quand même ?")));

    CAN_SetPreOperational(state());
    const std::vector<CanFrame> nmt = rack_->framesWithId(0x000);
    ASSERT_EQ(nmt.size(), 3u);
    for (const CanFrame& frame : nmt) {
        ASSERT_EQ(frame.length, 2);
        EXPECT_EQ(frame.data[0], 0x80);
        EXPECT_EQ(frame.data[1], 0x00);
    }
}

}  // namespace
