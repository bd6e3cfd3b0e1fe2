#include "transport/can_sim_rack.h"

#include <gtest/gtest.h>

// The SDO server of a simulated node, driven frame by frame.
namespace {

constexpr uint8_t Node = 9;
constexpr uint16_t Req = 0x609;
constexpr uint16_t Resp = 0x589;

constexpr auto f = sdoFrame;

struct Step {
    CanFrame request;
    std::optional<CanFrame> reply;
};

struct ServerCase {
    const char* name;
    SdoServerFaults faults;
    std::vector<Step> steps;
    QByteArray written;   // expected content of 0x2003/1 afterwards
};

void PrintTo(const ServerCase& c, std::ostream* os)
{
    *os << c.name;
}

class SdoServerTest : public ::testing::TestWithParam<ServerCase> {
protected:
    SdoServerTest()
    {
        server_ = &rack_.addNode(Node);
        MapSdoTarget& target = rack_.target(Node);
        target.objects[{0x2000, 1}] = "abc";
        target.objects[{0x2001, 1}] = "ABCDEFGHIJ";
        target.objects[{0x2003, 1}] = "old";
    }

    std::vector<CanFrame> exchange(const CanFrame& request)
    {
        rack_.log.clear();
        rack_.send(request);
        return rack_.framesWithId(Resp);
    }

    CanTestRack rack_;
    SdoServer* server_;
};

TEST_P(SdoServerTest, AnswersEachRequest)
{
    server_->setFaults(GetParam().faults);
    for (size_t i = 0; i < GetParam().steps.size(); ++i) {
        const Step& step = GetParam().steps[i];
        std::vector<CanFrame> expected;
        if (step.reply)
            expected.push_back(*step.reply);
        EXPECT_EQ(exchange(step.request), expected) << "step " << i;
    }
    EXPECT_EQ((rack_.target(Node).objects[{0x2003, 1}]), GetParam().written);
}

const CanFrame UploadAbc = f(Req, {0x40, 0x00, 0x20, 0x01});
const CanFrame UploadTen = f(Req, {0x40, 0x01, 0x20, 0x01});
const CanFrame TenBytesFollow = f(Resp, {0x41, 0x01, 0x20, 0x01, 10});
const CanFrame ExpeditedAbc = f(Resp, {0x47, 0x00, 0x20, 0x01, 'a', 'b', 'c'});
const CanFrame WriteStarted = f(Resp, {0x60, 0x03, 0x20, 0x01});

INSTANTIATE_TEST_SUITE_P(
    Requests, SdoServerTest,
    ::testing::Values(
        ServerCase{"WrongToggleEndsTheTransfer", {},
                   {{UploadTen, TenBytesFollow},
                    {f(Req, {0x70}), f(Resp, {0x80, 0x01, 0x20, 0x01, 0x00, 0x00, 0x03, 0x05})},
                    {f(Req, {0x60}), f(Resp, {0x80, 0x00, 0x00, 0x00, 0x01, 0x00, 0x04, 0x05})}},
                   "old"},
        ServerCase{"ClientAbortEndsTheTransfer", {},
                   {{UploadTen, TenBytesFollow},
                    {f(Req, {0x80, 0x01, 0x20, 0x01, 0x00, 0x00, 0x04, 0x05}), std::nullopt},
                    {f(Req, {0x60}), f(Resp, {0x80, 0x00, 0x00, 0x00, 0x01, 0x00, 0x04, 0x05})}},
                   "old"},
        ServerCase{"BlockUploadIsUnknown", {},
                   {{f(Req, {0xA0, 0x00, 0x20, 0x01}), f(Resp, {0x80, 0x00, 0x20, 0x01, 0x01, 0x00, 0x04, 0x05})}},
                   "old"},
        ServerCase{"SegmentedDownloadWithoutSize", {},
                   {{f(Req, {0x20, 0x03, 0x20, 0x01}), WriteStarted},
                    {f(Req, {0x00, 'A', 'B', 'C', 'D', 'E', 'F', 'G'}), f(Resp, {0x20})},
                    {f(Req, {0x19, 'H', 'I', 'J'}), f(Resp, {0x30})}},
                   "ABCDEFGHIJ"},
        ServerCase{"DownloadLongerThanAnnounced", {},
                   {{f(Req, {0x21, 0x03, 0x20, 0x01, 3}), WriteStarted},
                    {f(Req, {0x00, 'A', 'B', 'C', 'D', 'E', 'F', 'G'}),
                     f(Resp, {0x80, 0x03, 0x20, 0x01, 0x10, 0x00, 0x07, 0x06})}},
                   "old"},
        ServerCase{"DownloadShorterThanAnnounced", {},
                   {{f(Req, {0x21, 0x03, 0x20, 0x01, 9}), WriteStarted},
                    {f(Req, {0x05, 'A', 'B', 'C', 'D', 'E', 'F'}),
                     f(Resp, {0x80, 0x03, 0x20, 0x01, 0x10, 0x00, 0x07, 0x06})}},
                   "old"},
        ServerCase{"DownloadSegmentWithWrongToggle", {},
                   {{f(Req, {0x21, 0x03, 0x20, 0x01, 9}), WriteStarted},
                    {f(Req, {0x10, 'A', 'B', 'C', 'D', 'E', 'F', 'G'}),
                     f(Resp, {0x80, 0x03, 0x20, 0x01, 0x00, 0x00, 0x03, 0x05})}},
                   "old"},
        ServerCase{"InjectedAbort", {.abortCode = 0x08000022},
                   {{UploadAbc, f(Resp, {0x80, 0x00, 0x20, 0x01, 0x22, 0x00, 0x00, 0x08})}}, "old"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
