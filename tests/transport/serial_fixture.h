#pragma once
#include "support/Bytes.h"
#include "support/QStringPrint.h"
#include "sim/serial/PseudoTerminal.h"
#include "support/TestFolder.h"
#include "transport/serial/SerialFrame.h"

#include <QByteArray>
#include <QString>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <ostream>
#include <thread>

namespace serialtest {

// Tests run the library with a short delay unit: the 5000-unit settling pause
// of every open lasts 5 ms.
constexpr std::chrono::microseconds DelayUnit{1};
constexpr int16_t Port = 3;
// Short enough for tests that wait for a reply that never comes.
constexpr int32_t ShortTimeoutMs = 100;

QByteArray frame(uint8_t command, uint16_t index, uint8_t sub, uint8_t status, uint32_t length,
                 const QByteArray& data = {});

// An application state whose current interface is RS232 on COM3, with COM3
// pointing at `path` in the settings and the POSIX library installed.
class SerialWorld {
public:
    explicit SerialWorld(const QString& path);
    AppState& state() { return folder.state; }
    ScriptedHost& host() { return folder.host; }
    int32_t open();

    TestFolder folder;
};

// The far end of a line, played by the test from its own thread: it answers each
// request with the next scripted reply and keeps what the client sent.
class ScriptedPeer {
public:
    ScriptedPeer();
    ~ScriptedPeer();
    QString path() const { return terminal_->slavePath(); }
    // Written at once, before the client asks.
    void send(const QByteArray& bytes);
    // Written as soon as the client's next request has arrived.
    void answer(const QByteArray& bytes);
    // What the client sent since the last call: at least `atLeast` bytes (waiting up
    // to a second for them) and whatever follows at once.
    QByteArray received(int atLeast);

private:
    void serve();

    std::unique_ptr<PseudoTerminal> terminal_;
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<QByteArray> answers_;
    QByteArray received_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace serialtest

