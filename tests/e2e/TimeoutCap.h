#pragma once
#include "support/ForwardingCanLibrary.h"

#include <algorithm>

// A CAN library whose time-outs are capped. On a real bus every batch of a scan
// waits its full time-out for the absent nodes; capped, a scan of 127 nodes costs
// the test a fraction of the 8 x 500 ms.
class TimeoutCap final : public ForwardingCanLibrary {
public:
    TimeoutCap(std::unique_ptr<CanLibrary> library, int32_t capMs)
        : ForwardingCanLibrary(std::move(library)), capMs_(capMs) {}

    int32_t setTimeoutTime(int32_t milliseconds) override
    {
        return ForwardingCanLibrary::setTimeoutTime(std::min(milliseconds, capMs_));
    }
    int32_t connectClientToNet(const QString& hardware, const QString& net) override
    {
        const int32_t result = ForwardingCanLibrary::connectClientToNet(hardware, net);
        ForwardingCanLibrary::setTimeoutTime(capMs_);
        return result;
    }

private:
    int32_t capMs_;
};
