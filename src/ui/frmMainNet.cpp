// What the main window hears on the CAN net: the devices' NMT states beside the device
// list, EMCYs in the status area, a reboot of the connected device, the NMT commands.
#include "core/Host.h"
#include "core/Log.h"
#include "device/DeviceAccess.h"
#include "transport/AppState.h"
#include "transport/ErrorText.h"
#include "transport/can/events/CanNetListener.h"
#include "transport/can/events/NetEventDigest.h"
#include "transport/can/events/NmtCommand.h"
#include "transport/can/lib/CanLibrary.h"
#include "ui/events/frmEmcy.h"
#include "ui/frmMain.h"
#include "ui/grid/ParameterGrid.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QMenu>
#include <QToolButton>

namespace {

constexpr int NetPollMs = 200;
constexpr int MaxLogLinesPerPoll = 20;
const QString Whole = QStringLiteral(".");

struct StateLook {
    NodeState state;
    const char* style;
};
// Background and text colours that read on light and dark themes alike.
constexpr StateLook StateLooks[] = {
    {NodeState::Operational, "background:#c8e6c9;color:#1b5e20;"},
    {NodeState::PreOperational, "background:#fff3c4;color:#6d4c00;"},
    {NodeState::Stopped, "background:#e0e0e0;color:#303030;"},
    {NodeState::Lost, "background:#ffcdd2;color:#8e0000;"},
};

QString styleOf(NodeState state)
{
    for (const StateLook& look : StateLooks)
        if (look.state == state)
            return QStringLiteral("QToolButton{%1border:1px solid palette(mid);padding:1px 6px;}")
                .arg(QLatin1String(look.style));
    return {};
}

QString nodeToolTip(const NodeStatus& status)
{
    QString tip = QStringLiteral("État NMT : %1").arg(nodeStateText(status.state));
    if (status.heartbeatPeriodMs > 0)
        tip += QStringLiteral("\nHeartbeat toutes les %1 ms").arg(status.heartbeatPeriodMs);
    if (status.bootUps > 0)
        tip += QStringLiteral("\nDémarrages entendus : %1").arg(status.bootUps);
    if (status.emcyCount > 0)
        tip += QStringLiteral("\nEMCY reçus : %1 (cliquer pour la liste)").arg(status.emcyCount);
    if (status.conflict)
        tip += QStringLiteral("\nAttention : deux appareils annoncent ce numéro de nœud !");
    return tip;
}

}  // namespace

void frmMain::buildNetWatch(QGridLayout* deviceGrid)
{
    cmdNodeState_ = new QToolButton(deviceGrid->parentWidget());
    cmdNodeState_->setObjectName(QStringLiteral("cmdNodeState"));
    cmdNodeState_->setAutoRaise(false);
    cmdNodeState_->hide();
    connect(cmdNodeState_, &QToolButton::clicked, this, &frmMain::showEmcyList);
    deviceGrid->addWidget(cmdNodeState_, 1, 2);

    nmtMenu_ = new QMenu(QStringLiteral("NMT"), this);
    nmtMenu_->setObjectName(QStringLiteral("MENU_NMT"));
    nmtMenu_->setToolTipsVisible(true);
    for (bool all : {false, true}) {
        if (all)
            nmtMenu_->addSeparator();
        for (const NmtCommand& nmt : nmtCommands()) {
            QAction* action = nmtMenu_->addAction(all ? nmt.allCaption : nmt.caption);
            action->setToolTip(all ? QStringLiteral("Commande NMT à tous les nœuds du réseau CAN")
                                   : QStringLiteral("Commande NMT à l'appareil choisi"));
            const uint8_t code = nmt.code;
            connect(action, &QAction::triggered, this, [this, code, all] { sendNmt(code, all); });
        }
    }
    nmtMenu_->addSeparator();
    QAction* emcy = nmtMenu_->addAction(QStringLiteral("Urgences (EMCY) de l'appareil..."));
    emcy->setToolTip(QStringLiteral("Les EMCY reçus de l'appareil et ses erreurs mémorisées (0x1003)"));
    connect(emcy, &QAction::triggered, this, &frmMain::showEmcyList);

    imcmbDevices_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(imcmbDevices_, &QComboBox::customContextMenuRequested, this, &frmMain::showDeviceListMenu);
    netTimer_.setObjectName(QStringLiteral("NetTimer"));
    connect(&netTimer_, &QTimer::timeout, this, &frmMain::pollNetEvents);
    netTimer_.start(NetPollMs);
}

void frmMain::showDeviceListMenu(const QPoint& at)
{
    if (state_.CurrentInterface.InterfaceType == CANBus && state_.buses.can)
        nmtMenu_->popup(imcmbDevices_->mapToGlobal(at));
}

