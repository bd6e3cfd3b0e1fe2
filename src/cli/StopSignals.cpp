#include "cli/StopSignals.h"

#include <csignal>

namespace {

volatile std::sig_atomic_t requested = 0;

void request(int)
{
    requested = 1;
}

}  // namespace

void stopOnSignals()
{
    struct sigaction action = {};
    action.sa_handler = request;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool stopRequested()
{
    return requested != 0;
}
