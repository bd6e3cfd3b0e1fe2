#include "transport/serial/SerialLine.h"

#include <array>
#include <utility>

namespace {

bool speedOf(int32_t baud, speed_t& speed)
{
    static constexpr std::array<std::pair<int32_t, speed_t>, 13> speeds{{
        {300, B300}, {600, B600}, {1200, B1200}, {2400, B2400}, {4800, B4800}, {9600, B9600},
        {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200}, {230400, B230400},
        {460800, B460800}, {921600, B921600},
    }};
    for (const auto& [rate, value] : speeds) {
        if (rate == baud) {
            speed = value;
            return true;
        }
    }
    return false;
}

bool sizeOf(int32_t dataBits, tcflag_t& size)
{
    switch (dataBits) {
    case 5: size = CS5; return true;
    case 6: size = CS6; return true;
    case 7: size = CS7; return true;
    case 8: size = CS8; return true;
    default: return false;
    }
}

tcflag_t parityFlags(const QByteArray& parity)
{
    if (parity == "e")
        return PARENB;
    if (parity == "o")
        return PARENB | PARODD;
    return 0;
}

}  // namespace

bool serialTermios(const SerialLine& line, termios& settings)
{
    speed_t speed = B0;
    tcflag_t size = CS8;
    if (!speedOf(line.baud, speed) || !sizeOf(line.dataBits, size) ||
        (line.stopBits != 1 && line.stopBits != 2))
        return false;
    cfmakeraw(&settings);
    cfsetispeed(&settings, speed);
    cfsetospeed(&settings, speed);
    settings.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    settings.c_cflag |= size | parityFlags(line.parity) | CLOCAL | CREAD;
    if (line.stopBits == 2)
        settings.c_cflag |= CSTOPB;
    settings.c_iflag &= ~(IXON | IXOFF | IXANY);
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    return true;
}

void clearParity(termios& settings)
{
    settings.c_cflag &= ~(PARENB | PARODD);
}
