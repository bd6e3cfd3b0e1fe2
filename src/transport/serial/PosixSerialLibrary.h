#pragma once
#include "transport/serial/PosixSerialPort.h"
#include "transport/serial/SerialLibrary.h"

#include <chrono>
#include <map>
#include <memory>

struct AppCore;

// The serial library over POSIX terminals. COM port numbers name device files as
// SerialPortPath says (the application settings can point them anywhere, a
// pseudo-terminal included). The line carries one amplifier and no device address,
// so selecting a device only checks that there is a port to talk on.
class PosixSerialLibrary : public SerialLibrary {
public:
    // One delay unit: 5000 units, the pause before a resynchronising flush, are half a second.
    static constexpr std::chrono::microseconds DefaultDelayUnit{100};

    explicit PosixSerialLibrary(const AppCore& app, std::chrono::microseconds delayUnit = DefaultDelayUnit);

    [[nodiscard]]
    int32_t openPort(int32_t port, int32_t baud, const QByteArray& parity, int32_t dataBits,
                     int32_t stopBits, int32_t queueSize) override;
    [[nodiscard]] int32_t closePortEx(int32_t port) override;
    [[nodiscard]] int32_t setTimeout(int32_t milliseconds) override;
    [[nodiscard]] int32_t selectPort(int32_t port) override;
    [[nodiscard]] int32_t selectDevice(int32_t device) override;
    void delay(int32_t units) override;
    [[nodiscard]] int32_t flushInQueue() override;
    [[nodiscard]] int32_t writePortCount(const char* buffer, int32_t count) override;
    [[nodiscard]] int32_t readPort(char* buffer, int32_t count) override;

private:
    PosixSerialPort* current() const;

    const AppCore& app_;
    std::chrono::microseconds delayUnit_;
    std::map<int32_t, std::unique_ptr<PosixSerialPort>> ports_;
    int32_t currentPort_ = 0;
    int32_t timeoutMs_ = DefaultTimeoutMs;
};
