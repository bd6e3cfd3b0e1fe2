#include "can_client_fixture.h"

#include "core/ResultCodes.h"

#include <deque>

// Protocol faults of a server, played by a scripted node that answers each request
// to node 5 with the next list of frames.
namespace {

constexpr uint8_t Node = 5;
constexpr uint16_t Req = 0x605;
constexpr uint16_t Resp = 0x585;

constexpr auto f = sdoFrame;

struct ProtocolCase {
    const char* name;
    bool upload;
    int capacity;                                // upload buffer; download: bytes written
    std::vector<std::vector<CanFrame>> replies;  // per request
    int32_t result;
    QByteArray data;                             // upload data on success
    std::optional<CanFrame> clientAbort;         // last frame the client sends
    int spacingMs = 0;                           // between the frames of one reply
};

void PrintTo(const ProtocolCase& c, std::ostream* os)
{
    *os << c.name;
}

class SdoProtocolTest : public CanClientTest, public ::testing::WithParamInterface<ProtocolCase> {
protected:
    SdoProtocolTest()
    {
        script_.assign(GetParam().replies.begin(), GetParam().replies.end());
        scripted_ = rack_->addServer(Node, [this](const CanFrame& frame) {
            if (frame.id != Req || sdo::commandOf(frame) == sdo::Abort || script_.empty())
                return;
            const int spacing = GetParam().spacingMs;
            for (size_t i = 0; i < script_.front().size(); ++i) {
                if (spacing)
                    rack_->sendAfter(script_.front()[i], int(i) * spacing);
                else
                    rack_->send(script_.front()[i]);
            }
            script_.pop_front();
        });
    }
    ~SdoProtocolTest() override { rack_->removeListener(scripted_); }

