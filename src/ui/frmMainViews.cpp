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
    withTimerStopped([this, &path] { openBitMaskOrSay(path); });
}

void frmMain::openBitMaskOrSay(const QString& path)
{
    const int32_t result = openBitMask(path);
    if (result < 0)
        ShowMessage(host(), QStringLiteral("Erreur '%1' lors de la lecture du masque binaire !").arg(result),
                    msg::Warning);
}

int32_t frmMain::openBitMask(const QString& path)
{
    // A closed window may wait for its deletion until the operation that closed it ends.
    if (FrmBitMask_ && FrmBitMask_->isVisible() && FrmBitMask_->shows(state_.CurrentDevice, path)) {
        FrmBitMask_->raise();
        FrmBitMask_->activateWindow();
        return rc::Ok;
    }
    // The window shown so far gives way to the new one only.
    const QPointer<FrmBitMask> before = FrmBitMask_;
    const int32_t result =
        FrmBitMask::ShowBitMask(state_, guard_, state_.CurrentDevice, path, false, this, FrmBitMask_);
    if (result >= 0 && before && before != FrmBitMask_)
        before->CloseBitMask();
    return result;
}

void frmMain::editTeds(const QString& text1, const QString& text2)
{
    withTimerStopped([&] { startTedsEditor(text1, text2); });
}

void frmMain::startTedsEditor(const QString& text1, const QString& text2)
{
    if (currentConnected())
        Device_EditTEDS(state_, InstalledTedsEditors(), state_.CurrentDevice, parameters(),
                        state_.core.TEDSEditorUserLevel, text1, text2, &host());
}

void frmMain::showPdoWindow() { frmPDO::ShowFor(state_, *this, pdoWindow_); }

void frmMain::showDeviceStatus()
{
    if (currentConnected())
        openBitMaskOrSay(DeviceStatusPath);
    else
        ShowMessage(host(), QStringLiteral("Aucun appareil n'a été raccordé !"), msg::Warning);
}

void frmMain::showSdoTerminal()
{
    if (!frmSDOTerm_ || !frmSDOTerm_->isVisible()) {
        frmSDOTerm_ = new frmSDOTerm(state_, guard_, this);
        frmSDOTerm_->show();
    }
    frmSDOTerm_->raise();
    frmSDOTerm_->activateWindow();
}
