#pragma once
#include "support/QStringPrint.h"
#include "sim/serial/PseudoTerminal.h"
#include "support/TestFolder.h"
#include "transport/serial/SerialFrame.h"

#include <QByteArray>
#include <QString>
#include <chrono>
#include <initializer_list>
#include <memory>
#include <ostream>

namespace serialtest {

// Tests run the library with a short delay unit: the 5000-unit settling pause
// of every open lasts 5 ms.
constexpr std::chrono::microseconds DelayUnit{1};
constexpr int16_t Port = 3;
// Short enough for tests that wait for a reply that never comes.
constexpr int32_t ShortTimeoutMs = 100;

QByteArray bytes(std::initializer_list<int> values);
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

// The far end of a line, played by the test: what it sends is written before the
// client asks, and what the client sent is read afterwards.
class ScriptedPeer {
public:
    ScriptedPeer();
    QString path() const { return terminal_->slavePath(); }
    void send(const QByteArray& bytes);
    // What the client sent: at least `atLeast` bytes (waiting up to a second for
    // them) and whatever follows at once.
    QByteArray received(int atLeast);

private:
    std::unique_ptr<PseudoTerminal> terminal_;
};

}  // namespace serialtest

