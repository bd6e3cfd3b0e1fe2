#include "FuzzInput.h"
#include "FuzzTargets.h"
#include "QuietHost.h"

#include "core/ResultCodes.h"
#include "transport/AppState.h"
#include "transport/serial/ComTransport.h"
#include "transport/serial/ComValues.h"
#include "transport/serial/SerialFrame.h"
#include "transport/serial/SerialLibrary.h"

#include <deque>

namespace {

constexpr int kMaxOperations = 16;
constexpr int kMaxReplyBytes = 64;

// The far end of the line, played from the input: each frame the client sends
// makes the next reply of the script arrive; a receive that wants more than has
// arrived takes what is there and times out.
class ScriptedLine : public SerialLibrary {
public:
    explicit ScriptedLine(FuzzInput& input) : input_(input) {}

    int32_t openPort(int32_t, int32_t, const QByteArray&, int32_t, int32_t, int32_t) override { return rc::Ok; }
    int32_t closePortEx(int32_t) override { return rc::Ok; }
    int32_t setTimeout(int32_t) override { return rc::Ok; }
    int32_t selectPort(int32_t) override { return rc::Ok; }
    int32_t selectDevice(int32_t) override { return rc::Ok; }
    void delay(int32_t) override {}
    int32_t flushInQueue() override
    {
        const auto dropped = int32_t(arrived_.size());
        arrived_.clear();
        return dropped;
    }
    int32_t writePortCount(const char*, int32_t count) override
    {
        const QByteArray reply = input_.bytes(input_.byte() % kMaxReplyBytes);
        arrived_.insert(arrived_.end(), reply.begin(), reply.end());
        return count;
    }
    int32_t readPort(char* buffer, int32_t count) override
    {
        for (int32_t i = 0; i < count; ++i) {
            if (arrived_.empty())
                return rc::Timeout;
            buffer[i] = arrived_.front();
            arrived_.pop_front();
        }
        return count;
    }

private:
    FuzzInput& input_;
    std::deque<char> arrived_;
};

bool isReceiveFailure(int32_t result)
{
    return result == rc::Failed || result == rc::Timeout;
}

QString readOnce(AppState& state, FuzzInput& input)
{
    const uint16_t index = input.u16();
    const uint8_t sub = input.byte();
    const int32_t length = input.byte() % 32;
    QByteArray buffer;
    const int32_t result = COM_Read(state, index, sub, buffer, length);
    if (result == length && buffer.size() == length)
        return {};
    return isReceiveFailure(result) ? QString() : QStringLiteral("COM_Read: %1 for %2 bytes").arg(result).arg(length);
}

QString writeOnce(AppState& state, FuzzInput& input)
{
    const uint16_t index = input.u16();
    const uint8_t sub = input.byte();
    const int32_t result = COM_Write(state, index, sub, input.bytes(input.byte() % 16));
    return result == rc::Ok || isReceiveFailure(result) ? QString() : QStringLiteral("COM_Write: %1").arg(result);
}

QString readText(AppState& state, FuzzInput& input)
{
    const uint16_t index = input.u16();
    const uint8_t sub = input.byte();
    const int32_t maxLength = input.byte() % 40;
    QString text = QStringLiteral("untouched");
    const int32_t result = COM_ReadString(state, index, sub, text, maxLength);
    if (result == rc::Ok && text.size() <= maxLength)
        return {};
    if (isReceiveFailure(result) && text.isEmpty())
        return {};
    return QStringLiteral("COM_ReadString: %1, %2 characters of %3").arg(result).arg(text.size()).arg(maxLength);
}

QString readFloat(AppState& state, FuzzInput& input)
{
    const uint16_t index = input.u16();
    const uint8_t sub = input.byte();
    float value = 0;
    const int32_t result = COM_ReadValue(state, index, sub, value);
    return result == rc::Ok || isReceiveFailure(result) ? QString() : QStringLiteral("COM_ReadValue: %1").arg(result);
}

// Every header decodes to the fields that encode back to the same bytes.
QString headerRoundTrip(FuzzInput& input)
{
    const QByteArray bytes = input.bytes(SerialFrameHeader::Size);
    if (bytes.size() < SerialFrameHeader::Size)
        return {};
    return SerialFrameHeader::decode(bytes.constData()).encode() == bytes ? QString()
                                                                          : QStringLiteral("header round trip");
}

}  // namespace

QString fuzzSerialReply(const uint8_t* data, size_t size)
{
    FuzzInput input(data, size);
    QuietHost host;
    AppState state;
    state.core.host = &host;
    state.CurrentInterface.ComPort = 1;
    state.buses.serial = std::make_unique<ScriptedLine>(input);
    if (COM_Open(state, comSettingsOf(state.CurrentInterface)) != rc::Ok)
        return QStringLiteral("COM_Open failed");
    for (int i = 0; i < kMaxOperations && !input.empty(); ++i) {
        QString broken;
        switch (input.byte() % 5) {
        case 0: broken = readOnce(state, input); break;
        case 1: broken = writeOnce(state, input); break;
        case 2: broken = readText(state, input); break;
        case 3: broken = readFloat(state, input); break;
        default: broken = headerRoundTrip(input); break;
        }
        if (!broken.isEmpty())
            return broken;
    }
    return {};
}
