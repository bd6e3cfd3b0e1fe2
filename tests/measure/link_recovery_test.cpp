// The measurement through a lost CAN link: when it tries again, what it says, what it
// records, and the device's configuration read again once it answers.
#include "device/device_fixture.h"

#include "measure/Measurement.h"
#include "transport/can/CanTexts.h"
#include "transport/can/events/CanNetListener.h"
#include "transport/can/lib/CanLibrary.h"

#include "support/ForwardingCanLibrary.h"

#include <QFile>

namespace devicetest {
namespace {

// The ticks at which a device that never comes back is tried, over 50 ticks.
TEST(LinkRecovery, TriesWithADoublingPause)
{
    LinkRecovery recovery;
    EXPECT_FALSE(recovery.tryNow(false)) << "nothing to try while the link is up";
    EXPECT_TRUE(recovery.lose(rc::CanTimeout));
    EXPECT_FALSE(recovery.lose(rc::CanBusGone)) << "said once";
    EXPECT_EQ(recovery.cause(), rc::CanBusGone);
    std::vector<int> tried;
    for (int tick = 1; tick <= 50; ++tick) {
        if (recovery.tryNow(false)) {
            tried.push_back(tick);
            recovery.tryFailed();
        }
    }
    EXPECT_EQ(tried, (std::vector<int>{2, 6, 14, 30, 46}));
    EXPECT_TRUE(recovery.tryNow(true)) << "a device heard is tried at once";
    recovery.back();
    EXPECT_FALSE(recovery.lost());
}

TEST(LinkRecovery, OnlyAGoneLinkIsALoss)
{
    for (int32_t code : {rc::CanTimeout, rc::CanBusGone})
        EXPECT_TRUE(isLinkLoss(code)) << code;
    for (int32_t code : {rc::CanSdoAbort, rc::Timeout, rc::Failed, rc::Ok, rc::CanOutOfMemory})
        EXPECT_FALSE(isLinkLoss(code)) << code;
}

// A bus that takes no frame while `gone`; counts the resets that try to bring it back.
class GoneBus : public ForwardingCanLibrary {
public:
    using ForwardingCanLibrary::ForwardingCanLibrary;
    int32_t upload(uint8_t node, uint16_t index, uint8_t sub, uint8_t* buffer, int32_t& length) override
    {
        return gone ? rc::CanBusGone : ForwardingCanLibrary::upload(node, index, sub, buffer, length);
    }
    int32_t resetCan() override
    {
        ++resets;
        return ForwardingCanLibrary::resetCan();
    }
    bool gone = false;
    int resets = 0;
};

struct LinkWorld {
    LinkWorld() : world(CANBus)
    {
        world.connectDevice();
        auto bus = std::make_unique<GoneBus>(std::move(world.state().buses.can));
        gone = bus.get();
        world.state().buses.can = std::move(bus);
        measurement.start();
        EXPECT_FALSE(measurement.tick(world.state()).linkLost);
        world.host().messages.clear();
        world.host().statusTexts.clear();
    }
    QString label() { return Device_GetLabel(world.state().Devices[world.state().CurrentDevice]); }
    CanNetListener& listener() { return *world.state().buses.canEvents(); }
    void hear(const CanFrame& frame)
    {
        listener().hear({frame, world.state().buses.can->busTimeMs()});
    }

