#include "measure/Measurement.h"

#include "core/Host.h"
#include "device/DeviceAccess.h"
#include "device/DeviceContext.h"
#include "model/Configuration.h"
#include "transport/AppState.h"
#include "transport/can/CanTexts.h"
#include "transport/can/lib/CanLibrary.h"

#include <algorithm>

namespace {

// A recording file that could not be written; what was written so far stays.
void showUnwritten(Host& host, const QString& path)
{
    ShowMessage(host, QStringLiteral("Erreur lors de l'enregistrement du fichier '") + path + QStringLiteral("' !"),
                msg::Warning);
}

constexpr double TickSeconds = MeasureTickMs / 1000.0;

DeviceContext currentContext(AppState& state, DeviceEntry& entry)
{
    return {state, state.CurrentInterface, entry, Conf_Parameters(state.Configuration.get())};
}

// A CAN bus in trouble names its state in the status panel; a sound bus leaves it.
// A negative answer is a library result, not status bits.
void showCanStatus(AppState& state)
{
    if (state.CurrentInterface.InterfaceType != CANBus || !state.buses.can)
        return;
    if (const int32_t status = state.buses.can->getStatus(); status != 0)
        state.core.host->setStatusText(CAN_BusStatusText(std::min(status, 0), std::max(status, 0)));
}

}  // namespace

DeviceEntry* connectedCurrentDevice(AppState& state)
{
    const int32_t current = state.CurrentDevice;
    if (current < 1 || current > state.DeviceCount || !state.Devices[current].Online)
        return nullptr;
    return &state.Devices[current];
}

TickOutcome Measurement::tick(AppState& state)
{
    TickOutcome outcome;
    DeviceEntry* entry = connectedCurrentDevice(state);
    if (!entry) {
        ShowMessage(*state.core.host, QStringLiteral("Appareil non raccordé !\r\nLa mesure est arrêtée !"), msg::Error);
        outcome.stopped = true;
        return outcome;
    }
    DeviceContext device = currentContext(state, *entry);
    const RecoveringTick::Outcome live = link_.tick(device);
    outcome.shown = live.shown;
    outcome.linkLost = live.link == RecoveringTick::Link::Lost;
    time_ += TickSeconds;
    recording_.advance(TickSeconds);
    if (outcome.linkLost) {
        // The first tick of a gap records the error sample, the following ones nothing.
        if (!live.said.isEmpty())
            appendSample(state, outcome);
        return outcome;
    }
    if (outcome.shown.result < 0) {
        outcome.stopped = true;
        return outcome;
    }
    appendSample(state, outcome);
    showCanStatus(state);
    readTeds(state, device, outcome);
    return outcome;
}

void Measurement::appendSample(AppState& state, TickOutcome& outcome)
{
    if (const QString path = recording_.path(); !recording_.append(outcome.shown.value, outcome.shown.format)) {
        showUnwritten(*state.core.host, path);
        outcome.recordingLost = true;
    }
}

void Measurement::readTeds(AppState& state, DeviceContext& device, TickOutcome& outcome)
{
    TedsState teds;
    if (const int32_t result = readTedsState(device, teds); result < 0) {
        // A link that went now is for the next tick to find.
        outcome.stopped = !(device.settings.InterfaceType == CANBus && isLinkLoss(result));
        // A presence that could not be read also refreshes the whole window.
        outcome.update = teds.hasTeds == 0;
        return;
    }
    if (teds.active != lastTeds_.active || teds.errorStatus != lastTeds_.errorStatus) {
        lastTeds_.active = teds.active;
        lastTeds_.errorStatus = teds.errorStatus;
        outcome.tedsChanged = true;
    }
    if (teds.hasTeds == lastTeds_.hasTeds) {
        outcome.refreshRows = true;
        return;
    }
    lastTeds_.hasTeds = teds.hasTeds;
    Host& host = *state.core.host;
    host.setStatusText(QStringLiteral("Lire l'appareil..."));
    readBackIntoConfiguration(state, device.settings, device.entry, device.parameters, QStringLiteral("."), &host);
    host.setStatusText(QString());
    host.refreshAllWindows();
    outcome.reloaded = true;
}

bool Measurement::setRecording(AppState& state, bool on)
{
    Host& host = *state.core.host;
    const BusyPointer busy(host);
    bool started = false;
    // A file that cannot be written is named; the samples stay in the ".tmp".
    QString unwritten;
    if (!on) {
        unwritten = recording_.stop(host);
    } else if (DeviceEntry* entry = connectedCurrentDevice(state)) {
        const RecordingSource source = recordingSource(currentContext(state, *entry));
        const QDateTime now = QDateTime::currentDateTime();
        const QString path = recordingFileName(state.core.RecordingFilePath, source, now);
        started = recording_.start(path, source, now);
        if (!started)
            unwritten = path;
    }
    if (!unwritten.isEmpty())
        showUnwritten(host, unwritten);
    host.setStatusText(QString());
    return started;
}
