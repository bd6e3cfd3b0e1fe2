#include "sim/can/ErrorControlProducer.h"

#include "transport/can/events/ErrorControl.h"

ErrorControlProducer::ErrorControlProducer(CanFrameBus& bus, uint8_t node, Source source)
    : bus_(bus), id_(uint16_t(errorcontrol::Base + node)), source_(std::move(source)), timer_(bus)
{
}

void ErrorControlProducer::bootUp()
{
    timer_.stop();
    if (source_.state())
        send(errorcontrol::BootUp);
    restartHeartbeat();
}

void ErrorControlProducer::restartHeartbeat()
{
    const int periodMs = source_.periodMs();
    if (periodMs > 0)
        timer_.start(periodMs, [this] { beat(); });
    else
        timer_.stop();
}

void ErrorControlProducer::stop()
{
    timer_.stop();
}

void ErrorControlProducer::beat()
{
    if (const std::optional<uint8_t> state = source_.state())
        send(*state);
    restartHeartbeat();
}

void ErrorControlProducer::send(uint8_t byte)
{
    bus_.send(CanFrame::make(id_, {byte}));
}
