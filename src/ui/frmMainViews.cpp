// The device views the main window opens: the bit mask window, the PDO window, the TEDS
// editor and the SDO terminal.
#include "core/Host.h"
#include "core/ResultCodes.h"
#include "device/TedsEditor.h"
#include "device/TedsOperations.h"
#include "transport/AppState.h"
#include "ui/bitmask/FrmBitMask.h"
#include "ui/frmMain.h"
#include "ui/pdo/frmPDO.h"
#include "ui/sdo/frmSDOTerm.h"

namespace {

const QString DeviceStatusPath = QStringLiteral("Measurement/StatusLong");

}  // namespace

void frmMain::showBitMask(const QString& path)
{
    OperationGuard::Scope operation(guard_);
    if (!operation)
        return;
    sigTimer_.stop();
    openBitMask(path);
    resumeMeasurement();
}

void frmMain::openBitMask(const QString& path)
{
    if (FrmBitMask_ && FrmBitMask_->shows(state_.CurrentDevice, path)) {
        FrmBitMask_->raise();
        FrmBitMask_->activateWindow();
        return;
    }
    // The window shown so far gives way to the new one only.
    const QPointer<FrmBitMask> before = FrmBitMask_;
    const int32_t result =
        FrmBitMask::ShowBitMask(state_, guard_, state_.CurrentDevice, path, false, this, FrmBitMask_);
    if (result < 0)
        ShowMessage(host(), QStringLiteral("Erreur '%1' lors de la lecture du masque binaire !").arg(result),
                    msg::Warning);
    else if (before && before != FrmBitMask_)
        before->CloseBitMask();
}

void frmMain::editTeds(const QString& text1, const QString& text2)
{
    OperationGuard::Scope operation(guard_);
    if (!operation || !currentConnected())
        return;
    sigTimer_.stop();
    Device_EditTEDS(state_, InstalledTedsEditors(), state_.CurrentDevice, parameters(), state_.core.TEDSEditorUserLevel,
                    text1, text2, &host());
    resumeMeasurement();
}

void frmMain::showPdoWindow() { frmPDO::ShowFor(state_, *this, pdoWindow_); }

void frmMain::showDeviceStatus()
{
    if (currentConnected())
        openBitMask(DeviceStatusPath);
    else
        ShowMessage(host(), QStringLiteral("Aucun appareil n'a été raccordé !"), msg::Warning);
}

void frmMain::showSdoTerminal()
{
    if (!frmSDOTerm_) {
        frmSDOTerm_ = new frmSDOTerm(state_, guard_, this);
        frmSDOTerm_->show();
    }
    frmSDOTerm_->raise();
    frmSDOTerm_->activateWindow();
}