    DeviceWorld world;
    GoneBus* gone = nullptr;
    Measurement measurement;
};

TEST(LinkRecovery, ASilentDeviceIsShownLostThenReadAgainWhenItAnswers)
{
    LinkWorld w;
    DeviceWorld& world = w.world;
    world.amplifier().setSilent(true);

    const TickOutcome lost = w.measurement.tick(world.state());
    EXPECT_TRUE(lost.linkLost);
    EXPECT_FALSE(lost.stopped);
    EXPECT_EQ(lost.shown.text, QStringLiteral("—"));
    EXPECT_TRUE(world.host().messages.empty()) << "no dialog per tick: " << world.host().texts().join('|').toStdString();
    EXPECT_EQ(world.host().statusTexts.last(), linkLostText(w.label(), rc::CanTimeout));
    EXPECT_EQ(w.listener().status(QsgNode)->state, NodeState::Lost);

    // Untried ticks cost no transfer; the try's time-out is the short one.
    world.clearTraffic();
    w.measurement.tick(world.state());
    EXPECT_EQ(world.traffic().reads, 0);
    EXPECT_TRUE(w.measurement.tick(world.state()).linkLost);
    EXPECT_EQ(world.canTimeouts(), (std::vector<int32_t>{RecoveringTick::ProbeTimeoutMs, CanLibrary::DefaultTimeoutMs}));

    world.configure(QStringLiteral("Common/ChannelName"), QStringLiteral("stale"));
    world.amplifier().setSilent(false);
    const int refreshes = world.host().windowRefreshes;
    TickOutcome back;
    for (int tick = 0; tick < 4 && w.measurement.linkLost(); ++tick)
        back = w.measurement.tick(world.state());
    EXPECT_FALSE(back.linkLost);
    EXPECT_FALSE(back.stopped);
    EXPECT_NE(back.shown.text, QStringLiteral("—"));
    EXPECT_EQ(world.host().statusTexts.last(), linkBackText(w.label(), false));
    EXPECT_EQ(world.host().windowRefreshes, refreshes + 1);
    EXPECT_NE(world.element("Common/ChannelName").text(), "stale") << "read again from the device";
    EXPECT_EQ(w.listener().status(QsgNode)->state, NodeState::Unknown);
    EXPECT_TRUE(world.logLines().contains(linkLostText(w.label(), rc::CanTimeout)));
}

TEST(LinkRecovery, ABootUpHeardIsTriedAtOnceAndSaidAsARestart)
{
    LinkWorld w;
    w.world.amplifier().setSilent(true);
    ASSERT_TRUE(w.measurement.tick(w.world.state()).linkLost);
    w.world.amplifier().setSilent(false);
    w.hear(CanFrame::make(0x700 + QsgNode, {0x00}));
    EXPECT_FALSE(w.measurement.tick(w.world.state()).linkLost) << "no pause after the device announced itself";
    EXPECT_EQ(w.world.host().statusTexts.last(), linkBackText(w.label(), true));
}

TEST(LinkRecovery, AGoneBusIsNamedAndOpenedAgain)
{
    LinkWorld w;
    w.gone->gone = true;
    ASSERT_TRUE(w.measurement.tick(w.world.state()).linkLost);
    EXPECT_EQ(w.world.host().statusTexts.last(), linkLostText(w.label(), rc::CanBusGone));
    EXPECT_TRUE(linkLostText(w.label(), rc::CanBusGone).contains(canBusGoneText()));
    for (int tick = 0; tick < 3; ++tick)
        EXPECT_TRUE(w.measurement.tick(w.world.state()).linkLost);
    EXPECT_EQ(w.gone->resets, 1) << "one try at the second tick";
    w.gone->gone = false;
    TickOutcome back;
    for (int tick = 0; tick < 4 && w.measurement.linkLost(); ++tick)
        back = w.measurement.tick(w.world.state());
    EXPECT_FALSE(back.linkLost);
    EXPECT_EQ(w.gone->resets, 2);
}

TEST(LinkRecovery, HeartbeatsThatStoppedSpareTheTimeOut)
{
    LinkWorld w;
    for (int64_t at : {0, 100, 200})
        w.listener().hear({CanFrame::make(0x700 + QsgNode, {0x05}), at});
    w.listener().checkSilence(1000);
    w.world.clearTraffic();
    const TickOutcome lost = w.measurement.tick(w.world.state());
    EXPECT_TRUE(lost.linkLost);
    EXPECT_EQ(w.world.traffic().reads, 0);
    EXPECT_EQ(w.world.host().statusTexts.last(), linkLostText(w.label(), LinkRecovery::HeartbeatLost));
}

// The gap holds one error sample at its start and nothing invented after it.
TEST(LinkRecovery, TheRecordingMarksTheGap)
{
    LinkWorld w;
    AppState& state = w.world.state();
    QTemporaryDir folder;
    state.core.RecordingFilePath = folder.path();
    ASSERT_TRUE(w.measurement.setRecording(state, true));
    const QString path = w.measurement.recording().path();
    w.measurement.tick(state);
    w.world.amplifier().setSilent(true);
    for (int tick = 0; tick < 3; ++tick)
        w.measurement.tick(state);
    w.world.amplifier().setSilent(false);
    for (int tick = 0; tick < 6 && w.measurement.linkLost(); ++tick)
        w.measurement.tick(state);
    w.measurement.tick(state);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    const qsizetype data = lines.indexOf(QStringLiteral("[DATA]"));
    ASSERT_GE(data, 0);
    QStringList samples = lines.mid(data + 1);
    ASSERT_EQ(samples.size(), 4) << samples.join('|').toStdString();
    EXPECT_TRUE(samples[1].endsWith(QStringLiteral("1E+20"))) << samples[1].toStdString();
    EXPECT_GT(samples[2].section('\t', 0, 0).toDouble() - samples[1].section('\t', 0, 0).toDouble(), 0.9)
        << "time went on through the gap";
}

}  // namespace
}  // namespace devicetest
