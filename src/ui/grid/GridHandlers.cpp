// What the grid does on the user's edits, switches, buttons and clicks.
#include "ui/grid/ParameterGrid.h"

#include "core/Host.h"
#include "core/ResultCodes.h"
#include "device/DeviceAccess.h"
#include "device/DeviceContext.h"
#include "device/present/ParameterEdit.h"
#include "device/present/ValueEntry.h"
#include "model/ValueText.h"
#include "ui/Help.h"
#include "ui/OperationGuard.h"
#include "ui/grid/GridModel.h"

namespace {

// Stops the measurement timer while a grid operation works on the device.
class PausedTimer {
public:
    explicit PausedTimer(const GridHooks& hooks) : hooks_(hooks) { hooks_.pauseTimer(); }
    ~PausedTimer() { hooks_.resumeTimer(); }
    PausedTimer(const PausedTimer&) = delete;
    PausedTimer& operator=(const PausedTimer&) = delete;

private:
    const GridHooks& hooks_;
};

}  // namespace

void ParameterGrid::cellEdited(const QString& path, const QString& text)
{
    const int row = model_->rowOf(path);
    std::optional<DeviceContext> device = model_->device();
    XmlNode member = model_->member(row);
    if (!device || !member || model_->busy())
        return;
    OperationGuard::Scope operation(hooks_.guard);
    if (!operation)
        return;
    const PausedTimer paused(hooks_);
    // A text that is no date ends the edit with its message.
    if (model_->row(row).kind == ParameterKind::ValueDate && !enteredDateOrMessage(state_.core, text))
        return;
    showWriteResult(row, editValue(*device, member, path, text));
}

void ParameterGrid::toggleSwitch(const QString& path)
{
    const int row = model_->rowOf(path);
    std::optional<DeviceContext> device = model_->device();
    XmlNode member = model_->member(row);
    // A read-only switch only shows a state.
    if (!device || !member || model_->busy() || model_->row(row).cell != GridCell::Check || model_->row(row).readOnly)
        return;
    OperationGuard::Scope operation(hooks_.guard);
    if (!operation)
        return;
    const PausedTimer paused(hooks_);
    const QString flipped = boolToText(!model_->row(row).checked);
    showWriteResult(row, editValue(*device, member, path, flipped, path));
}

void ParameterGrid::showWriteResult(int row, int32_t result)
{
    // The edit has read back what the device holds (all of it after a reload).
    if (result == rc::Ok)
        model_->refreshRow(row);
    else
        state_.core.host->refreshAllWindows();
}

void ParameterGrid::clickButton(const QString& path)
{
    const int row = model_->rowOf(path);
    if (row < 0 || !model_->canRefresh() || model_->busy() || hooks_.guard.busy())
        return;
    const GridRow& clicked = model_->row(row);
    switch (clicked.kind) {
    case ParameterKind::ActionByte:
    case ParameterKind::ActionLong:
        runAction(row);
        return;
    case ParameterKind::BitMask:
        emit bitMaskRequested(path);
        return;
    default:
        break;
    }
    if (path == QLatin1String("PDO"))
        emit pdoWindowRequested();
    else if (path == QLatin1String("TEDS"))
        emit tedsEditorRequested();
    else
        ShowMessage(*state_.core.host,
                    QStringLiteral("Type de paramètre inconnu '") + clicked.kindName + QStringLiteral("'!"), msg::Ok);
}

void ParameterGrid::runAction(int row)
{
    OperationGuard::Scope operation(hooks_.guard);
    std::optional<DeviceContext> device = model_->device();
    if (!operation || !device)
        return;
    const PausedTimer paused(hooks_);
    const QString path = model_->row(row).path;
    Host* host = state_.core.host;
    const int32_t result = Device_ExecuteAction(state_, device->settings, device->entry, path, host);
    if (result == rc::ReloadComplete) {
        readBackIntoConfiguration(state_, device->settings, device->entry, device->parameters, QStringLiteral("."),
                                  host);
        host->refreshAllWindows();
    } else if (result != rc::Ok && result != rc::Created) {
        ShowMessage(*host, QStringLiteral("Paramètre '") + path + QStringLiteral("' n'a pu être mis !"), msg::Ok);
    }
}

void ParameterGrid::showRowHelp(const QString& path)
{
    const int row = model_->rowOf(path);
    if (row >= 0 && model_->row(row).helpTopic >= 0)
        ShowHelp(state_.core, window(), model_->row(row).helpTopic);
}

void ParameterGrid::rowClicked(const QModelIndex& index)
{
    const int row = model_->rowIndex(index);
    if (row < 0)
        return;
    if (state_.core.FollowingHelp)
        showRowHelp(model_->row(row).path);
    // A click on an edit cell or a list starts its edit.
    if (index.column() == gridcol::Value && (model_->flags(index) & Qt::ItemIsEditable))
        edit(index);
}
