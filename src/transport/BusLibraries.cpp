#include "transport/BusLibraries.h"

#include "transport/can/events/CanNetListener.h"
#include "transport/can/lib/CanLibrary.h"
#include "transport/devicenet/DeviceNetLibrary.h"
#include "transport/profibus/ProfibusLibrary.h"
#include "transport/serial/SerialLibrary.h"

BusLibraries::BusLibraries() = default;
BusLibraries::~BusLibraries()
{
    if (canEvents_ && canEventsOf_ != can.get())
        canEvents_->forgetDispatcher();
}

CanNetListener* BusLibraries::canEvents()
{
    if (canEventsOf_ != can.get()) {
        // The library it listened to is gone, and its dispatcher with it.
        if (canEvents_)
            canEvents_->forgetDispatcher();
        canEvents_ = can ? std::make_unique<CanNetListener>(can->frames()) : nullptr;
        canEventsOf_ = can.get();
    }
    return canEvents_.get();
}
