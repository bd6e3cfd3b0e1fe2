#include "sim/can/SimClock.h"

#include <QElapsedTimer>
#include <memory>

std::function<int64_t()> elapsedTimeSource()
{
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    return [timer] { return timer->elapsed(); };
}
