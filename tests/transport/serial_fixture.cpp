#include "serial_fixture.h"

#include "core/Settings.h"
#include "transport/serial/ComTransport.h"
#include "transport/serial/PosixSerialLibrary.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

namespace serialtest {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray result;
    for (int value : values)
        result.append(char(value));
    return result;
}

QByteArray frame(uint8_t command, uint16_t index, uint8_t sub, uint8_t status, uint32_t length,
                 const QByteArray& data)
{
    return SerialFrameHeader{command, index, sub, status, 0, length}.encode() + data;
}

SerialWorld::SerialWorld(const QString& path)
{
    AppConf_Create(state().core);
    AppConf_SetValue(state().core, QStringLiteral("SerialPorts/COM%1").arg(Port), path);
    state().CurrentInterface.InterfaceType = RS232;
    state().CurrentInterface.ComPort = Port;
    state().buses.serial = std::make_unique<PosixSerialLibrary>(state().core, DelayUnit);
}

int32_t SerialWorld::open()
{
    return COM_Open(state(), comSettingsOf(state().CurrentInterface));
}

ScriptedPeer::ScriptedPeer() : terminal_(PseudoTerminal::open())
{
    if (!terminal_)
        throw std::runtime_error("no pseudo-terminal");
}

void ScriptedPeer::send(const QByteArray& bytes)
{
    ASSERT_EQ(::write(terminal_->master(), bytes.constData(), size_t(bytes.size())), bytes.size());
}

QByteArray ScriptedPeer::received(int atLeast)
{
    QByteArray got;
    for (;;) {
        pollfd watch{terminal_->master(), POLLIN, 0};
        if (poll(&watch, 1, got.size() < atLeast ? 1000 : 20) <= 0)
            return got;
        char chunk[512];
        const ssize_t count = ::read(terminal_->master(), chunk, sizeof chunk);
        if (count <= 0)
            return got;
        got.append(chunk, qsizetype(count));
    }
}

}  // namespace serialtest
