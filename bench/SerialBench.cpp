#include "Bench.h"

#include "core/ResultCodes.h"
#include "core/Settings.h"
#include "sim/amplifier/SimAmplifier.h"
#include "sim/serial/SerialFrameServer.h"
#include "support/TestFolder.h"
#include "transport/serial/ComValues.h"
#include "transport/serial/PosixSerialLibrary.h"
#include "transport/serial/SerialFrame.h"

namespace {

constexpr int kBitsPerByte = 10;  // start bit, 8 data bits, stop bit; the parity bit aside
constexpr int kPhysicalBaud = 9600;
constexpr long kExchanges = 2000;

// A 4-byte read: the request header out, the reply header and 4 data bytes back.
double lineTimeMs(int baud)
{
    const int bytes = SerialFrameHeader::Size + SerialFrameHeader::Size + 4;
    return 1000.0 * bytes * kBitsPerByte / baud;
}

// One 4-byte read exchange with the simulated amplifier over a pseudo-terminal,
// the port opened at `baud`; milliseconds per exchange, or -1 when it fails.
double exchangeMs(TestFolder& folder, int32_t baud, uint16_t index, uint8_t sub)
{
    AppState& state = folder.state;
    state.CurrentInterface.ComBaud = baud;
    if (COM_Open(state, comSettingsOf(state.CurrentInterface)) != rc::Ok)
        return -1;
    bool failed = false;
    const double us = microsecondsPerRun(kExchanges, [&](long) {
        float value = 0;
        failed |= COM_ReadValue(state, index, sub, value) != rc::Ok;
    });
    static_cast<void>(COM_Close(state));  // the exchanges are measured already
    return failed ? -1 : us / 1000.0;
}

}  // namespace

void benchSerial()
{
    TestFolder folder;
    SimIdentity identity;
    identity.vendorId = 858;
    identity.serialNumber = QStringLiteral("BENCH");
    const auto amplifier = SimAmplifier::load(
        TestFolder::shippedProgramFolder() + QStringLiteral("/DeviceDescription/QSG2.xml"), identity);
    const auto server = amplifier ? SerialFrameServer::start(*amplifier) : nullptr;
    const std::optional<ObjectKey> key =
        amplifier ? amplifier->keyOfPath(QStringLiteral("Measurement/ValueNet")) : std::nullopt;
    if (!server || !key) {
        report("COM_Read 4 bytes over a pseudo-terminal", -1, "ms/exchange", "no amplifier or no pty");
        return;
    }
    AppConf_Create(folder.state.core);
    expectSetUp(AppConf_SetValue(folder.state.core, QStringLiteral("SerialPorts/COM1"), server->slavePath()),
                "naming the serial port");
    folder.state.CurrentInterface.InterfaceType = RS232;
    folder.state.CurrentInterface.ComPort = 1;
    folder.state.buses.serial =
        std::make_unique<PosixSerialLibrary>(folder.state.core, std::chrono::microseconds(1));

    const double physical = lineTimeMs(kPhysicalBaud);
    const double at9600 = exchangeMs(folder, kPhysicalBaud, key->index, key->sub);
    const double at115200 = exchangeMs(folder, 115200, key->index, key->sub);
    report("COM_Read 4 bytes over a pty, port at 9600 baud", at9600, "ms/exchange",
           "ptys ignore the baud rate");
    report("COM_Read 4 bytes over a pty, port at 115200 baud", at115200, "ms/exchange");
    report("COM_Read 4 bytes, line time at 9600 baud (24 x 10 bits)", physical, "ms/exchange", "physical");
    report("line time / pty exchange at 9600 baud", physical / at9600, "x");
}