void frmMain::pollNetEvents()
{
    if (state_.CurrentInterface.InterfaceType != CANBus || !state_.buses.can)
        return;
    CanNetListener* listener = state_.buses.canEvents();
    listener->checkSilence(state_.buses.can->busTimeMs());
    const NetEventDigest digest = digestNetEvents(listener->takeEvents(), MaxLogLinesPerPoll);
    for (const QString& line : digest.logLines)
        Log_Write(state_.core, QStringLiteral("CAN : ") + line);
    if (digest.lastEmcy)
        showStatusText(emcyStatusText(*digest.lastEmcy, digest.emcyCount));
    const DeviceEntry* current = connectedCurrentDevice(state_);
    if (current && digest.bootedNodes.count(uint8_t(current->NodeId)) && !measurement_.linkLost())
        rebootPending_ = true;
    if (rebootPending_)
        deviceRebooted();
    if (listener->changeCount() != netChanges_) {
        netChanges_ = listener->changeCount();
        refreshNodeStates();
        if (emcyWindow_)
            emcyWindow_->refreshHeard();
    }
}

void frmMain::refreshNodeStates()
{
    CanNetListener* listener =
        state_.CurrentInterface.InterfaceType == CANBus && state_.buses.can ? state_.buses.canEvents() : nullptr;
    for (int32_t i = 1; i <= state_.DeviceCount && i <= imcmbDevices_->count(); ++i) {
        const DeviceEntry& entry = state_.Devices[i];
        const auto status = listener ? listener->status(uint8_t(entry.NodeId)) : std::nullopt;
        const bool known = status && status->state != NodeState::Unknown;
        imcmbDevices_->setItemText(i - 1, known ? QStringLiteral("%1  [%2]").arg(Device_GetLabel(entry),
                                                                               nodeStateText(status->state))
                                                : Device_GetLabel(entry));
        imcmbDevices_->setItemData(i - 1, status ? nodeToolTip(*status) : QVariant(), Qt::ToolTipRole);
    }
    const DeviceEntry* current = connectedCurrentDevice(state_);
    const auto status = listener && current ? listener->status(uint8_t(current->NodeId)) : std::nullopt;
    cmdNodeState_->setVisible(status && (status->state != NodeState::Unknown || status->emcyCount > 0));
    if (!status)
        return;
    cmdNodeState_->setText(status->emcyCount > 0
                               ? QStringLiteral("%1 · %2 EMCY").arg(nodeStateText(status->state)).arg(status->emcyCount)
                               : nodeStateText(status->state));
    cmdNodeState_->setStyleSheet(styleOf(status->state));
    cmdNodeState_->setToolTip(nodeToolTip(*status));
}

void frmMain::deviceRebooted()
{
    const DeviceOperation operation(*this);
    if (!operation)
        return;   // another operation runs: the next poll tries again
    rebootPending_ = false;
    DeviceEntry* current = connectedCurrentDevice(state_);
    if (!current)
        return;
    const QString label = Device_GetLabel(*current);
    if (fpSpreadParameters_->editing() &&
        ShowMessage(host(),
                    QStringLiteral("L'appareil %1 a redémarré : ses réglages peuvent différer de la grille.\r\n"
                                   "Relire sa configuration et abandonner la saisie en cours ?")
                        .arg(label),
                    msg::Question) != msg::Yes) {
        showStatusText(QStringLiteral("L'appareil %1 a redémarré : la grille n'a pas été relue.").arg(label));
        return;
    }
    const QString said = QStringLiteral("L'appareil %1 a redémarré : sa configuration a été relue.").arg(label);
    readBackIntoConfiguration(state_, state_.CurrentInterface, *current, parameters(), Whole, &host());
    Log_Write(state_.core, said);
    Global_Update();
    showStatusText(said);
}

void frmMain::sendNmt(uint8_t code, bool allNodes)
{
    const DeviceOperation operation(*this);
    const DeviceEntry* current = connectedCurrentDevice(state_);
    if (!operation || !state_.buses.can || (!allNodes && !current))
        return;
    const NmtCommand* nmt = nullptr;
    for (const NmtCommand& candidate : nmtCommands())
        if (candidate.code == code)
            nmt = &candidate;
    const QString label = allNodes ? QString() : Device_GetLabel(*current);
    if (nmt->asks && ShowMessage(host(), nmtQuestion(*nmt, label), msg::Question) != msg::Yes)
        return;
    const int32_t result = state_.buses.can->sendNmt(code, allNodes ? 0 : uint8_t(current->NodeId));
    const QString target = allNodes ? QStringLiteral("tous les nœuds") : label;
    const QString said = result < 0 ? QStringLiteral("Commande NMT '%1' non envoyée à %2 : %3")
                                          .arg(QLatin1String(nmt->name), target, resultCodeText(result))
                                    : QStringLiteral("Commande NMT '%1' envoyée à %2.").arg(QLatin1String(nmt->name), target);
    Log_Write(state_.core, said);
    showStatusText(said);
}

void frmMain::showEmcyList()
{
    const DeviceOperation operation(*this);
    if (!operation || !connectedCurrentDevice(state_) || state_.CurrentInterface.InterfaceType != CANBus)
        return;
    if (!emcyWindow_) {
        emcyWindow_ = new frmEmcy(state_, state_.CurrentDevice, this);
        emcyWindow_->setAttribute(Qt::WA_DeleteOnClose);
    } else {
        emcyWindow_->Update();
    }
    emcyWindow_->show();
    emcyWindow_->raise();
    emcyWindow_->activateWindow();
}
