#include "serial_fixture.h"

#include "core/ResultCodes.h"
#include "core/Settings.h"
#include "sim/serial/SerialRequestParser.h"
#include "transport/serial/ComSettings.h"
#include "transport/serial/SerialLine.h"
#include "transport/serial/SerialPortPath.h"

#include <gtest/gtest.h>

namespace {

struct SettingsTextCase {
    ComSettings settings;
    QString text;
    QByteArray letter;
};

TEST(ComSettings, TextAndParityLetter)
{
    const SettingsTextCase cases[] = {
        {{9600, 2, 8, 1, 1}, "9600 Baud, 8, even, 1", "e"},
        {{19200, 0, 7, 2, 2}, "19200 Baud, 7, none, 2", "n"},
        {{4800, 1, 8, 1, 1}, "4800 Baud, 8, odd, 1", "o"},
        {{9600, 3, 8, 1, 1}, "9600 Baud, 8, mark, 1", ""},
        {{9600, 4, 8, 1, 1}, "9600 Baud, 8, space, 1", ""},
        {{9600, 5, 8, 1, 1}, "9600 Baud, 8, , 1", ""},
    };
    for (const SettingsTextCase& c : cases) {
        EXPECT_EQ(COM_SettingsText(c.settings), c.text);
        EXPECT_EQ(parityLetter(c.settings.ComParity), c.letter) << c.text.toStdString();
    }
}

struct LineCase {
    SerialLine line;
    bool possible;
    tcflag_t size;
    tcflag_t parity;  // PARENB and PARODD as set
    bool twoStopBits;
    speed_t speed;
};

TEST(SerialLine, TermiosFlags)
{
    const LineCase cases[] = {
        {{9600, "e", 8, 1}, true, CS8, PARENB, false, B9600},
        {{115200, "o", 7, 2}, true, CS7, PARENB | PARODD, true, B115200},
        {{1200, "n", 5, 1}, true, CS5, 0, false, B1200},
        {{9600, "", 8, 1}, true, CS8, 0, false, B9600},
        {{12345, "e", 8, 1}, false, 0, 0, false, B0},
        {{9600, "e", 9, 1}, false, 0, 0, false, B0},
        {{9600, "e", 8, 3}, false, 0, 0, false, B0},
    };
    for (const LineCase& c : cases) {
        termios settings{};
        settings.c_lflag = ECHO | ICANON;
        ASSERT_EQ(serialTermios(c.line, settings), c.possible) << c.line.baud << ' ' << c.line.dataBits;
        if (!c.possible)
            continue;
        EXPECT_EQ(settings.c_cflag & CSIZE, c.size);
        EXPECT_EQ(settings.c_cflag & (PARENB | PARODD), c.parity);
        EXPECT_EQ((settings.c_cflag & CSTOPB) != 0, c.twoStopBits);
        EXPECT_EQ(cfgetospeed(&settings), c.speed);
        EXPECT_EQ(settings.c_lflag & (ECHO | ICANON), 0u);
        clearParity(settings);
        EXPECT_EQ(settings.c_cflag & (PARENB | PARODD), 0u);
    }
}

TEST(SerialPortPath, SettingsKeyElseTheMachinesSerialPorts)
{
    TestFolder folder;
    AppCore& app = folder.state.core;
    EXPECT_EQ(SerialPortPath(app, 1), "/dev/ttyS0");
    AppConf_Create(app);
    ASSERT_EQ(AppConf_SetValue(app, QStringLiteral("SerialPorts/COM2"), QStringLiteral("/dev/pts/7")), rc::Ok);
    ASSERT_EQ(AppConf_SetValue(app, QStringLiteral("SerialPorts/COM3"), QString()), rc::Ok);
    EXPECT_EQ(SerialPortPath(app, 2), "/dev/pts/7");
    EXPECT_EQ(SerialPortPath(app, 3), "/dev/ttyS2");
    EXPECT_EQ(SerialPortPath(app, 8), "/dev/ttyS7");
}

struct ParserCase {
    const char* name;
    std::vector<QByteArray> pieces;  // fed one after the other
    bool pauseBeforeLast;            // the line falls quiet before the last piece
    std::vector<QByteArray> requests;  // header + data of each request found
};

TEST(SerialRequestParser, CutsRequestsOutOfTheLine)
{
    using serialtest::frame;
    const QByteArray read = frame(1, 0x2200, 7, 0, 4);
    const QByteArray write = frame(2, 0x2001, 3, 0, 2, bytes({0x2A, 0x2B}));
    const QByteArray noData = frame(2, 0x2001, 3, 0, 0);
    const ParserCase cases[] = {
        {"one read", {read}, false, {read}},
        {"write and read back to back", {write + read}, false, {write, read}},
        {"write without data", {noData + read}, false, {noData, read}},
        {"write data arriving later", {write.left(11), write.mid(11)}, false, {write}},
        {"garbage before a read", {bytes({0xFF, 0x00, 0x13, 0x02}) + read}, false, {read}},
        {"reply echoed back", {frame(1, 0x2200, 7, 1, 0) + read}, false, {read}},
        {"absurd length", {frame(1, 0x2200, 7, 0, 0x00100000) + read}, false, {read}},
        {"write cut short by a pause", {write.left(11), read}, true, {read}},
        {"half a header", {read.left(4)}, false, {}},
    };
    for (const ParserCase& c : cases) {
        SerialRequestParser parser;
        std::vector<QByteArray> found;
        for (size_t i = 0; i < c.pieces.size(); ++i) {
            if (c.pauseBeforeLast && i + 1 == c.pieces.size())
                parser.reset();
            parser.feed(c.pieces[i]);
            while (const std::optional<SerialRequest> request = parser.next())
                found.push_back(request->header.encode() + request->data);
        }
        EXPECT_EQ(found, c.requests) << c.name;
    }
}

}  // namespace
