#include "transport/serial/PosixSerialPort.h"

#include "core/ResultCodes.h"
#include "core/WaitPump.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

// Unix 98 pseudo-terminal slaves use majors 136 to 143.
bool isPseudoTerminal(int fd)
{
    struct stat info {};
    return fstat(fd, &info) == 0 && major(info.st_rdev) >= 136 && major(info.st_rdev) <= 143;
}

// A pseudo-terminal has no parity bit and may refuse to be asked for one; a real
// port keeps its settings or fails.
bool applyLine(int fd, const SerialLine& line)
{
    termios settings{};
    if (tcgetattr(fd, &settings) != 0 || !serialTermios(line, settings))
        return false;
    if (tcsetattr(fd, TCSANOW, &settings) == 0)
        return true;
    if (errno != EINVAL || !isPseudoTerminal(fd))
        return false;
    clearParity(settings);
    return tcsetattr(fd, TCSANOW, &settings) == 0;
}

}  // namespace

int32_t PosixSerialPort::open(const QString& path, const SerialLine& line,
                              std::unique_ptr<PosixSerialPort>& port)
{
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return rc::NoInterface;
    if (!isatty(fd) || ioctl(fd, TIOCEXCL) != 0) {
        ::close(fd);
        return rc::NoInterface;
    }
    port.reset(new PosixSerialPort(fd));
    if (!applyLine(fd, line)) {
        port.reset();
        return rc::Failed;
    }
    return rc::Ok;
}

PosixSerialPort::~PosixSerialPort()
{
    // Exclusive mode stays on the terminal after a close while another holder keeps
    // it open (the master side of a pseudo-terminal), which would lock out the next open.
    ioctl(fd_, TIOCNXCL);
    ::close(fd_);
}

int32_t PosixSerialPort::flushInput()
{
    int waiting = 0;
    if (ioctl(fd_, FIONREAD, &waiting) != 0 || tcflush(fd_, TCIFLUSH) != 0)
        return rc::Failed;
    return waiting;
}

bool PosixSerialPort::waitFor(short events, int timeoutMs) const
{
    const auto waitSlice = [&](int ms) {
        pollfd watch{fd_, events, 0};
        int ready = 0;
        do {
            ready = poll(&watch, 1, ms);
        } while (ready < 0 && errno == EINTR);
        return ready > 0;
    };
    return waitpump::sliced(timeoutMs, waitSlice);
}

int32_t PosixSerialPort::write(const char* buffer, int32_t count, int timeoutMs)
{
    int32_t sent = 0;
    while (sent < count) {
        const ssize_t done = ::write(fd_, buffer + sent, size_t(count - sent));
        if (done > 0)
            sent += int32_t(done);
        else if (done < 0 && errno != EAGAIN && errno != EINTR)
            return rc::Failed;
        else if (!waitFor(POLLOUT, timeoutMs))
            return rc::Timeout;
    }
    return sent;
}

int32_t PosixSerialPort::read(char* buffer, int32_t count, int timeoutMs)
{
    int32_t received = 0;
    while (received < count) {
        if (!waitFor(POLLIN, timeoutMs))
            return rc::Timeout;
        const ssize_t done = ::read(fd_, buffer + received, size_t(count - received));
        if (done > 0)
            received += int32_t(done);
        else if (done == 0 || (errno != EAGAIN && errno != EINTR))
            return rc::Failed;  // the other end hung up
    }
    return received;
}
