#include "measure/RecoveringTick.h"

#include "core/Host.h"
#include "core/Log.h"
#include "device/DeviceAccess.h"
#include "device/DeviceContext.h"
#include "transport/can/CanTexts.h"
#include "transport/can/events/CanNetListener.h"
#include "transport/can/lib/CanLibrary.h"

namespace {

const QString StatusLongPath = QStringLiteral("Measurement/StatusLong");
const QString NoValue = QStringLiteral("—");

CanNetListener* listenerOf(DeviceContext& d)
{
    return d.settings.InterfaceType == CANBus && d.state.buses.can ? d.state.buses.canEvents() : nullptr;
}

std::optional<NodeStatus> nodeStatus(DeviceContext& d)
{
    CanNetListener* listener = listenerOf(d);
    return listener ? listener->status(uint8_t(d.entry.NodeId)) : std::nullopt;
}

void say(DeviceContext& d, const QString& text)
{
    d.state.core.host->setStatusText(text);
    Log_Write(d.state.core, text);
}

// While the link is gone: no value, every lamp off.
RecoveringTick::Outcome lostOutcome(int32_t cause)
{
    RecoveringTick::Outcome outcome;
    outcome.link = RecoveringTick::Link::Lost;
    outcome.shown.result = cause < 0 ? cause : rc::CanTimeout;
    outcome.shown.text = NoValue;
    outcome.shown.value = ErrorSample;
    outcome.shown.lamps = lampsFor(0, 0, 0);
    return outcome;
}

QString causeText(int32_t cause)
{
    switch (cause) {
    case LinkRecovery::HeartbeatLost: return QStringLiteral("heartbeat perdu");
    case rc::CanBusGone: return canBusGoneText();
    default: return QStringLiteral("aucune réponse");
    }
}

}  // namespace

QString linkLostText(const QString& device, int32_t cause)
{
    return QStringLiteral("L'appareil %1 ne répond plus (%2). Nouvel essai en arrière-plan...")
        .arg(device, causeText(cause));
}

QString linkBackText(const QString& device, bool rebooted)
{
    return rebooted ? QStringLiteral("L'appareil %1 a redémarré : sa configuration a été relue.").arg(device)
                    : QStringLiteral("L'appareil %1 répond de nouveau : sa configuration a été relue.").arg(device);
}

RecoveringTick::Outcome RecoveringTick::tick(DeviceContext& d)
{
    if (recovery_.lost())
        return retry(d);
    // A node whose heartbeats stopped is not worth a time-out.
    if (auto status = nodeStatus(d); status && status->state == NodeState::Lost)
        return lose(d, LinkRecovery::HeartbeatLost);
    Outcome outcome;
    outcome.shown = measureTick(d);
    if (outcome.shown.result < 0 && listenerOf(d) && isLinkLoss(outcome.shown.result))
        return lose(d, outcome.shown.result);
    return outcome;
}

RecoveringTick::Outcome RecoveringTick::lose(DeviceContext& d, int32_t cause)
{
    Outcome outcome = lostOutcome(cause);
    const auto status = nodeStatus(d);
    heardAtLoss_ = status ? status->lastHeardMs : -1;
    bootUpsAtLoss_ = status ? status->bootUps : 0;
    if (!recovery_.lose(cause))
        return outcome;
    if (CanNetListener* listener = listenerOf(d))
        listener->markLost(uint8_t(d.entry.NodeId), d.state.buses.can->busTimeMs());
    outcome.said = linkLostText(Device_GetLabel(d.entry), cause);
    say(d, outcome.said);
    return outcome;
}

RecoveringTick::Outcome RecoveringTick::retry(DeviceContext& d)
{
    const auto status = nodeStatus(d);
    const bool heard = status && status->lastHeardMs > heardAtLoss_;
    if (!recovery_.tryNow(heard) || !probe(d)) {
        if (recovery_.lost() && heard)
            heardAtLoss_ = status->lastHeardMs;
        return lostOutcome(recovery_.cause());
    }
    const auto now = nodeStatus(d);
    const bool rebooted = now && now->bootUps > bootUpsAtLoss_;
    recovery_.back();
    listenerOf(d)->markAnswering(uint8_t(d.entry.NodeId), d.state.buses.can->busTimeMs());
    Host& host = *d.state.core.host;
    readBackIntoConfiguration(d.state, d.settings, d.entry, d.parameters, QStringLiteral("."), &host);
    host.refreshAllWindows();
    Outcome outcome = tick(d);
    if (outcome.link == Link::Up) {
        outcome.link = Link::Back;
        outcome.rebooted = rebooted;
        outcome.said = linkBackText(Device_GetLabel(d.entry), rebooted);
        say(d, outcome.said);
    }
    return outcome;
}

// One short read: the bus opened again when it was gone, the device asked for its status.
bool RecoveringTick::probe(DeviceContext& d)
{
    CanLibrary& can = *d.state.buses.can;
    const int32_t status = can.getStatus();
    if (recovery_.cause() == rc::CanBusGone || status < 0 || (status & canstatus::BusOff))
        static_cast<void>(can.resetCan());
    static_cast<void>(can.setTimeoutTime(ProbeTimeoutMs));
    int32_t statusLong = 0;
    const int32_t result = Device_GetLong(d.state, d.settings, d.entry, StatusLongPath, statusLong);
    static_cast<void>(can.setTimeoutTime(CanLibrary::DefaultTimeoutMs));
    if (result >= 0)
        return true;
    recovery_.tryFailed();
    return false;
}
