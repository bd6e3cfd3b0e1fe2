#include "can_sim_rack.h"
#include "core/ResultCodes.h"
#include "support/ForwardingCanLibrary.h"
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
        const auto serve = [this](CanTestRack& rack) { server_ = std::make_unique<SdoServer>(rack, 5, target_); };
        state().buses.can = std::make_unique<CanopenClient>(demoNetCatalog(rack_, 1000, serve));
        EXPECT_EQ(state().buses.can->connectClientToNet("Simulation", "Démo"), rc::Ok);
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

// An abort is not retried; its error text reads the code again.
TEST_F(SdoSyncTest, AbortIsNotRetriedAndItsErrorTextReadsTheCodeAgain)
{
    // "Measurement/ValueGros" lives at 0x2200/1 in the shipped descriptions.
    target_.objects[{0x2200, 1}] = QByteArray(4, '\0');
    target_.abortNextRead = 0x06090030;
    QByteArray buffer;
    int32_t length = 4;
    ScriptedHost& host = world_.host;
    ASSERT_EQ(SDO_ReadSync(state(), settings_, 5, 0x2200, 1, buffer, length, &host), rc::CanSdoAbort);
    EXPECT_EQ(rack_->framesWithId(0x605).size(), 1u);
    EXPECT_TRUE(host.statusTexts.isEmpty());
    target_.abortNextRead = 0x06090030;  // still refused when asked again
    EXPECT_EQ(ErrorText(state(), settings_, entry_, rc::CanSdoAbort, QStringLiteral("Measurement/ValueGros")),
              QStringLiteral("Erreur CiA : 'Error class 6, error 9, additional code 30 (hex)\r\n"
                             "Description :Surveillance de l'étendue de mesure dépassée'"));
}

// The abort text of a refused write, for objects of every length, leaves the devices connected.
TEST_F(SdoSyncTest, ErrorTextOfARefusedWriteNamesTheWritesAbort)
{
    const struct {
        const char* path;
        uint16_t index;
        uint8_t sub;
        QByteArray object;
    } cases[] = {
        {"Scaling/DecimalPointPos", 0x2500, 2, QByteArray(1, '\x03')},
        {"Common/ChannelName", 0x2002, 0, "Waage 1 Halle B"},
    };
    state().DeviceCount = 1;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        target_.objects[{c.index, c.sub}] = c.object;
        target_.readOnly.insert({c.index, c.sub});
        EXPECT_EQ(SDO_WriteBytes(*state().buses.can, 5, c.index, c.sub, c.object), rc::CanSdoAbort);
        EXPECT_EQ(ErrorText(state(), settings_, entry_, rc::CanSdoAbort, QString::fromLatin1(c.path)),
                  QStringLiteral("Erreur CiA : 'Error class 6, error 1, additional code 2 (hex)\r\n"
                                 "Description :Attempt to write a read only object'"));
    }
    EXPECT_TRUE(world_.host.messages.empty());
    EXPECT_EQ(state().DeviceCount, 1);
}

// Without a kept abort code the object is read once, whatever its length.
TEST_F(SdoSyncTest, ErrorTextWithoutAReadableAbortCode)
{
    const char* const paths[] = {
        "Scaling/DecimalPointPos",   // a 1-byte value: no abort code to describe
        "Common/ChannelName",        // longer than the 4 bytes asked
    };
    target_.objects[{0x2500, 2}] = QByteArray(1, '\x03');
    target_.objects[{0x2002, 0}] = "Waage 1 Halle B";
    for (const char* path : paths) {
        rack_->log.clear();
        EXPECT_EQ(ErrorText(state(), settings_, entry_, rc::CanSdoAbort, QString::fromLatin1(path)),
                  QStringLiteral("Erreur de bus CAN !"));
        const std::vector<CanFrame> sent = rack_->framesWithId(0x605);
        EXPECT_EQ(std::count_if(sent.begin(), sent.end(), [](const CanFrame& f) { return f.data[0] == 0x40; }), 1)
            << path;
    }
    EXPECT_TRUE(world_.host.messages.empty());
}

// The bus gives up inside busy sections: its message shows the normal pointer, and
// the sections still restore the pointer as they end.
TEST_F(SdoSyncTest, GiveUpShowsItsMessageWithTheNormalPointer)
{
    ScriptedHost& host = world_.host;
    {
        const BusyPointer outer(host);
        const BusyPointer inner(host);
        QByteArray buffer;
        int32_t length = 4;
        EXPECT_EQ(SDO_ReadSync(state(), settings_, 9, 0x1018, 1, buffer, length, &host), rc::NoDevice);
        EXPECT_EQ(host.busyDepth, 1);
    }
    EXPECT_EQ(host.busyDepth, 0);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_TRUE(host.messages[0].text.endsWith(QStringLiteral("Tous les appareils sont déconnectés.")));
    EXPECT_FALSE(host.messages[0].busy);
}

// A read that cannot be queued ends the scan with its result and leaves no read queued.
TEST_F(SdoSyncTest, ScanEndsWithAFailedQueueingAndLeavesNothingQueued)
{
    class QueueFailing : public ForwardingCanLibrary {
    public:
        using ForwardingCanLibrary::ForwardingCanLibrary;
        int32_t queueReadSdo(uint8_t node, uint16_t index, uint8_t sub) override
        {
            return node == 3 ? rc::CanOutOfMemory : ForwardingCanLibrary::queueReadSdo(node, index, sub);
        }
    };
    target_.objects[{0x1018, 1}] = QByteArray::fromHex("5a030000");
    state().buses.can = std::make_unique<QueueFailing>(std::move(state().buses.can));
    std::vector<DeviceEntry> found;
    EXPECT_EQ(CAN_ScanRead(state(), settings_, nullptr, found), rc::CanOutOfMemory);
    EXPECT_EQ(world_.host.texts(), QStringList{QStringLiteral("Start of asynchronous read(ZEMCAN_QueueReadSDO()) "
                                                              "returned error: -16502\r\nAborting scan!")});
    uint32_t sdoError = 0;
    uint8_t node = 5;
    uint16_t index = 0x1018;
    uint8_t sub = 1;
    QByteArray data;
    EXPECT_EQ(state().buses.can->getReadSdoFromQueue(sdoError, node, index, sub, data), rc::Failed);
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
