// quelbrin-sim's commands on standard input: what each line means or why it is
// refused, and what a command does to the CAN nodes.
#include "sim/amplifier_fixture.h"
#include "simtool/ConsoleCommands.h"
#include "support/QStringPrint.h"
#include "transport/can/events/Emcy.h"
#include "transport/can/events/ErrorControl.h"

#include <gtest/gtest.h>

using namespace amptest;

namespace {

using Kind = ConsoleCommand::Kind;

TEST(ConsoleCommands, ParsesEachLineOrSaysWhyNot)
{
    const QString faults =
        QStringLiteral("overload, sensor-break, excitation, supply, temperature, overrun, error-passive");
    const struct {
        const char* line;
        std::optional<ConsoleCommand> command;
        QString error;
    } cases[] = {
        {"reboot 5", ConsoleCommand{Kind::Reboot, 5}, {}},
        {"  off\t127 ", ConsoleCommand{Kind::Off, 127}, {}},
        {"on 1\r", ConsoleCommand{Kind::On, 1}, {}},
        {"fault 5 overload start", ConsoleCommand{Kind::Fault, 5, DeviceFault::InputOverload, true}, {}},
        {"fault 17 error-passive stop", ConsoleCommand{Kind::Fault, 17, DeviceFault::CanErrorPassive, false}, {}},
        {"", std::nullopt, {}},
        {"   ", std::nullopt, {}},
        {"restart 5", std::nullopt, QStringLiteral("unknown command: restart")},
        {"Reboot 5", std::nullopt, QStringLiteral("unknown command: Reboot")},
        {"reboot", std::nullopt, QStringLiteral("usage: reboot N")},
        {"reboot 0", std::nullopt, QStringLiteral("usage: reboot N")},
        {"off 128", std::nullopt, QStringLiteral("usage: off N")},
        {"on five", std::nullopt, QStringLiteral("usage: on N")},
        {"on 5 6", std::nullopt, QStringLiteral("usage: on N")},
        {"fault 5 overload", std::nullopt, QStringLiteral("usage: fault N NAME start|stop")},
        {"fault 5 overload begin", std::nullopt, QStringLiteral("usage: fault N NAME start|stop")},
        {"fault 5 smoke start", std::nullopt, QStringLiteral("unknown fault: smoke (faults: ") + faults + ")"},
    };
    for (const auto& c : cases) {
        const ConsoleLine parsed = parseConsoleLine(QString::fromLatin1(c.line));
        EXPECT_EQ(parsed.command, c.command) << c.line;
        EXPECT_EQ(parsed.error, c.error) << c.line;
    }
}

TEST(ConsoleCommands, ActOnTheNodesAndAnswerOneLine)
{
    TestCanRack rack({5});
    rack.amplifier(5).setRestartSilence(100);
    rack.takeAll();
    const struct {
        const char* line;
        bool done;
        QString answer;
        std::vector<uint16_t> sent;   // by node 5 within 200 ms
    } cases[] = {
        {"fault 5 temperature start", true, QStringLiteral("ok: fault 5 temperature start"), {0x85}},
        {"off 5", true, QStringLiteral("ok: off 5"), {}},
        {"fault 5 temperature stop", true, QStringLiteral("ok: fault 5 temperature stop"), {}},
        {"on 5", true, QStringLiteral("ok: on 5"), {0x705}},
        {"reboot 5", true, QStringLiteral("ok: reboot 5"), {0x705}},
        {"reboot 6", false, QStringLiteral("no node 6 on the CAN bus"), {}},
    };
    for (const auto& c : cases) {
        const ConsoleLine parsed = parseConsoleLine(QString::fromLatin1(c.line));
        ASSERT_TRUE(parsed.command) << c.line;
        QString answer;
        EXPECT_EQ(runConsoleCommand(*parsed.command, &rack.servers(), answer), c.done) << c.line;
        EXPECT_EQ(answer, c.answer) << c.line;
        rack.advance(200);
        std::vector<uint16_t> sent;
        for (const TimedFrame& heard : rack.takeAll())
            sent.push_back(heard.frame.id);
        EXPECT_EQ(sent, c.sent) << c.line;
    }
    QString answer;
    EXPECT_FALSE(runConsoleCommand(ConsoleCommand{Kind::Reboot, 5}, nullptr, answer));
    EXPECT_EQ(answer, QStringLiteral("no CAN bus served (see --can)"));
}

TEST(ConsoleCommands, HelpListsEveryCommandAndFault)
{
    const QString help = consoleHelp();
    for (const char* usage : {"reboot N", "off N", "on N", "fault N NAME start|stop"})
        EXPECT_TRUE(help.contains(QLatin1String(usage))) << usage;
    EXPECT_TRUE(help.contains(QStringLiteral("  overload       0xFF01  input signal beyond the measuring range\n")));
    EXPECT_TRUE(help.contains(QStringLiteral("  error-passive  0x8120  CAN controller error passive\n")));
}

}  // namespace
