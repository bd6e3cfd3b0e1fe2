#include "measure/LinkRecovery.h"

#include "core/ResultCodes.h"

#include <algorithm>

bool LinkRecovery::lose(int32_t cause)
{
    cause_ = cause;
    if (lost_)
        return false;
    lost_ = true;
    pauseTicks_ = FirstPauseTicks;
    waitedTicks_ = 0;
    return true;
}

bool LinkRecovery::tryNow(bool heard)
{
    if (!lost_)
        return false;
    ++waitedTicks_;
    return heard || waitedTicks_ >= pauseTicks_;
}

void LinkRecovery::tryFailed()
{
    waitedTicks_ = 0;
    pauseTicks_ = std::min(pauseTicks_ * 2, LongestPauseTicks);
}

void LinkRecovery::back()
{
    lost_ = false;
    cause_ = 0;
}

bool isLinkLoss(int32_t result)
{
    return result == rc::CanTimeout || result == rc::CanBusGone;
}
