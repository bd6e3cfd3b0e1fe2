#include "serial_fixture.h"

#include "core/Log.h"
#include "core/ResultCodes.h"
#include "transport/serial/ComValues.h"
#include "transport/serial/PosixSerialLibrary.h"

#include <QFile>
#include <functional>
#include <gtest/gtest.h>
#include <thread>
#include <sys/ioctl.h>
#include <fcntl.h>
#include <unistd.h>

// The serial transport against a far end that answers scripted bytes.
namespace {

using namespace serialtest;

using Exchange = std::function<int32_t(AppState&)>;

// A client on COM3 whose far end is a scripted peer, the port open.
class PeerLine {
public:
    PeerLine() : world(peer.path()) { EXPECT_EQ(world.open(), rc::Ok); }
    AppState& state() { return world.state(); }

    ScriptedPeer peer;
    SerialWorld world;
};

struct FrameCase {
    const char* name;
    Exchange exchange;
    QByteArray reply;
    QByteArray request;
};

TEST(SerialPeer, RequestFramesAndTheirReplies)
{
    const FrameCase cases[] = {
        {"read 4 bytes",
         [](AppState& s) {
             int32_t value = 0;
             const int32_t result = COM_ReadValue(s, 0x2200, 7, value);
             EXPECT_EQ(value, 0x12345678);
             return result;
         },
         frame(1, 0x2200, 7, 0, 4, bytes({0x78, 0x56, 0x34, 0x12})),
         bytes({0x01, 0x00, 0x22, 0x07, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00})},
        {"read a float",
         [](AppState& s) {
             float value = 0;
             const int32_t result = COM_ReadValue(s, 0x2309, 9, value);
             EXPECT_EQ(value, -2.5f);
             return result;
         },
         frame(1, 0x2309, 9, 0, 4, bytes({0x00, 0x00, 0x20, 0xC0})),
         bytes({0x01, 0x09, 0x23, 0x09, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00})},
        {"read a string up to its NUL, trimmed",
         [](AppState& s) {
             QString text = QStringLiteral("old");
             const int32_t result = COM_ReadString(s, 0x2002, 0, text, 8);
             EXPECT_EQ(text, QStringLiteral("Pé 1"));
             return result;
         },
         frame(1, 0x2002, 0, 0, 8, bytes({' ', 'P', 0xE9, ' ', '1', 0x00, 'x', 'y'})),
         bytes({0x01, 0x02, 0x20, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00})},
        {"write 1 byte", [](AppState& s) { return COM_WriteValue(s, 0x2001, 3, uint8_t(0x2A)); },
         frame(2, 0x2001, 3, 0, 0),
         bytes({0x02, 0x01, 0x20, 0x03, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x2A})},
        {"write 2 bytes", [](AppState& s) { return COM_WriteValue(s, 0x2101, 5, int16_t(-2)); },
         frame(2, 0x2101, 5, 0, 0),
         bytes({0x02, 0x01, 0x21, 0x05, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0xFE, 0xFF})},
        {"write a float", [](AppState& s) { return COM_WriteValue(s, 0x2309, 9, 1.5f); },
         frame(2, 0x2309, 9, 0, 0),
         bytes({0x02, 0x09, 0x23, 0x09, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x3F})},
        {"write a string, one byte per character",
         [](AppState& s) { return COM_WriteString(s, 0x2002, 0, QStringLiteral("Aé")); },
         frame(2, 0x2002, 0, 0, 0),
         bytes({0x02, 0x02, 0x20, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 'A', 0xE9})},
        {"write an empty string", [](AppState& s) { return COM_WriteString(s, 0x2002, 0, QString()); },
         frame(2, 0x2002, 0, 0, 0), bytes({0x02, 0x02, 0x20, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00})},
    };
    for (const FrameCase& c : cases) {
        PeerLine line;
        line.peer.answer(c.reply);
        EXPECT_EQ(c.exchange(line.state()), rc::Ok) << c.name;
        EXPECT_EQ(line.peer.received(int(c.request.size())).toHex(' '), c.request.toHex(' ')) << c.name;
    }
}

struct ReplyCase {
    const char* name;
    bool write;  // a 1-byte write of 0x2A, else a 4-byte read, both at 0x2001/3
    QByteArray reply;
    int32_t result;
};

TEST(SerialPeer, RepliesThatDoNotFitTheRequest)
{
    const QByteArray data = bytes({1, 2, 3, 4});
    const ReplyCase cases[] = {
        {"read: fitting reply", false, frame(1, 0x2001, 3, 0, 4, data), 4},
        {"read: reserved byte is not looked at", false,
         bytes({0x01, 0x01, 0x20, 0x03, 0x00, 0x5A, 0x04, 0x00, 0x00, 0x00}) + data, 4},
        {"read: status 1 with its data", false, frame(1, 0x2001, 3, 1, 4, data), rc::Failed},
        {"read: status 1 without data", false, frame(1, 0x2001, 3, 1, 0), rc::Failed},
        {"read: shorter length", false, frame(1, 0x2001, 3, 0, 2, data.left(2)), rc::Failed},
        {"read: longer length", false, frame(1, 0x2001, 3, 0, 0x104, data), rc::Failed},
        {"read: write command echoed", false, frame(2, 0x2001, 3, 0, 4, data), rc::Failed},
        {"read: other index", false, frame(1, 0x2002, 3, 0, 4, data), rc::Failed},
        {"read: other high index byte", false, frame(1, 0x2101, 3, 0, 4, data), rc::Failed},
        {"read: other sub-index", false, frame(1, 0x2001, 4, 0, 4, data), rc::Failed},
        {"write: fitting reply", true, frame(2, 0x2001, 3, 0, 0), rc::Ok},
        {"write: status is not looked at", true, frame(2, 0x2001, 3, 7, 0), rc::Ok},
        {"write: reply data is read and dropped", true, frame(2, 0x2001, 3, 0, 3, bytes({9, 9, 9})), rc::Ok},
        {"write: read command echoed", true, frame(1, 0x2001, 3, 0, 0), rc::Failed},
        {"write: other index", true, frame(2, 0x2000, 3, 0, 0), rc::Failed},
        {"write: other sub-index", true, frame(2, 0x2001, 0, 0, 0), rc::Failed},
    };
    for (const ReplyCase& c : cases) {
        PeerLine line;
        line.peer.answer(c.reply);
        QByteArray buffer;
        const int32_t result = c.write ? COM_Write(line.state(), 0x2001, 3, bytes({0x2A}))
                                       : COM_Read(line.state(), 0x2001, 3, buffer, 4);
        EXPECT_EQ(result, c.result) << c.name;
        if (result == 4) {
            EXPECT_EQ(buffer, data) << c.name;
        }
        // Whatever the reply, nothing of it reaches the next exchange.
        const QByteArray next = bytes({5, 6, 7, 8});
        line.peer.answer(frame(1, 0x2001, 3, 0, 4, next));
        EXPECT_EQ(COM_Read(line.state(), 0x2001, 3, buffer, 4), 4) << c.name;
        EXPECT_EQ(buffer, next) << c.name;
    }
}

struct CutCase {
    const char* name;
    QByteArray firstReply;
    int32_t result;
};

TEST(SerialPeer, ReplyCutShortTimesOutAndThePortRecovers)
{
    const CutCase cases[] = {
        {"silence", QByteArray(), rc::Timeout},
        {"half a header", frame(1, 0x2001, 3, 0, 4).left(5), rc::Timeout},
        {"half the data", frame(1, 0x2001, 3, 0, 4, bytes({1, 2})), rc::Timeout},
    };
    const QByteArray request = frame(1, 0x2001, 3, 0, 4);
    for (const CutCase& c : cases) {
        PeerLine line;
        ASSERT_EQ(COM_SetTimeout(line.state(), ShortTimeoutMs), rc::Ok);
        line.peer.answer(c.firstReply);
        int32_t value = 7;
        EXPECT_EQ(COM_ReadValue(line.state(), 0x2001, 3, value), c.result) << c.name;
        EXPECT_EQ(value, 7) << c.name;
        EXPECT_EQ(line.world.host().busyDepth, 0) << c.name;

        // Reopened and resynchronised: the next exchange works on a clean line.
        line.peer.answer(frame(1, 0x2001, 3, 0, 4, bytes({0x44, 0x33, 0x22, 0x11})));
        EXPECT_EQ(COM_ReadValue(line.state(), 0x2001, 3, value), rc::Ok) << c.name;
        EXPECT_EQ(value, 0x11223344) << c.name;
        EXPECT_EQ(line.peer.received(20), request + request) << c.name;
    }
}

// The rest of a cut reply that comes after the time-out, while the port is being
// reopened, must not reach the next exchange. The settling pauses last 200 ms here,
// so the tail, sent 100 ms after the time-out, falls well inside them.
TEST(SerialPeer, LateTailOfACutReplyIsDropped)
{
    ScriptedPeer peer;
    SerialWorld world(peer.path());
    world.state().buses.serial =
        std::make_unique<PosixSerialLibrary>(world.state().core, std::chrono::microseconds(40));
    ASSERT_EQ(world.open(), rc::Ok);
    ASSERT_EQ(COM_SetTimeout(world.state(), ShortTimeoutMs), rc::Ok);
    const QByteArray reply = frame(1, 0x2001, 3, 0, 4, bytes({1, 2, 3, 4}));
    peer.answer(reply.left(12));
    std::thread late([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(2 * ShortTimeoutMs));
        peer.send(reply.mid(12));
    });
    int32_t value = 0;
    EXPECT_EQ(COM_ReadValue(world.state(), 0x2001, 3, value), rc::Timeout);
    late.join();

