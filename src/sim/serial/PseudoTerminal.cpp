#include "sim/serial/PseudoTerminal.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

std::unique_ptr<PseudoTerminal> PseudoTerminal::open(QString* reason)
{
    int master = -1;
    int slave = -1;
    termios raw{};
    cfmakeraw(&raw);
    if (openpty(&master, &slave, nullptr, &raw, nullptr) != 0) {
        if (reason)
            *reason = QString::fromLocal8Bit(std::strerror(errno));
        return nullptr;
    }
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    fcntl(master, F_SETFD, FD_CLOEXEC);
    fcntl(slave, F_SETFD, FD_CLOEXEC);
    char path[128] = {};
    ttyname_r(slave, path, sizeof path);
    return std::unique_ptr<PseudoTerminal>(new PseudoTerminal(master, slave, QString::fromLocal8Bit(path)));
}

PseudoTerminal::~PseudoTerminal()
{
    ::close(slave_);
    ::close(master_);
}
