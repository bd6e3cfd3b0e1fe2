#pragma once
#include "transport/serial/SerialLine.h"

#include <QString>
#include <cstdint>
#include <memory>

// One open terminal device in raw mode, held exclusively while open.
class PosixSerialPort {
public:
    // rc::NoInterface when the device cannot be opened or is no terminal,
    // rc::Failed when it refuses the line settings.
    [[nodiscard]]
    static int32_t open(const QString& path, const SerialLine& line,
                        std::unique_ptr<PosixSerialPort>& port);
    ~PosixSerialPort();
    PosixSerialPort(const PosixSerialPort&) = delete;
    PosixSerialPort& operator=(const PosixSerialPort&) = delete;

    // Discards the received bytes; returns how many there were.
    [[nodiscard]] int32_t flushInput();
    [[nodiscard]] int32_t write(const char* buffer, int32_t count, int timeoutMs);
    // Exactly count bytes, or rc::Timeout when none come for timeoutMs.
    [[nodiscard]] int32_t read(char* buffer, int32_t count, int timeoutMs);

private:
    explicit PosixSerialPort(int fd) : fd_(fd) {}
    // Waits until the port can be read (POLLIN) or written (POLLOUT); false on time-out.
    bool waitFor(short events, int timeoutMs) const;

    int fd_;
};
