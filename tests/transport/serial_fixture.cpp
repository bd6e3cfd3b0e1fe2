#include "serial_fixture.h"

#include "core/ResultCodes.h"
#include "core/Settings.h"
#include "transport/serial/ComTransport.h"
#include "transport/serial/PosixSerialLibrary.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <utility>
#include <unistd.h>

namespace serialtest {

QByteArray frame(uint8_t command, uint16_t index, uint8_t sub, uint8_t status, uint32_t length,
                 const QByteArray& data)
{
    return SerialFrameHeader{command, index, sub, status, 0, length}.encode() + data;
}

SerialWorld::SerialWorld(const QString& path)
{
    AppConf_Create(state().core);
    EXPECT_EQ(AppConf_SetValue(state().core, QStringLiteral("SerialPorts/COM%1").arg(Port), path), rc::Ok);
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
    thread_ = std::thread([this] { serve(); });
}

ScriptedPeer::~ScriptedPeer()
{
    stop_ = true;
    thread_.join();
}

void ScriptedPeer::send(const QByteArray& bytes)
{
    ASSERT_EQ(::write(terminal_->master(), bytes.constData(), size_t(bytes.size())), bytes.size());
}

void ScriptedPeer::answer(const QByteArray& bytes)
{
    std::lock_guard lock(mutex_);
    answers_.push_back(bytes);
}

// A request arrives in one piece: whatever comes within a few milliseconds of its
// first byte belongs to it.
void ScriptedPeer::serve()
{
    int waitMs = 10;
    while (!stop_) {
        pollfd watch{terminal_->master(), POLLIN, 0};
        char chunk[512];
        const ssize_t count = poll(&watch, 1, waitMs) > 0 ? ::read(terminal_->master(), chunk, sizeof chunk) : 0;
        std::unique_lock lock(mutex_);
        if (count > 0) {
            received_.append(chunk, qsizetype(count));
            waitMs = 5;
            continue;
        }
        if (waitMs == 5 && !answers_.empty()) {
            const QByteArray reply = answers_.front();
            answers_.pop_front();
            lock.unlock();
            send(reply);
        }
        waitMs = 10;
        arrived_.notify_all();
        if (count < 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));  // no client on the line
    }
}

QByteArray ScriptedPeer::received(int atLeast)
{
    std::unique_lock lock(mutex_);
    arrived_.wait_for(lock, std::chrono::seconds(1), [&] { return received_.size() >= atLeast; });
    return std::exchange(received_, QByteArray());
}

}  // namespace serialtest
