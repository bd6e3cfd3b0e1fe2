// What the PDO window's buttons do to the device.
#include "core/Host.h"
#include "core/ResultCodes.h"
#include "device/DeviceAccess.h"
#include "model/ConfSet.h"
#include "model/Configuration.h"
#include "model/Descriptions.h"
#include "model/ValueText.h"
#include "transport/AppState.h"
#include "transport/can/CanTexts.h"
#include "transport/can/lib/CanLibrary.h"
#include "ui/Help.h"
#include "ui/WindowPlacement.h"
#include "ui/frmMain.h"
#include "ui/pdo/PdoObjects.h"
#include "ui/pdo/frmPDO.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

const QString Whole = QStringLiteral(".");

}  // namespace

void frmPDO::ShowFor(AppState& state, frmMain& main, QPointer<frmPDO>& window)
{
    const DeviceOperation operation(main);
    const int32_t current = state.CurrentDevice;
    if (!operation || current < 1 || current > state.DeviceCount || !state.Devices[current].Online ||
        state.Devices[current].InterfaceKind != CANBus)
        return;
    // A closed window may wait for its deletion until the operation that closed it ends.
    const bool opening = window.isNull() || window->closed_;
    if (opening)
        window = new frmPDO(state, main);
    window->Update();
    if (opening)
        RestoreWindowPlacement(state.core, *window, MinWidthTwips, MinHeightTwips);
    window->show();
    window->raise();
    window->activateWindow();
}

void frmPDO::applyMapping(bool send, int n)
{
    const DeviceOperation operation(main_);
    DeviceEntry* entry = device();
    if (!operation || !entry)
        return;
    const std::vector<PdoFrame>& frames = send ? send_ : recv_;
    const auto pdo = std::find_if(frames.begin(), frames.end(), [n](const PdoFrame& f) { return f.n == n; });
    XmlNode predefined;
    const QString known = send ? QStringLiteral("PDO/SendMappingsKnown/") : QStringLiteral("PDO/RecvMappingsKnown/");
    if (pdo == frames.end() || pdo->choice->currentIndex() < 0 ||
        Descr_FindNode(known + pdo->choice->currentData().toString(), Descr_OfDevice(state_.descriptions, *entry),
                       predefined) < 0)
        return;
    const int32_t result = PDO_WriteMapping(state_, state_.CurrentInterface, *entry,
                                            Conf_Parameters(state_.Configuration.get()), PDO_MappingPath(send, n),
                                            predefined, nullptr);
    if (result < 0) {
        const int32_t status = state_.buses.can ? state_.buses.can->getStatus() : 0;
        ShowMessage(*state_.core.host,
                    QStringLiteral("Erreur lors de la mise du PDO mapping : '") +
                        CAN_BusStatusText(result, status) + QStringLiteral("' (") + QString::number(result) +
                        QStringLiteral(")"),
                    msg::Error);
    }
    if ((entry = device()))
        showState(*entry);
}

void frmPDO::applyTransferMode(int n)
{
    const DeviceOperation operation(main_);
    DeviceEntry* entry = device();
    const auto pdo = std::find_if(sendParameters_.begin(), sendParameters_.end(),
                                  [n](const PdoFrame& f) { return f.n == n; });
    if (!operation || !entry || pdo == sendParameters_.end())
        return;
    const QString path = QStringLiteral("PDO/Mappings/SendParametersTransferMode") + QString::number(n);
    const XmlNode parameters = Conf_Parameters(state_.Configuration.get());
    const uint8_t mode = roundTo<uint8_t>(StrToDouble(pdo->mode->text()));
    if (Conf_SetByte(state_.core, Descr_OfDevice(state_.descriptions, *entry), parameters, path, mode) >= 0)
        // A refused write has shown its message and read the value back.
        static_cast<void>(DeviceSetValue(state_, state_.CurrentInterface, *entry, parameters, path, nullptr, false));
    if ((entry = device()))
        showState(*entry);
}

void frmPDO::executeAction(const QString& path)
{
    const DeviceOperation operation(main_);
    DeviceEntry* entry = device();
    if (!operation || !entry)
        return;
    const XmlNode parameters = Conf_Parameters(state_.Configuration.get());
    const int32_t result = Device_ExecuteAction(state_, state_.CurrentInterface, *entry, path, nullptr);
    if (result == rc::ReloadComplete) {
        readBackIntoConfiguration(state_, state_.CurrentInterface, *entry, parameters, Whole, nullptr);
    } else if (result < 0) {
        ShowMessage(*state_.core.host, QStringLiteral("Paramètre '") + path + QStringLiteral("' n'a pu être mis !"),
                    msg::Ok);
        if ((entry = device()))
            readBackIntoConfiguration(state_, state_.CurrentInterface, *entry, parameters, path, nullptr);
    }
    if ((entry = device()))
        showState(*entry);
}

// The main window's restart command: restart, reconnect (the whole configuration is
// read again) and refresh of every window, this one included.
void frmPDO::restart()
{
    if (device())
        main_.runCommand(QStringLiteral("MENUITEM_DEVRESTART"));
}

void frmPDO::help()
{
    XmlNode group;
    const DeviceEntry* entry = device();
    const Description* description = entry ? Descr_OfDevice(state_.descriptions, *entry) : nullptr;
    const int32_t topic = Descr_FindNode(QStringLiteral("PDO"), description, group) >= 0 ? Descr_GetHelpTopic(group) : 0;
    // A missing page has been told by the help itself.
    static_cast<void>(ShowHelp(state_.core, this, topic));
}
