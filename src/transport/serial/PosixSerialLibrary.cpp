#include "transport/serial/PosixSerialLibrary.h"

#include "core/ResultCodes.h"
#include "transport/serial/SerialPortPath.h"

#include <thread>

PosixSerialLibrary::PosixSerialLibrary(const AppCore& app, std::chrono::microseconds delayUnit)
    : app_(app), delayUnit_(delayUnit)
{
}

// The terminal driver buffers the line itself, so the queue size asks for nothing.
int32_t PosixSerialLibrary::openPort(int32_t port, int32_t baud, const QByteArray& parity, int32_t dataBits,
                                     int32_t stopBits, int32_t /*queueSize*/)
{
    ports_.erase(port);
    std::unique_ptr<PosixSerialPort> opened;
    const int32_t result = PosixSerialPort::open(SerialPortPath(app_, port),
                                                 SerialLine{baud, parity, dataBits, stopBits}, opened);
    if (result < 0)
        return result;
    ports_[port] = std::move(opened);
    currentPort_ = port;
    return rc::Ok;
}

int32_t PosixSerialLibrary::closePortEx(int32_t port)
{
    if (port == AllPorts)
        ports_.clear();
    else
        ports_.erase(port);
    return rc::Ok;
}

int32_t PosixSerialLibrary::setTimeout(int32_t milliseconds)
{
    if (milliseconds <= 0)
        return rc::Failed;
    timeoutMs_ = milliseconds;
    return rc::Ok;
}

int32_t PosixSerialLibrary::selectPort(int32_t port)
{
    if (!ports_.contains(port))
        return rc::Failed;
    currentPort_ = port;
    return rc::Ok;
}

int32_t PosixSerialLibrary::selectDevice(int32_t /*device*/)
{
    return current() ? rc::Ok : rc::Failed;
}

void PosixSerialLibrary::delay(int32_t units)
{
    std::this_thread::sleep_for(delayUnit_ * units);
}

int32_t PosixSerialLibrary::flushInQueue()
{
    PosixSerialPort* port = current();
    return port ? port->flushInput() : rc::Failed;
}

int32_t PosixSerialLibrary::writePortCount(const char* buffer, int32_t count)
{
    PosixSerialPort* port = current();
    return port ? port->write(buffer, count, timeoutMs_) : rc::Failed;
}

int32_t PosixSerialLibrary::readPort(char* buffer, int32_t count)
{
    PosixSerialPort* port = current();
    return port ? port->read(buffer, count, timeoutMs_) : rc::Failed;
}

PosixSerialPort* PosixSerialLibrary::current() const
{
    const auto found = ports_.find(currentPort_);
    return found == ports_.end() ? nullptr : found->second.get();
}