    peer.answer(frame(1, 0x2001, 3, 0, 4, bytes({5, 0, 0, 0})));
    EXPECT_EQ(COM_ReadValue(world.state(), 0x2001, 3, value), rc::Ok);
    EXPECT_EQ(value, 5);
}

TEST(SerialPeer, OpeningDropsWhatTheLineHeldBefore)
{
    ScriptedPeer peer;
    SerialWorld world(peer.path());
    const QByteArray stale = frame(1, 0x2001, 3, 0, 4, bytes({9, 9, 9, 9}));
    peer.send(bytes({0xFF, 0x00, 0x13}) + stale + bytes({0x01, 0x02}));
    ASSERT_EQ(world.open(), rc::Ok);
    peer.answer(frame(1, 0x2001, 3, 0, 4, bytes({1, 0, 0, 0})));
    int32_t value = 0;
    EXPECT_EQ(COM_ReadValue(world.state(), 0x2001, 3, value), rc::Ok);
    EXPECT_EQ(value, 1);
}

TEST(SerialPeer, PortsThatCannotBeOpened)
{
    TestFolder folder;
    const QString plainFile = folder.write(QStringLiteral("not-a-port"), "x");
    const QString paths[] = {folder.file(QStringLiteral("missing/ttyS9")), plainFile};
    for (const QString& path : paths) {
        SerialWorld world(path);
        EXPECT_EQ(COM_Open(world.state(), comSettingsOf(world.state().CurrentInterface), &world.host()),
                  rc::NoInterface)
            << path.toStdString();
        EXPECT_EQ(world.host().statusTexts, QStringList({"Ouverture COM3...", ""}));
        EXPECT_EQ(world.host().busyDepth, 0);
        // An exchange without a port fails at once, its recovery too: no device is reached.
        QByteArray buffer;
        EXPECT_EQ(COM_Read(world.state(), 0x2001, 3, buffer, 4), rc::NoDevice);
        EXPECT_EQ(COM_Write(world.state(), 0x2001, 3, bytes({1})), rc::NoDevice);
        EXPECT_TRUE(world.host().messages.empty());
    }
}

