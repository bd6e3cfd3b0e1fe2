#pragma once
#include <QByteArray>
#include <cstdint>

// The serial line library through which every RS232 access passes: ports by COM
// number, one current port and device, blocking transfers with a reply time-out.
// Results: >= 0 success; rc::NoInterface (-3) a port that cannot be opened
// (missing, taken, not a terminal), rc::Timeout (-10) a receive that ran out of
// time, rc::Failed (-1) anything else (bad line settings, no current port, I/O).
class SerialLibrary {
public:
    static constexpr int32_t AllPorts = -1;
    static constexpr int32_t DefaultTimeoutMs = 5000;

    virtual ~SerialLibrary() = default;

    // parity: "n", "o" or "e"; any other text opens the port without parity.
    // The opened port becomes the current one.
    [[nodiscard]]
    virtual int32_t openPort(int32_t port, int32_t baud, const QByteArray& parity, int32_t dataBits,
                             int32_t stopBits, int32_t queueSize) = 0;
    // Closes one port, or every port with AllPorts.
    [[nodiscard]] virtual int32_t closePortEx(int32_t port) = 0;
    // Time a receive waits for the next bytes; > 0.
    [[nodiscard]] virtual int32_t setTimeout(int32_t milliseconds) = 0;
    [[nodiscard]] virtual int32_t selectPort(int32_t port) = 0;
    [[nodiscard]] virtual int32_t selectDevice(int32_t device) = 0;
    // Pauses the caller for `units` of the library's delay unit.
    virtual void delay(int32_t units) = 0;
    // Discards what the current port received; returns how many bytes that was.
    [[nodiscard]] virtual int32_t flushInQueue() = 0;
    // Sends `count` bytes on the current port; returns the count sent.
    [[nodiscard]] virtual int32_t writePortCount(const char* buffer, int32_t count) = 0;
    // Receives exactly `count` bytes; the time-out applies to each wait for more.
    [[nodiscard]] virtual int32_t readPort(char* buffer, int32_t count) = 0;
};
