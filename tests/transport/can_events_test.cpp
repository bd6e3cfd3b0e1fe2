// NMT error control and EMCY: the frame decoders, the listener's node states and
// events, and the client handing on what its transfers do not take.
#include "can_client_fixture.h"
#include "support/QStringPrint.h"
#include "transport/can/events/CanNetListener.h"
#include "transport/can/events/NetEventDigest.h"
#include "transport/can/events/NmtCommand.h"
#include "transport/can/lib/SdoFrames.h"

#include <gtest/gtest.h>

namespace {
CanFrame frameOf(uint16_t id, std::initializer_list<uint8_t> bytes)
{
    return CanFrame::make(id, bytes);
}

TEST(ErrorControlDecoding, StatesBootUpsAndBadFramesByTable)
{
    struct Case {
        CanFrame frame;
        bool decoded;
        uint8_t node;
        bool bootUp;
        NodeState state;
        FrameProblem problem;
    } cases[] = {
        {frameOf(0x703, {0x00}), true, 3, true, NodeState::Unknown, FrameProblem::None},
        {frameOf(0x703, {0x04}), true, 3, false, NodeState::Stopped, FrameProblem::None},
        {frameOf(0x711, {0x05}), true, 17, false, NodeState::Operational, FrameProblem::None},
        {frameOf(0x77F, {0x7F}), true, 127, false, NodeState::PreOperational, FrameProblem::None},
        {frameOf(0x72A, {0x85}), true, 42, false, NodeState::Operational, FrameProblem::None},  // guarding toggle
        {frameOf(0x703, {0x42}), true, 3, false, NodeState::Unknown, FrameProblem::UnknownState},
        {frameOf(0x703, {}), true, 3, false, NodeState::Unknown, FrameProblem::WrongLength},
        {frameOf(0x703, {0x05, 0x00}), true, 3, false, NodeState::Unknown, FrameProblem::WrongLength},
        {frameOf(0x700, {0x00}), true, 0, false, NodeState::Unknown, FrameProblem::NodeZero},
        {frameOf(0x6FF, {0x05}), false, 0, false, NodeState::Unknown, FrameProblem::None},
        {frameOf(0x780, {0x05}), false, 0, false, NodeState::Unknown, FrameProblem::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frame.id);
        auto decoded = decodeErrorControl(c.frame);
        ASSERT_EQ(decoded.has_value(), c.decoded);
        if (!decoded)
            continue;
        EXPECT_EQ(decoded->node, c.node);
        EXPECT_EQ(decoded->bootUp, c.bootUp);
        EXPECT_EQ(decoded->state, c.state);
        EXPECT_EQ(decoded->problem, c.problem);
    }
}

TEST(EmcyDecoding, LayoutsAndTextsByTable)
{
    struct Case {
        CanFrame frame;
        const char* text;   // nullptr: not an EMCY
        FrameProblem problem;
    } cases[] = {
        {frameOf(0x083, {0x10, 0x81, 0x11, 1, 2, 3, 4, 5}),
         "EMCY 0x8110 : Débordement CAN (messages perdus) — registre 0x11 (générique, communication)",
         FrameProblem::None},
        {frameOf(0x083, {0x00, 0x00, 0x00, 0, 0, 0, 0, 0}), "EMCY 0x0000 : Pas d'erreur (fin de défaut) — registre 0x00",
         FrameProblem::None},
        {frameOf(0x0AA, {0x05, 0x81, 0x01, 0, 0, 0, 0, 0}), "EMCY 0x8105 : Communication — registre 0x01 (générique)",
         FrameProblem::None},
        {frameOf(0x0FF, {0x30, 0x50, 0x81, 0, 0, 0, 0, 0}),
         "EMCY 0x5030 : Matériel de l'appareil — registre 0x81 (générique, fabricant)", FrameProblem::None},
        {frameOf(0x091, {0x01, 0xFF, 0x41, 0, 0, 0, 0, 0}),
         "EMCY 0xFF01 : Erreur propre à l'appareil — registre 0x41 (générique, bit 6)", FrameProblem::None},
        {frameOf(0x091, {0x00, 0xA0, 0x00}), "EMCY 0xA000 : Code d'erreur inconnu — registre 0x00",
         FrameProblem::WrongLength},
        {frameOf(0x080, {}), nullptr, FrameProblem::None},   // SYNC
        {frameOf(0x100, {0, 0, 0, 0, 0, 0, 0, 0}), nullptr, FrameProblem::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frame.id);
        auto decoded = decodeEmcy(c.frame);
        ASSERT_EQ(decoded.has_value(), c.text != nullptr);
        if (!decoded)
            continue;
        EXPECT_EQ(emcyText(*decoded), QString::fromUtf8(c.text));
        EXPECT_EQ(decoded->problem, c.problem);
    }
    EXPECT_EQ(decodeEmcy(frameOf(0x083, {0x10, 0x81, 0x11, 1, 2, 3, 4, 5}))->maker,
              (std::array<uint8_t, 5>{1, 2, 3, 4, 5}));
}

// Frames at their times, then what the listener tells and keeps.
struct Heard {
    int64_t timeMs;
    CanFrame frame;
};

std::vector<QString> eventLines(CanNetListener& listener, const std::vector<Heard>& frames, int64_t silenceCheckMs = -1)
{
    for (const Heard& heard : frames)
        listener.hear({heard.frame, heard.timeMs});
    if (silenceCheckMs >= 0)
        listener.checkSilence(silenceCheckMs);
    std::vector<QString> lines;
    for (const NetEvent& event : listener.takeEvents())
        lines.push_back(QStringLiteral("%1 %2").arg(event.timeMs).arg(netEventText(event)));
    return lines;
}

TEST(CanNetListener, TellsBootUpsStateChangesSilenceAndReturn)
{
    CanNetListener listener;
    const std::vector<QString> lines = eventLines(listener,
                                                  {{0, frameOf(0x703, {0x00})},
                                                   {1000, frameOf(0x703, {0x7F})},
                                                   {2000, frameOf(0x703, {0x7F})},
                                                   {3000, frameOf(0x703, {0x05})},
                                                   {3500, frameOf(0x083, {0x10, 0x81, 0x11, 0, 0, 0, 0, 0})}},
                                                  5201);
    const std::vector<QString> expected = {
        "0 nœud 3 : démarrage (boot-up)",
        "3000 nœud 3 : pré-opérationnel -> opérationnel",
        "3500 nœud 3 : EMCY 0x8110 : Débordement CAN (messages perdus) — registre 0x11 (générique, communication)",
        "5201 nœud 3 : heartbeat perdu",
    };
    EXPECT_EQ(lines, expected);
    const NodeStatus status = *listener.status(3);
    EXPECT_EQ(status.state, NodeState::Lost);
    EXPECT_EQ(status.heartbeatPeriodMs, 1000);
    EXPECT_EQ(status.lastHeardMs, 3500);
    EXPECT_EQ(status.emcyCount, 1u);

    EXPECT_EQ(eventLines(listener, {{6000, frameOf(0x703, {0x05})}}, 6001),
              std::vector<QString>{"6000 nœud 3 : heartbeat de retour (opérationnel)"});
    // Not yet two periods and the margin of silence: not lost.
    EXPECT_TRUE(eventLines(listener, {{7000, frameOf(0x703, {0x05})}}, 9200).empty());
}

TEST(CanNetListener, BadFramesAreShownRawAndChangeNoState)
{
    CanNetListener listener;
    listener.hear({frameOf(0x711, {0x05}), 0});
    const std::vector<QString> lines =
        eventLines(listener, {{10, frameOf(0x711, {0x42})},
                              {20, frameOf(0x700, {0x00})},
                              {30, frameOf(0x711, {0x05, 0x05})},
                              {40, frameOf(0x091, {0x00, 0x50})}});
    const std::vector<QString> expected = {
        "10 nœud 17 : trame 711#42 ignorée (état inconnu)",
        "20 nœud 0 : trame 700#00 ignorée (nœud 0)",
        "30 nœud 17 : trame 711#0505 ignorée (longueur inattendue)",
        "40 nœud 17 : EMCY 0x5000 : Matériel de l'appareil — registre 0x00 [longueur inattendue]",
    };
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(listener.status(17)->state, NodeState::Operational);
    EXPECT_FALSE(listener.status(0).has_value());
}

TEST(CanNetListener, TwoStationsOnOneNodeNumberAreToldOnce)
{
    struct Case {
        const char* name;
        std::vector<Heard> frames;
    } cases[] = {
        {"two boot-ups at once", {{0, frameOf(0x705, {0x00})}, {3, frameOf(0x705, {0x00})}}},
        {"alternating heartbeat states",
         {{0, frameOf(0x705, {0x05})}, {10, frameOf(0x705, {0x7F})}, {1000, frameOf(0x705, {0x05})},
          {1010, frameOf(0x705, {0x7F})}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CanNetListener listener;
        int conflicts = 0;
        for (const Heard& heard : c.frames)
            listener.hear({heard.frame, heard.timeMs});
        for (const NetEvent& event : listener.takeEvents())
            conflicts += event.kind == NetEvent::Kind::NodeConflict;
        EXPECT_EQ(conflicts, 1);
        EXPECT_TRUE(listener.status(5)->conflict);
    }
    CanNetListener oneNode;
    eventLines(oneNode, {{0, frameOf(0x705, {0x00})}, {5000, frameOf(0x705, {0x00})}});
    EXPECT_FALSE(oneNode.status(5)->conflict) << "a reboot is no conflict";
}

TEST(CanNetListener, AFloodOfEmcyKeepsTheNewestAndCountsTheRest)
{
    CanNetListener listener;
    const int flood = int(CanNetListener::MaxEvents) + 500;
    for (int i = 0; i < flood; ++i)
        listener.hear({frameOf(0x083, {uint8_t(i), 0x10, 0x01, 0, 0, 0, 0, 0}), i});
    const std::vector<NetEvent> events = listener.takeEvents();
    ASSERT_EQ(events.size(), CanNetListener::MaxEvents);
    EXPECT_EQ(events.back().timeMs, flood - 1);
    EXPECT_EQ(listener.droppedEvents(), 500u);
    const NodeStatus status = *listener.status(3);
    EXPECT_EQ(status.emcyCount, uint64_t(flood));
    ASSERT_EQ(status.recentEmcy.size(), CanNetListener::MaxRecentEmcy);
    EXPECT_EQ(status.recentEmcy.front().code, uint16_t(0x1000 | uint8_t(flood - 1)));

    // A window writes a bounded batch to the log and shows the newest in its status area.
    const NetEventDigest digest = digestNetEvents(events, 20);
    ASSERT_EQ(digest.logLines.size(), 21);
    EXPECT_EQ(digest.logLines.last(), QStringLiteral("... 1004 autres évènements du réseau CAN non journalisés"));
    EXPECT_EQ(digest.emcyCount, int(CanNetListener::MaxEvents));
    EXPECT_EQ(emcyStatusText(*digest.lastEmcy, digest.emcyCount),
              netEventText(events.back()) + QStringLiteral(" (+1023 EMCY)"));
    EXPECT_TRUE(digest.bootedNodes.empty());
}

// A node the program found silent, and found answering again, without any heartbeat.
TEST(CanNetListener, TransfersMarkANodeLostAndBack)
{
    CanNetListener listener;
    listener.markLost(3, 100);
    listener.markLost(3, 200);
    listener.markAnswering(3, 300);
    listener.markAnswering(3, 400);
    listener.hear({frameOf(0x703, {0x00}), 500});
    const std::vector<QString> expected = {"100 nœud 3 : ne répond plus", "300 nœud 3 : répond de nouveau",
                                           "500 nœud 3 : démarrage (boot-up)"};
    EXPECT_EQ(eventLines(listener, {}), expected);
    EXPECT_EQ(listener.status(3)->state, NodeState::PreOperational);
}

TEST(NmtCommand, NamesCodesAndQuestions)
{
    const std::pair<const char*, uint8_t> names[] = {
        {"start", 0x01}, {"stop", 0x02}, {"preop", 0x80}, {"reset", 0x81}, {"reset-comm", 0x82}};
    for (const auto& [name, code] : names) {
        ASSERT_TRUE(findNmtCommand(QLatin1String(name))) << name;
        EXPECT_EQ(findNmtCommand(QLatin1String(name))->code, code);
        EXPECT_EQ(findNmtCommand(QLatin1String(name))->asks, code >= 0x81) << name;
    }
    EXPECT_EQ(findNmtCommand(QStringLiteral("Start")), nullptr);
    EXPECT_EQ(nmtQuestion(*findNmtCommand("reset"), QStringLiteral("CAN-ID 3")),
              QStringLiteral("L'appareil CAN-ID 3 redémarre et perd ses réglages non sauvegardés !\r\nContinuer ?"));
    EXPECT_EQ(nmtQuestion(*findNmtCommand("reset-comm"), QString()),
              QStringLiteral("Tous les nœuds du réseau CAN réinitialisent leur communication !\r\nContinuer ?"));
}

// The client hands on every frame its transfers do not take, with the bus's time.
class CanListeningTest : public CanClientTest {};

TEST_F(CanListeningTest, FramesNoTransferTakesReachTheListenerInOrder)
{
    rack_->addNode(5);
    rack_->target(5).objects[{Index, Sub}] = QByteArray(4, '\1');
    CanNetListener listener(client_.frames());
    rack_->send(frameOf(0x705, {0x00}));
    QByteArray data;
    ASSERT_EQ(read(5, data, 4), 0);
    rack_->send(frameOf(0x585, {0x43, 0x00, 0x20, 0x01, 0, 0, 0, 0}));   // no transfer runs: another station's
    rack_->send(frameOf(0x085, {0x10, 0x81, 0x11, 0, 0, 0, 0, 0}));
    client_.frames().flush();
    const std::vector<NetEvent> events = listener.takeEvents();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].kind, NetEvent::Kind::BootUp);
    EXPECT_EQ(events[1].kind, NetEvent::Kind::Emcy);
    EXPECT_EQ(events[1].timeMs, now());
}

TEST_F(CanListeningTest, NmtCommandsGoOutAsTwoByteFrames)
{
    std::vector<CanFrame> sent;
    FrameDispatcher::SubscriberId id = client_.frames().subscribe([&](const ReceivedFrame& received) {
        if (received.frame.id == sdo::NmtId)
            sent.push_back(received.frame);
    });
    struct Case {
        uint8_t command;
        uint8_t node;
        int32_t result;
    } cases[] = {{0x01, 3, 0}, {0x02, 0, 0}, {0x80, 127, 0}, {0x81, 5, 0}, {0x82, 0, 0}, {0x83, 3, -1}, {0x01, 128, -1}};
    std::vector<CanFrame> expected;
    for (const Case& c : cases) {
        EXPECT_EQ(client_.sendNmt(c.command, c.node), c.result) << int(c.command) << " " << int(c.node);
        if (c.result == 0)
            expected.push_back(frameOf(0x000, {c.command, c.node}));
    }
    client_.frames().flush();
    client_.frames().unsubscribe(id);
    EXPECT_EQ(sent, expected);
}
}  // namespace