    std::deque<std::vector<CanFrame>> script_;
    CanFrameBus::ListenerId scripted_;
};

TEST_P(SdoProtocolTest, EndsWithThisResult)
{
    const ProtocolCase& c = GetParam();
    QByteArray read;
    int32_t result = c.upload ? this->read(Node, read, c.capacity) : write(Node, pattern(c.capacity));
    EXPECT_EQ(result, c.result);
    if (c.upload && result == rc::Ok) {
        EXPECT_EQ(read, c.data);
    }
    std::vector<CanFrame> sent = rack_->framesWithId(Req);
    if (c.clientAbort) {
        EXPECT_EQ(sent.back(), *c.clientAbort);
    } else {
        EXPECT_NE(sdo::commandOf(sent.back()), sdo::Abort);
    }
    if (result == rc::CanSdoAbort) {
        EXPECT_EQ(client_.lastAbortCode(Node, Index, Sub), sdo::abortCodeOf(*c.clientAbort));
    }
    if (result == rc::CanTimeout) {
        EXPECT_EQ(now(), 5000) << "replies of other transfers do not postpone the time-out";
    }
}

const CanFrame ToggleAbort = f(Req, {0x80, 0x00, 0x20, 0x01, 0x00, 0x00, 0x03, 0x05});
const CanFrame CommandAbort = f(Req, {0x80, 0x00, 0x20, 0x01, 0x01, 0x00, 0x04, 0x05});
const CanFrame MemoryAbort = f(Req, {0x80, 0x00, 0x20, 0x01, 0x05, 0x00, 0x04, 0x05});
const CanFrame TimeoutAbort = f(Req, {0x80, 0x00, 0x20, 0x01, 0x00, 0x00, 0x04, 0x05});
const CanFrame LengthAbort = f(Req, {0x80, 0x00, 0x20, 0x01, 0x10, 0x00, 0x07, 0x06});
const CanFrame OtherObjectsAbort = f(Resp, {0x80, 0x00, 0x20, 0x02, 0x00, 0x00, 0x02, 0x06});

INSTANTIATE_TEST_SUITE_P(
    Servers, SdoProtocolTest,
    ::testing::Values(
        ProtocolCase{"UploadSegmentWithWrongToggle", true, 64,
                     {{f(Resp, {0x41, 0x00, 0x20, 0x01, 14})}, {f(Resp, {0x10, 'A', 'B', 'C', 'D', 'E', 'F', 'G'})}},
                     rc::CanSdoAbort, {}, ToggleAbort},
        ProtocolCase{"DownloadConfirmationWithWrongToggle", false, 9,
                     {{f(Resp, {0x60, 0x00, 0x20, 0x01})}, {f(Resp, {0x30})}},
                     rc::CanSdoAbort, {}, ToggleAbort},
        ProtocolCase{"UnknownServerCommand", true, 64, {{f(Resp, {0xE0, 0x00, 0x20, 0x01})}},
                     rc::CanSdoAbort, {}, CommandAbort},
        ProtocolCase{"SegmentConfirmationWhereInitiateIsDue", false, 2, {{f(Resp, {0x20})}},
                     rc::CanTimeout, {}, TimeoutAbort},
        ProtocolCase{"LateDownloadConfirmationDuringAnUpload", true, 64,
                     {{f(Resp, {0x60, 0x01, 0x20, 0x01}), f(Resp, {0x4B, 0x00, 0x20, 0x01, 0x34, 0x12})}},
                     rc::Ok, bytes({0x34, 0x12}), std::nullopt},
        ProtocolCase{"LateUploadAnswerDuringADownload", false, 2,
                     {{f(Resp, {0x4B, 0x00, 0x20, 0x01, 0x34, 0x12}), f(Resp, {0x60, 0x00, 0x20, 0x01})}},
                     rc::Ok, {}, std::nullopt},
        ProtocolCase{"ForeignRepliesDoNotPostponeTheTimeout", true, 64,
                     {{OtherObjectsAbort, OtherObjectsAbort, OtherObjectsAbort, OtherObjectsAbort}},
                     rc::CanTimeout, {}, TimeoutAbort, 3000},
        ProtocolCase{"SegmentsShorterThanAnnounced", true, 64,
                     {{f(Resp, {0x41, 0x00, 0x20, 0x01, 14})}, {f(Resp, {0x09, 'A', 'B', 'C'})}},
                     rc::CanSdoAbort, {}, LengthAbort},
        ProtocolCase{"SegmentsLongerThanAnnounced", true, 64,
                     {{f(Resp, {0x41, 0x00, 0x20, 0x01, 3})}, {f(Resp, {0x00, 'A', 'B', 'C', 'D', 'E', 'F', 'G'})}},
                     rc::CanSdoAbort, {}, LengthAbort},
        ProtocolCase{"EmptySegmentsWithoutEnd", true, 10,
                     {{f(Resp, {0x40, 0x00, 0x20, 0x01})}, {f(Resp, {0x0E})}, {f(Resp, {0x1E})}, {f(Resp, {0x0E})},
                      {f(Resp, {0x1E})}, {f(Resp, {0x0E})}},
                     rc::CanOutOfMemory, {}, MemoryAbort},
        ProtocolCase{"AnswersOfOtherNodesAndObjectsAreIgnored", true, 64,
                     {{f(0x586, {0x4B, 0x00, 0x20, 0x01, 0x66, 0x66}), f(0x185, {0x43, 0x00, 0x20, 0x01, 1, 2, 3, 4}),
                       f(Resp, {0x4B, 0x01, 0x20, 0x01, 0x77, 0x77}),
                       f(Resp, {0x80, 0x00, 0x20, 0x02, 0x00, 0x00, 0x02, 0x06}),
                       f(Resp, {0x4B, 0x00, 0x20, 0x01, 0x34, 0x12})}},
                     rc::Ok, bytes({0x34, 0x12}), std::nullopt},
        ProtocolCase{"ExpeditedWithoutSizeGivesFourBytes", true, 64,
                     {{f(Resp, {0x42, 0x00, 0x20, 0x01, 1, 2, 3, 4})}}, rc::Ok, bytes({1, 2, 3, 4}), std::nullopt},
        ProtocolCase{"ExpeditedWithoutSizeIntoOneByte", true, 1,
                     {{f(Resp, {0x42, 0x00, 0x20, 0x01, 7, 0, 0, 0})}}, rc::Ok, bytes({7}), std::nullopt},
        ProtocolCase{"SegmentsWithoutSizeOverflowTheBuffer", true, 10,
                     {{f(Resp, {0x40, 0x00, 0x20, 0x01})},
                      {f(Resp, {0x00, 'A', 'B', 'C', 'D', 'E', 'F', 'G'})},
                      {f(Resp, {0x10, 'H', 'I', 'J', 'K', 'L', 'M', 'N'})}},
                     rc::CanOutOfMemory, {}, MemoryAbort},
        ProtocolCase{"SegmentsWithoutSizeWithinTheBuffer", true, 10,
                     {{f(Resp, {0x40, 0x00, 0x20, 0x01})},
                      {f(Resp, {0x00, 'A', 'B', 'C', 'D', 'E', 'F', 'G'})},
                      {f(Resp, {0x19, 'H', 'I', 'J'})}},
                     rc::Ok, "ABCDEFGHIJ", std::nullopt},
        ProtocolCase{"NoAnswerAfterTheInitiate", true, 64, {{f(Resp, {0x41, 0x00, 0x20, 0x01, 14})}},
                     rc::CanTimeout, {}, TimeoutAbort}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