// A pseudo-terminal keeps exclusive mode after a close while its far end holds it;
// the port must give it up so that the next open (not as root) succeeds.
TEST(SerialPeer, ExclusiveWhileOpenOnly)
{
    ScriptedPeer peer;
    SerialWorld world(peer.path());
    const int probe = ::open(peer.path().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    ASSERT_GE(probe, 0);
    int exclusive = -1;
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(world.open(), rc::Ok);
        ASSERT_EQ(ioctl(probe, TIOCGEXCL, &exclusive), 0);
        EXPECT_EQ(exclusive, 1);
        EXPECT_EQ(COM_Close(world.state()), rc::Ok);
        ASSERT_EQ(ioctl(probe, TIOCGEXCL, &exclusive), 0);
        EXPECT_EQ(exclusive, 0);
    }
    ::close(probe);
}

TEST(SerialPeer, FailedStringTransfersLogAndLeaveNoText)
{
    PeerLine line;
    Log_Open(line.state().core, true);
    line.peer.answer(frame(2, 0x2003, 0, 0, 0));
    EXPECT_EQ(COM_WriteString(line.state(), 0x2002, 1, QStringLiteral("abc")), rc::Failed);
    line.peer.answer(frame(1, 0x2002, 0, 1, 0));
    QString text = QStringLiteral("old");
    EXPECT_EQ(COM_ReadString(line.state(), 0x2002, 0, text, 8), rc::Failed);
    EXPECT_TRUE(text.isEmpty());
    Log_Open(line.state().core, false);

    QFile log(GetAppDataFolder(line.state().core) + QStringLiteral("/Quelbrin Assistant.log"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = log.readAll().split('\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(
        lines[0].endsWith(": Error while synchronuous write of string SDO (index 8194, sub index 1)\r"))
        << lines[0].toStdString();
}

}  // namespace
