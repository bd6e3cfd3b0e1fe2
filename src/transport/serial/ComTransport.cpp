#include "transport/serial/ComTransport.h"

#include "core/Host.h"
#include "core/ResultCodes.h"
#include "transport/AppState.h"
#include "transport/serial/PosixSerialLibrary.h"
#include "transport/serial/SerialFrame.h"

#include <algorithm>
#include <exception>

namespace {

constexpr int32_t kQueueSize = 4096;
constexpr int32_t kDevice = 1;
constexpr int32_t kSettleUnits = 5000;
constexpr int32_t kDiscardChunk = 256;

SerialLibrary& serialLibrary(AppState& state)
{
    if (!state.buses.serial)
        state.buses.serial = std::make_unique<PosixSerialLibrary>(state.core);
    return *state.buses.serial;
}

// Drops whatever the line holds: the rest of a refused reply, a reply that came too late.
void drain(SerialLibrary& serial)
{
    while (serial.flushInQueue() > 0) {
    }
}

// Lets the amplifier finish whatever it was sending and forget a half-received
// request, then drops everything that arrived.
void resynchronise(SerialLibrary& serial)
{
    static_cast<void>(serial.selectDevice(kDevice));  // a wake-up call: the open checks the selection it makes
    serial.delay(kSettleUnits);
    drain(serial);
}

int32_t openPort(AppState& state, const ComSettings& settings)
{
    SerialLibrary& serial = serialLibrary(state);
    const int32_t opened =
        serial.openPort(settings.ComPort, settings.ComBaud, parityLetter(settings.ComParity),
                        settings.ComDataBits, settings.ComStopBits, kQueueSize);
    if (opened < 0)
        return opened;
    resynchronise(serial);
    // The port was just opened with these values: the device selection is the one step that can fail.
    static_cast<void>(serial.setTimeout(SerialLibrary::DefaultTimeoutMs));
    static_cast<void>(serial.selectPort(settings.ComPort));
    const int32_t selected = serial.selectDevice(kDevice);
    if (selected < 0) {
        static_cast<void>(serial.closePortEx(SerialLibrary::AllPorts));  // undoes the open; nothing to report
        return selected;
    }
    return rc::Ok;
}

// A receive that failed may have left part of a reply on the line. A port that does
// not open again reaches no device until the device is connected anew: saying so ends
// a whole-configuration read at once, where each further read would wait on a closed port.
int32_t recover(AppState& state, int32_t failure)
{
    SerialLibrary& serial = serialLibrary(state);
    static_cast<void>(serial.closePortEx(SerialLibrary::AllPorts));  // reopened at once
    if (COM_Open(state, comSettingsOf(state.CurrentInterface)) < 0)
        return rc::NoDevice;
    resynchronise(serial);
    return failure;
}

int32_t receive(AppState& state, char* buffer, int32_t count)
{
    const int32_t result = serialLibrary(state).readPort(buffer, count);
    return result < 0 ? recover(state, result) : result;
}

// Reads and drops `count` bytes in small pieces: the count comes from the line.
int32_t discard(AppState& state, uint32_t count)
{
    char chunk[kDiscardChunk];
    while (count > 0) {
        const int32_t piece = int32_t(std::min<uint32_t>(count, kDiscardChunk));
        const int32_t result = receive(state, chunk, piece);
        if (result < 0)
            return result;
        count -= uint32_t(piece);
    }
    return rc::Ok;
}

int32_t receiveHeader(AppState& state, SerialFrameHeader& reply)
{
    char bytes[SerialFrameHeader::Size];
    const int32_t result = receive(state, bytes, SerialFrameHeader::Size);
    if (result >= 0)
        reply = SerialFrameHeader::decode(bytes);
    return result;
}

// A request goes out on a clean line, so that its reply is the first thing to come back.
void send(AppState& state, const QByteArray& frame)
{
    SerialLibrary& serial = serialLibrary(state);
    drain(serial);
    // A frame that did not go out gets no reply: the receive that follows reports it.
    static_cast<void>(serial.writePortCount(frame.constData(), int32_t(frame.size())));
}

}  // namespace

int32_t COM_Open(AppState& state, const ComSettings& settings, Host* panel)
{
    BusyPointer busy(*state.core.host);
    if (panel)
        panel->setStatusText(QStringLiteral("Ouverture COM%1...").arg(settings.ComPort));
    int32_t result = rc::Failed;
    try {
        result = openPort(state, settings);
    } catch (const std::exception& error) {
        ShowMessage(*state.core.host, QString::fromLocal8Bit(error.what()), msg::Ok);
    }
    if (panel)
        panel->setStatusText(QString());
    return result;
}

int32_t COM_Close(AppState& state)
{
    return serialLibrary(state).closePortEx(SerialLibrary::AllPorts);
}

int32_t COM_SetTimeout(AppState& state, int32_t milliseconds)
{
    return serialLibrary(state).setTimeout(milliseconds);
}

int32_t COM_Read(AppState& state, uint16_t index, uint8_t sub, QByteArray& buffer, int32_t length)
{
    if (length < 0)
        return rc::Failed;
    const SerialFrameHeader request{SerialFrameHeader::Read, index, sub, 0, 0, uint32_t(length)};
    send(state, request.encode());
    SerialFrameHeader reply;
    int32_t result = receiveHeader(state, reply);
    if (result < 0)
        return result;
    if (reply.status != 0 || reply.length != request.length) {
        // The refused reply's data bytes are not read: they must not become the next reply.
        drain(serialLibrary(state));
        return rc::Failed;
    }
    buffer.resize(length);
    result = receive(state, buffer.data(), length);
    if (result < 0)
        return result;
    return reply.echoes(request) ? int32_t(reply.length) : rc::Failed;
}

int32_t COM_Write(AppState& state, uint16_t index, uint8_t sub, const QByteArray& data)
{
    const SerialFrameHeader request{SerialFrameHeader::Write, index, sub, 0, 0, uint32_t(data.size())};
    send(state, request.encode() + data);
    SerialFrameHeader reply;
    int32_t result = receiveHeader(state, reply);
    if (result < 0)
        return result;
    result = discard(state, reply.length);
    if (result < 0)
        return result;
    return reply.echoes(request) ? rc::Ok : rc::Failed;
}
