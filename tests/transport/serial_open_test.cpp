#include "serial_fixture.h"

#include "core/ResultCodes.h"
#include "transport/serial/ComTransport.h"
#include "transport/serial/SerialLibrary.h"

#include <QStringList>
#include <cstring>
#include <deque>
#include <gtest/gtest.h>

// The order of the serial library calls behind opening the port and recovering
// it, seen through a library that records every call and answers from a script.
namespace {

class RecordingSerialLibrary : public SerialLibrary {
public:
    int32_t openPort(int32_t port, int32_t baud, const QByteArray& parity, int32_t dataBits, int32_t stopBits,
                     int32_t queueSize) override
    {
        calls << QStringLiteral("openPort(%1,%2,\"%3\",%4,%5,%6)")
                     .arg(port)
                     .arg(baud)
                     .arg(QString::fromLatin1(parity))
                     .arg(dataBits)
                     .arg(stopBits)
                     .arg(queueSize);
        return openResult;
    }
    int32_t closePortEx(int32_t port) override
    {
        return record(QStringLiteral("closePortEx(%1)").arg(port), 0);
    }
    int32_t setTimeout(int32_t ms) override { return record(QStringLiteral("setTimeout(%1)").arg(ms), 0); }
    int32_t selectPort(int32_t port) override
    {
        return record(QStringLiteral("selectPort(%1)").arg(port), 0);
    }
    int32_t selectDevice(int32_t device) override
    {
        return record(QStringLiteral("selectDevice(%1)").arg(device), next(selectDeviceResults));
    }
    void delay(int32_t units) override { calls << QStringLiteral("delay(%1)").arg(units); }
    int32_t flushInQueue() override { return record(QStringLiteral("flushInQueue"), next(flushCounts)); }
    int32_t writePortCount(const char*, int32_t count) override
    {
        return record(QStringLiteral("writePortCount(%1)").arg(count), count);
    }
    // Plays the next scripted receive: its bytes, or its failure.
    int32_t readPort(char* buffer, int32_t count) override
    {
        calls << QStringLiteral("readPort(%1)").arg(count);
        if (receives.empty())
            return rc::Timeout;
        const Receive receive = receives.front();
        receives.pop_front();
        if (receive.result < 0)
            return receive.result;
        std::memcpy(buffer, receive.bytes.constData(), size_t(count));
        return count;
    }

    struct Receive {
        QByteArray bytes;
        int32_t result = 0;
    };

