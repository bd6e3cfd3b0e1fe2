// The measurement of the main window: the tick, the device state display, the
// recording and the trend, and the double clicks of the measurement frame.
#include "core/Host.h"
#include "core/Log.h"
#include "core/Settings.h"
#include "transport/AppState.h"
#include "ui/WindowPlacement.h"
#include "ui/frmMain.h"
#include "ui/measure/MeasurementFrames.h"
#include "ui/grid/ParameterGrid.h"
#include "ui/measure/TrendChart.h"

#include <QAction>

namespace {

const QString TedsErrorPath = QStringLiteral("TEDS/TEDSErrorStatus");
const QString TrendKey = QStringLiteral("GUI/ShowTrend");
const QString TrendCommand = QStringLiteral("MENUITEM_TREND");
constexpr uint32_t TedsErrorFrom = 2;

}  // namespace

void frmMain::connectMeasurementFrames()
{
    MeasurementFrames* frames = measurementFrames_;
    connect(frames, &MeasurementFrames::signalChosen, this,
            [this](int16_t signal) { state_.core.StandardSignal = signal; });
    connect(frames, &MeasurementFrames::deviceStatusRequested, this,
            [this] { runCommand(QStringLiteral("MENUITEM_DEVSTATUS")); });
    connect(frames, &MeasurementFrames::recordingDoubleClicked, this, &frmMain::showRecording);
    connect(frames, &MeasurementFrames::tedsImageDoubleClicked, this, [this] { editTeds(); });
    connect(frames, &MeasurementFrames::tedsStateDoubleClicked, this, &frmMain::tedsStateDoubleClicked);
    QString shown;
    showTrend(AppConf_Find(state_.core, TrendKey, shown) && settingToBool(shown));
}

void frmMain::withTimerStopped(const std::function<void()>& handler)
{
    const DeviceOperation operation(*this);
    if (operation)
        handler();
}

void frmMain::StartMeasurement()
{
    measurement_.start();
    sigTimer_.setInterval(MeasureTickMs);
    measuring_ = true;
    measurementFrames_->showText({});
    sigTimer_.start();
}

bool frmMain::StopMeasurement()
{
    const bool was = measuring_;
    measuring_ = false;
    refreshDeviceState();
    if (recording())
        measurement_.setRecording(state_, false);
    return was;
}

void frmMain::SigTimer_Timer()
{
    OperationGuard::Scope operation(guard_);
    if (!operation)
        return;
    sigTimer_.stop();
    if (!measuring_)
        return;
    const TickOutcome outcome = measurement_.tick(state_);
    if (outcome.stopped) {
        measurementFrames_->showText({});
        StopMeasurement();
        // A device that its bus closed (a time-out, a port that went away) is shown as
        // gone: no grid and no device menu until it is chosen again.
        if (outcome.update || !currentConnected())
            Update();
        return;
    }
    measurementFrames_->paint(outcome.shown);
    if (outcome.linkLost) {
        refreshNodeStates();
        resumeMeasurement();
        return;
    }
    if (measurementFrames_->trend()->isVisible())
        measurementFrames_->trend()->addSample(outcome.shown);
    if (outcome.tedsChanged || outcome.recordingLost)
        refreshDeviceState();
    if (outcome.refreshRows)
        RefreshParameterValues();
    resumeMeasurement();
}

void frmMain::RefreshParameterValues() { fpSpreadParameters_->refreshPeriodicValues(); }

void frmMain::refreshDeviceState()
{
    DeviceStateView view;
    view.connected = currentConnected();
    view.measuring = measuring_;
    view.recordingPath = measurement_.recording().path();
    view.teds = measurement_.lastTeds();
    view.signal = state_.core.StandardSignal;
    measurementFrames_->showState(view);
}

void frmMain::tedsStateDoubleClicked()
{
    withTimerStopped([this] {
        const TedsState& teds = measurement_.lastTeds();
        if (teds.errorStatus >= TedsErrorFrom) {
            const int32_t result = openBitMask(TedsErrorPath);
            if (result < 0)
                ShowMessage(host(),
                            QStringLiteral("Erreur '%1' lors de l'affichage du masque binaire ").arg(result) +
                                TedsErrorPath + QStringLiteral("!"),
                            msg::Ok);
        } else if (teds.hasTeds != 0) {
            startTedsEditor();
        }
    });
}

void frmMain::toggleRecording()
{
    measurement_.setRecording(state_, command(QStringLiteral("MENUITEM_RECORDREADING"))->isChecked());
    refreshDeviceState();
}

void frmMain::showRecording()
{
    const QString path = measurement_.recording().path();
    if (!path.isEmpty() && !openInTextEditor(launchProgram, path))
        ShowMessage(host(), QStringLiteral("Le fichier '") + path + QStringLiteral("' n'a pas pu être ouvert !"),
                    msg::Warning);
}

void frmMain::showTrend(bool shown)
{
    TrendChart* trend = measurementFrames_->trend();
    trend->setVisible(shown);
    // The trend takes its room beside the window's own minimum, not out of the other frames,
    // as far as the screen has room.
    setMinimumHeight(TwipsToPixels(MinHeightTwips) + (shown ? trend->minimumHeight() : 0));
    KeepOnScreen(*this);
    if (QAction* item = command(TrendCommand))
        item->setChecked(shown);
}

void frmMain::toggleTrend()
{
    const bool shown = command(TrendCommand)->isChecked();
    showTrend(shown);
    if (!shown)
        measurementFrames_->trend()->clear();
    // Storing into a run without a settings file creates it first.
    int32_t stored = AppConf_SetValue(state_.core, TrendKey, boolToSetting(shown));
    if (stored == rc::MissingDocument)
        stored = AppConf_SetValue(state_.core, TrendKey, boolToSetting(shown));
    if (stored < 0 || AppConf_Save(state_.core) < 0)
        Log_Write(state_.core, QStringLiteral("toggleTrend(): ") + AppConf_FilePath(state_.core));
}
