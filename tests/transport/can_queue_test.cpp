#include "can_client_fixture.h"

#include "core/ResultCodes.h"

namespace {

constexpr uint16_t Identity = 0x1018;

// Nodes 3, 17 and 42 answer late, 300, 100 and 200 ms; node 5 does not exist.
class SdoQueueTest : public CanClientTest {
protected:
    SdoQueueTest()
    {
        for (auto [node, delay] : {std::pair{3, 300}, {17, 100}, {42, 200}}) {
            rack_->addNode(uint8_t(node)).setFaults({.delayMs = delay});
            rack_->target(uint8_t(node)).objects[{Identity, Sub}] = bytes({uint8_t(node), 0, 0, 0});
        }
    }

    void queueAll(std::initializer_list<uint8_t> nodes)
    {
        for (uint8_t node : nodes)
            ASSERT_EQ(client_.queueReadSdo(node, Identity, Sub), rc::Ok);
    }

    struct Reply {
        int32_t result;
        uint32_t sdoError;
        uint8_t node;
        QByteArray data;
    };
    Reply collect(uint8_t node = 0, uint16_t index = Identity)
    {
        Reply reply{0, 0xFFFFFFFF, node, {}};
        uint8_t sub = Sub;
        reply.result = client_.getReadSdoFromQueue(reply.sdoError, reply.node, index, sub, reply.data);
        return reply;
    }
};

TEST_F(SdoQueueTest, RepliesAreCollectedInTheCallersOrderWhileTheyArriveInAnother)
{
    queueAll({3, 17, 5, 42});
    for (uint8_t node : {uint8_t(42), uint8_t(3), uint8_t(17)}) {
        Reply reply = collect(node);
        EXPECT_EQ(reply.result, rc::Ok) << int(node);
        EXPECT_EQ(reply.sdoError, 0u);
        EXPECT_EQ(reply.data, bytes({node, 0, 0, 0}));
    }
    EXPECT_EQ(collect(5).result, rc::CanTimeout);
    EXPECT_EQ(collect(5).result, rc::Failed);

    std::vector<uint16_t> answers;
    for (const CanFrame& frame : rack_->log) {
        if (frame.id > 0x580 && frame.id < 0x600)
            answers.push_back(frame.id);
    }
    EXPECT_EQ(answers, (std::vector<uint16_t>{0x591, 0x5AA, 0x583}));
    EXPECT_EQ(now(), 300);   // the nodes ran in parallel
}

TEST_F(SdoQueueTest, ByArrivalNamesTheRequestOfEachReply)
{
    ASSERT_EQ(client_.setReadSdoFromQueueOrder(1), rc::Ok);
    queueAll({3, 42, 17});
    std::vector<uint8_t> order;
    for (int i = 0; i < 3; ++i) {
        Reply reply = collect(0, 0);
        ASSERT_EQ(reply.result, rc::Ok);
        EXPECT_EQ(reply.data, bytes({reply.node, 0, 0, 0}));
        order.push_back(reply.node);
    }
    EXPECT_EQ(order, (std::vector<uint8_t>{17, 42, 3}));
    EXPECT_EQ(collect().result, rc::Failed);
}

TEST_F(SdoQueueTest, ReadsOfOneNodeTakeTurns)
{
    rack_->target(3).objects[{0x1008, Sub}] = pattern(20);
    queueAll({3});
    ASSERT_EQ(client_.queueReadSdo(3, 0x1008, Sub), rc::Ok);
    Reply name = collect(3, 0x1008);
    EXPECT_EQ(name.result, rc::Ok);
    EXPECT_EQ(name.data, pattern(20));
    EXPECT_EQ(collect(3).data, bytes({3, 0, 0, 0}));
    EXPECT_EQ(now(), 300 + 4 * 300);   // identity, then the segmented read's four answers
}

TEST_F(SdoQueueTest, AnAbortIsAnAnswerWithItsCode)
{
    ASSERT_EQ(client_.queueReadSdo(17, 0x6000, Sub), rc::Ok);
    Reply reply = collect(17, 0x6000);
    EXPECT_EQ(reply.result, rc::Ok);
    EXPECT_EQ(reply.sdoError, sdoabort::NoObject);
    EXPECT_TRUE(reply.data.isEmpty());
}

TEST_F(SdoQueueTest, QueueAndOrderLimits)
{
    EXPECT_EQ(client_.setReadSdoFromQueueOrder(2), rc::Failed);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(client_.queueReadSdo(5, Identity, Sub), rc::Ok);
    EXPECT_EQ(client_.queueReadSdo(5, Identity, Sub), rc::CanOutOfMemory);
    EXPECT_EQ(now(), 0);
}

}  // namespace