    QStringList calls;
    int32_t openResult = 0;
    std::deque<int32_t> selectDeviceResults;
    std::deque<int32_t> flushCounts;
    std::deque<Receive> receives;

private:
    int32_t record(const QString& call, int32_t result)
    {
        calls << call;
        return result;
    }
    static int32_t next(std::deque<int32_t>& script)
    {
        if (script.empty())
            return 0;
        const int32_t value = script.front();
        script.pop_front();
        return value;
    }
};

struct OpenCase {
    const char* name;
    ComSettings settings;
    int32_t openResult;
    std::deque<int32_t> selectDeviceResults;
    std::deque<int32_t> flushCounts;
    int32_t result;
    QStringList calls;
};

TEST(ComOpen, CallsTheLibraryInOrder)
{
    const QStringList resync = {"selectDevice(1)", "delay(5000)"};
    const QStringList select = {"setTimeout(5000)", "selectPort(2)", "selectDevice(1)"};
    const OpenCase cases[] = {
        {"even parity", {9600, 2, 8, 1, 2}, 0, {}, {}, rc::Ok,
         QStringList{"openPort(2,9600,\"e\",8,1,4096)"} + resync + QStringList{"flushInQueue"} + select},
        {"mark parity passes no letter", {9600, 3, 8, 1, 2}, 0, {}, {}, rc::Ok,
         QStringList{"openPort(2,9600,\"\",8,1,4096)"} + resync + QStringList{"flushInQueue"} + select},
        {"odd parity, 7 data bits, 2 stop bits", {19200, 1, 7, 2, 2}, 0, {}, {}, rc::Ok,
         QStringList{"openPort(2,19200,\"o\",7,2,4096)"} + resync + QStringList{"flushInQueue"} + select},
        {"flushes until nothing is left", {9600, 0, 8, 1, 2}, 0, {}, {12, 3, 0}, rc::Ok,
         QStringList{"openPort(2,9600,\"n\",8,1,4096)"} + resync +
             QStringList{"flushInQueue", "flushInQueue", "flushInQueue"} + select},
        {"port that does not open", {9600, 2, 8, 1, 2}, rc::NoInterface, {}, {}, rc::NoInterface,
         {"openPort(2,9600,\"e\",8,1,4096)"}},
        {"device not selected", {9600, 2, 8, 1, 2}, 0, {0, -7}, {}, -7,
         QStringList{"openPort(2,9600,\"e\",8,1,4096)"} + resync + QStringList{"flushInQueue"} + select +
             QStringList{"closePortEx(-1)"}},
    };
    for (const OpenCase& c : cases) {
        TestFolder folder;
        auto library = std::make_unique<RecordingSerialLibrary>();
        RecordingSerialLibrary& recorded = *library;
        recorded.openResult = c.openResult;
        recorded.selectDeviceResults = c.selectDeviceResults;
        recorded.flushCounts = c.flushCounts;
        folder.state.buses.serial = std::move(library);

        EXPECT_EQ(COM_Open(folder.state, c.settings, &folder.host), c.result) << c.name;
        EXPECT_EQ(recorded.calls, c.calls) << c.name;
        EXPECT_EQ(folder.host.statusTexts, QStringList({"Ouverture COM2...", ""})) << c.name;
        EXPECT_EQ(folder.host.busyDepth, 0) << c.name;
        EXPECT_TRUE(folder.host.messages.empty()) << c.name;
    }
}

struct RecoveryCase {
    const char* name;
    std::deque<RecordingSerialLibrary::Receive> receives;
    int32_t openResult;  // of the reopen
    int32_t result;
    QStringList exchange;  // the calls before the recovery, from the drain of the line on
};

TEST(ComRecovery, ReopensTheCurrentInterfacesPortAfterAFailedReceive)
{
    const QStringList reopen = {"closePortEx(-1)", "openPort(4,9600,\"e\",8,1,4096)", "selectDevice(1)",
                                "delay(5000)", "flushInQueue", "setTimeout(5000)", "selectPort(4)",
                                "selectDevice(1)", "selectDevice(1)", "delay(5000)", "flushInQueue"};
    const QByteArray header = serialtest::frame(1, 0x2001, 0, 0, 4);
    const RecoveryCase cases[] = {
        {"header times out", {{{}, rc::Timeout}}, rc::Ok, rc::Timeout,
         {"flushInQueue", "writePortCount(10)", "readPort(10)"}},
        {"header fails", {{{}, rc::Failed}}, rc::Ok, rc::Failed,
         {"flushInQueue", "writePortCount(10)", "readPort(10)"}},
        {"data times out", {{header, 0}, {{}, rc::Timeout}}, rc::Ok, rc::Timeout,
         {"flushInQueue", "writePortCount(10)", "readPort(10)", "readPort(4)"}},
        // Nothing to settle on a port that is gone.
        {"port does not reopen", {{{}, rc::Timeout}}, rc::NoInterface, rc::NoDevice,
         {"flushInQueue", "writePortCount(10)", "readPort(10)"}},
    };
    for (const RecoveryCase& c : cases) {
        TestFolder folder;
        folder.state.CurrentInterface.InterfaceType = RS232;
        folder.state.CurrentInterface.ComPort = 4;
        auto library = std::make_unique<RecordingSerialLibrary>();
        RecordingSerialLibrary& recorded = *library;
        recorded.receives = c.receives;
        recorded.openResult = c.openResult;
        folder.state.buses.serial = std::move(library);

        QByteArray buffer;
        EXPECT_EQ(COM_Read(folder.state, 0x2001, 0, buffer, 4), c.result) << c.name;
        EXPECT_EQ(recorded.calls, c.exchange + (c.openResult < 0 ? reopen.mid(0, 2) : reopen)) << c.name;
        EXPECT_EQ(folder.host.busyDepth, 0) << c.name;
        EXPECT_TRUE(folder.host.statusTexts.isEmpty()) << c.name;
    }
}

}  // namespace
