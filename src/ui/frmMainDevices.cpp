// The device list and the device choice of the main window.
#include "core/Host.h"
#include "core/xml/XmlDocument.h"
#include "device/DeviceContext.h"
#include "device/DeviceSession.h"
#include "model/Configuration.h"
#include "model/Descriptions.h"
#include "transport/AppState.h"
#include "ui/Icons.h"
#include "ui/MainTexts.h"
#include "ui/bitmask/FrmBitMask.h"
#include "ui/events/frmEmcy.h"
#include "ui/frmMain.h"
#include "ui/grid/ParameterGrid.h"
#include "ui/pdo/frmPDO.h"
#include "ui/sdo/frmSDOTerm.h"
#include "ui/measure/MeasurementFrames.h"
#include "ui/measure/TrendChart.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>

namespace {

const QString SerialKey = QStringLiteral("SerialNumber:");
const QString DigitalIOPath = QStringLiteral("DigitalIO/InputOutputLevel");

}  // namespace

XmlNode frmMain::parameters() const { return Conf_Parameters(state_.Configuration.get()); }

bool frmMain::currentConnected() const { return connectedCurrentDevice(state_) != nullptr; }

void frmMain::resumeMeasurement()
{
    if (measuring_)
        sigTimer_.start();
    else
        sigTimer_.stop();
}

void frmMain::Update()
{
    refreshInterfaceState();
    refreshDeviceState();
    if (QMenu* device = menus_.value(QStringLiteral("MENU_DEVICE")))
        device->setEnabled(state_.Configuration != nullptr && currentConnected());
    const Description* description =
        state_.CurrentDevice >= 1 ? Descr_OfDevice(state_.descriptions, state_.Devices[state_.CurrentDevice]) : nullptr;
    XmlNode node;
    measurementFrames_->digitalFrame()->setVisible(description != nullptr &&
                                                   Descr_FindNode(DigitalIOPath, description, node) >= 0);
    fpSpreadParameters_->refreshValues();
}

void frmMain::Global_Update()
{
    Update();
    // A closed window waiting for its deletion reads nothing more.
    if (FrmBitMask_ && FrmBitMask_->isVisible())
        FrmBitMask_->Update();
    if (pdoWindow_)
        pdoWindow_->Update();
    // The SDO terminal speaks CANopen only: an interface of another kind closes it.
    if (frmSDOTerm_ && state_.CurrentInterface.InterfaceType != CANBus)
        frmSDOTerm_->close();
}

void frmMain::CloseDeviceViews()
{
    if (pdoWindow_)
        pdoWindow_->CloseForm();
    if (FrmBitMask_)
        FrmBitMask_->CloseBitMask();
    if (emcyWindow_)
        emcyWindow_->close();
    StopMeasurement();
}

void frmMain::InitParameterGroup() { fpSpreadParameters_->InitParameterGroup(); }

void frmMain::refreshInterfaceState()
{
    LabelCurrentIfVal_->setText(InterfaceStateText(state_.CurrentInterface));
    imcmbDevices_->setEnabled(state_.DeviceCount >= 1);
    imcmbDevices_->clear();
    for (int32_t i = 1; i <= state_.DeviceCount; ++i) {
        const DeviceEntry& entry = state_.Devices[i];
        imcmbDevices_->addItem(Icon(DeviceKindImage(entry.InterfaceKind)), Device_GetLabel(entry),
                               SerialKey + entry.SerialNumber);
    }
    refreshNodeStates();
    showCurrentDevice();
}

void frmMain::showCurrentDevice()
{
    imcmbDevices_->setCurrentIndex(state_.CurrentDevice >= 1 ? state_.CurrentDevice - 1 : -1);
}

void frmMain::chooseDevice(int row)
{
    OperationGuard::Scope operation(guard_);
    // A choice that is not taken leaves the list showing the device still in use.
    if (!operation) {
        showCurrentDevice();
        return;
    }
    if (recording() &&
        ShowMessage(host(),
                    QStringLiteral("Le remplacement d'appareils termine l'enregistrement de valeurs mesurées en "
                                   "cours ! Continuer quand même ?"),
                    msg::Question) != msg::Yes) {
        showCurrentDevice();
        return;
    }
    if (recording())
        measurement_.setRecording(state_, false);
    sigTimer_.stop();
    host().processEvents();
    const QStringList key = imcmbDevices_->itemData(row).toString().split(QLatin1Char(':'));
    const int32_t chosen =
        key.size() > 1 ? Device_FindBySerial(state_.Devices, state_.DeviceCount, key[1]) : 0;
    if (chosen > 0) {
        disconnectCurrent();
        connectDevice(chosen);
        InitParameterGroup();
        Global_Update();
    } else {
        showCurrentDevice();
    }
    resumeMeasurement();
}

void frmMain::disconnectCurrent()
{
    const int32_t current = state_.CurrentDevice;
    CloseDeviceViews();
    if (current >= 1 && current <= state_.DeviceCount)
        // A refused store has been shown or logged by the disconnect itself.
        static_cast<void>(Device_Disconnect(state_, state_.CurrentInterface, state_.Devices[current], &host()));
    state_.CurrentDevice = 0;
}

bool frmMain::connectDevice(int32_t index)
{
    XmlNode loaded;
    const int32_t result = Device_Connect(state_, state_.CurrentInterface, state_.Devices[index], loaded, &host());
    // A bus that gave up on the device while its configuration was read has emptied
    // the table (after its message): then nothing is connected.
    const bool connected = result >= 0 && index <= state_.DeviceCount && state_.Devices[index].Online;
    state_.CurrentDevice = connected ? index : 0;
    // The trend shows one device's values only.
    measurementFrames_->trend()->clear();
    if (connected)
        StartMeasurement();
    return connected;
}
