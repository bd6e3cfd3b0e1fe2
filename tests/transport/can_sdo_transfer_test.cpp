#include "can_client_fixture.h"

#include "core/ResultCodes.h"

namespace {

constexpr uint8_t Node = 5;
constexpr uint16_t Req = 0x605;
constexpr uint16_t Resp = 0x585;

class SdoTransferTest : public CanClientTest {
protected:
    SdoTransferTest() { rack_->addNode(Node); }
    MapSdoTarget& target() { return rack_->target(Node); }
    QByteArray& object() { return target().objects[{Index, Sub}]; }
};

// Frames on the bus per transfer: expedited up to 4 bytes, otherwise an initiate
// pair and one pair per 7-byte segment (an empty object is one empty segment).
int expectedFrames(int size)
{
    if (size >= 1 && size <= 4)
        return 2;
    return 2 + 2 * std::max(1, (size + 6) / 7);
}

class SdoSizeTest : public SdoTransferTest, public ::testing::WithParamInterface<int> {};

TEST_P(SdoSizeTest, UploadAndDownloadCarryEveryByte)
{
    int size = GetParam();
    object() = pattern(size);
    QByteArray read;
    ASSERT_EQ(this->read(Node, read, 8192), rc::Ok);
    EXPECT_EQ(read, pattern(size));
    EXPECT_EQ(int(rack_->log.size()), expectedFrames(size));

    rack_->log.clear();
    QByteArray written = pattern(size + 1).mid(1);
    ASSERT_EQ(write(Node, written), rc::Ok);
    EXPECT_EQ(object(), written);
    EXPECT_EQ(int(rack_->log.size()), expectedFrames(size));
}

INSTANTIATE_TEST_SUITE_P(Sizes, SdoSizeTest, ::testing::Values(0, 1, 2, 3, 4, 5, 7, 8, 14, 15, 100, 8192));

struct FrameCase {
    const char* name;
    bool upload;
    QByteArray data;
    std::vector<CanFrame> frames;
};

void PrintTo(const FrameCase& c, std::ostream* os)
{
    *os << c.name;
}

class SdoFrameLayoutTest : public SdoTransferTest, public ::testing::WithParamInterface<FrameCase> {};

TEST_P(SdoFrameLayoutTest, PutsTheseFramesOnTheBus)
{
    const FrameCase& c = GetParam();
    object() = c.upload ? c.data : QByteArray("old");
    QByteArray read;
    ASSERT_EQ(c.upload ? this->read(Node, read, 64) : write(Node, c.data), rc::Ok);
    EXPECT_EQ(c.upload ? read : object(), c.data);
    EXPECT_EQ(rack_->log, c.frames);
}

constexpr auto f = sdoFrame;

INSTANTIATE_TEST_SUITE_P(
    Layouts, SdoFrameLayoutTest,
    ::testing::Values(
        FrameCase{"ExpeditedUpload", true, bytes({0x34, 0x12}),
                  {f(Req, {0x40, 0x00, 0x20, 0x01}), f(Resp, {0x4B, 0x00, 0x20, 0x01, 0x34, 0x12})}},
        FrameCase{"SegmentedUpload", true, "ABCDEFGHIJ",
                  {f(Req, {0x40, 0x00, 0x20, 0x01}), f(Resp, {0x41, 0x00, 0x20, 0x01, 10, 0, 0, 0}),
                   f(Req, {0x60}), f(Resp, {0x00, 'A', 'B', 'C', 'D', 'E', 'F', 'G'}),
                   f(Req, {0x70}), f(Resp, {0x19, 'H', 'I', 'J'})}},
        FrameCase{"ExpeditedDownload", false, "abc",
                  {f(Req, {0x27, 0x00, 0x20, 0x01, 'a', 'b', 'c'}), f(Resp, {0x60, 0x00, 0x20, 0x01})}},
        FrameCase{"SegmentedDownload", false, "ABCDEFGHI",
                  {f(Req, {0x21, 0x00, 0x20, 0x01, 9, 0, 0, 0}), f(Resp, {0x60, 0x00, 0x20, 0x01}),
                   f(Req, {0x00, 'A', 'B', 'C', 'D', 'E', 'F', 'G'}), f(Resp, {0x20}),
                   f(Req, {0x1B, 'H', 'I'}), f(Resp, {0x30})}},
        FrameCase{"EmptyDownload", false, "",
                  {f(Req, {0x21, 0x00, 0x20, 0x01, 0, 0, 0, 0}), f(Resp, {0x60, 0x00, 0x20, 0x01}),
                   f(Req, {0x0F}), f(Resp, {0x20})}}),
    [](const auto& info) { return std::string(info.param.name); });

// The abort code lands in the buffer, cut to its capacity, and is kept for the object only.
TEST_F(SdoTransferTest, ServerAbortOfAnUploadLeavesTheCodeInTheBuffer)
{
    QByteArray read;
    EXPECT_EQ(this->read(Node, read, 8), rc::CanSdoAbort);
    EXPECT_EQ(read, bytes({0x00, 0x00, 0x02, 0x06}));
    EXPECT_EQ(rack_->log.back(), f(Resp, {0x80, 0x00, 0x20, 0x01, 0x00, 0x00, 0x02, 0x06}));
    EXPECT_EQ(client_.lastAbortCode(Node, Index, Sub), sdoabort::NoObject);
    EXPECT_EQ(client_.lastAbortCode(Node, Index, 2), 0u);

    rack_->server(Node).setFaults({.abortCode = sdoabort::General});
    EXPECT_EQ(this->read(Node, read, 2), rc::CanSdoAbort);
    EXPECT_EQ(read, bytes({0x00, 0x00}));
    EXPECT_EQ(client_.lastAbortCode(Node, Index, Sub), sdoabort::General);
}

TEST_F(SdoTransferTest, ServerAbortOfADownloadIsKeptForTheObject)
{
    object() = "x";
    target().readOnly.insert({Index, Sub});
    EXPECT_EQ(write(Node, "ABCDEFGHIJ"), rc::CanSdoAbort);
    EXPECT_EQ(rack_->log.back(), f(Resp, {0x80, 0x00, 0x20, 0x01, 0x02, 0x00, 0x01, 0x06}));
    EXPECT_EQ(client_.lastAbortCode(Node, Index, Sub), sdoabort::ReadOnly);
    EXPECT_EQ(object(), "x");
}

struct TooLongCase {
    const char* name;
    int objectSize;
    int capacity;
    int framesBeforeAbort;
};

void PrintTo(const TooLongCase& c, std::ostream* os)
{
    *os << c.name;
}

class SdoTooLongTest : public SdoTransferTest, public ::testing::WithParamInterface<TooLongCase> {};

TEST_P(SdoTooLongTest, ClientAbortsWithOutOfMemory)
{
    object() = pattern(GetParam().objectSize);
    QByteArray read;
    EXPECT_EQ(this->read(Node, read, GetParam().capacity), rc::CanOutOfMemory);
    EXPECT_TRUE(read.isEmpty());
    ASSERT_EQ(int(rack_->log.size()), GetParam().framesBeforeAbort + 1);
    EXPECT_EQ(rack_->log.back(), f(Req, {0x80, 0x00, 0x20, 0x01, 0x05, 0x00, 0x04, 0x05}));
}

INSTANTIATE_TEST_SUITE_P(Answers, SdoTooLongTest,
                         ::testing::Values(TooLongCase{"Expedited", 4, 2, 2}, TooLongCase{"Segmented", 20, 10, 2},
                                           TooLongCase{"String8193", 8193, 8192, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SdoTransferTest, StringsKeepNulBytes)
{
    object() = QByteArray("AB\0CD\0", 6);
    QByteArray read;
    ASSERT_EQ(this->read(Node, read, 8192), rc::Ok);
    EXPECT_EQ(read, QByteArray("AB\0CD\0", 6));
}

TEST_F(SdoTransferTest, NodeWithoutServerTimesOutAtOnce)
{
    QByteArray read;
    EXPECT_EQ(this->read(9, read, 4), rc::CanTimeout);
    EXPECT_EQ(now(), 0);
    EXPECT_EQ(rack_->log, (std::vector<CanFrame>{f(0x609, {0x40, 0x00, 0x20, 0x01}),
                                                 f(0x609, {0x80, 0x00, 0x20, 0x01, 0x00, 0x00, 0x04, 0x05})}));
    EXPECT_EQ(write(9, "1234"), rc::CanTimeout);
}

TEST_F(SdoTransferTest, SilentServerTimesOutOnTheBusClock)
{
    object() = "1234";
    rack_->server(Node).setFaults({.silent = true});
    QByteArray read;
    EXPECT_EQ(this->read(Node, read, 4), rc::CanTimeout);
    EXPECT_EQ(now(), 5000);
    ASSERT_EQ(client_.setTimeoutTime(200), rc::Ok);
    EXPECT_EQ(write(Node, "5678"), rc::CanTimeout);
    EXPECT_EQ(now(), 5200);
    EXPECT_EQ(rack_->log.back(), f(Req, {0x80, 0x00, 0x20, 0x01, 0x00, 0x00, 0x04, 0x05}));
}

TEST_F(SdoTransferTest, NodeFallingSilentMidTransferIsAbortedAfterTheTimeout)
{
    object() = pattern(30);
    rack_->server(Node).setFaults({.answerLimit = 2});
    QByteArray read;
    EXPECT_EQ(this->read(Node, read, 64), rc::CanTimeout);
    EXPECT_EQ(now(), 5000);
    ASSERT_EQ(rack_->log.size(), 6u);
    EXPECT_EQ(rack_->log[4], f(Req, {0x70}));
    EXPECT_EQ(rack_->log[5], f(Req, {0x80, 0x00, 0x20, 0x01, 0x00, 0x00, 0x04, 0x05}));
}

TEST_F(SdoTransferTest, DelayedAnswersCountAgainstEachWait)
{
    object() = "ABCDEFGHIJ";
    rack_->server(Node).setFaults({.delayMs = 100});
    QByteArray read;
    ASSERT_EQ(this->read(Node, read, 64), rc::Ok);
    EXPECT_EQ(read, "ABCDEFGHIJ");
    EXPECT_EQ(now(), 300);

    rack_->server(Node).setFaults({.delayMs = 6000});
    EXPECT_EQ(this->read(Node, read, 64), rc::CanTimeout);
    EXPECT_EQ(now(), 5300);
}

}  // namespace
