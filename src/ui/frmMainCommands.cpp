// The command bar of the main window: its menus, their states, and the commands.
#include "core/Host.h"
#include "core/ResultCodes.h"
#include "core/Settings.h"
#include "core/xml/XmlFiles.h"
#include "device/DeviceAccess.h"
#include "device/DeviceSession.h"
#include "device/InterfaceSession.h"
#include "model/ConfCheck.h"
#include "model/Configuration.h"
#include "transport/AppState.h"
#include "transport/can/CanScan.h"
#include "ui/FileChoosers.h"
#include "ui/Help.h"
#include "ui/Icons.h"
#include "ui/MainCommands.h"
#include "ui/frmOptions.h"
#include "ui/frmMain.h"
#include "ui/grid/ParameterGrid.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QMenuBar>
#include <QWidget>

namespace {

constexpr int32_t OnlineHelpTopic = 2;
constexpr int32_t WhatToDoTopic = 9;
const QString Whole = QStringLiteral(".");

QString commandKey(const char* key) { return QLatin1String(key); }

}  // namespace

void frmMain::buildMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("Menubar"));
    bar->setWindowTitle(QStringLiteral("Menu "));
    for (const CommandDef& def : MainCommandTable()) {
        if (def.style == CommandStyle::Menu || def.style == CommandStyle::Separator)
            continue;
        auto* action = new QAction(Icon(QLatin1String(def.image)), def.caption, this);
        action->setObjectName(commandKey(def.key));
        action->setToolTip(def.toolTip.isEmpty() ? QString(def.caption).remove(QLatin1Char('&')) : def.toolTip);
        action->setCheckable(def.style == CommandStyle::Check);
        connect(action, &QAction::triggered, this, [this, key = commandKey(def.key)] { runCommand(key); });
        commands_.insert(action->objectName(), action);
    }
    for (const MenuDef& def : MainMenuTable()) {
        const CommandDef* heading = FindCommand(commandKey(def.key));
        // A menu bar shows a menu's icon instead of its caption: the captions stay.
        QMenu* menu = bar->addMenu(heading->caption);
        menu->setObjectName(commandKey(def.key));
        menu->setToolTipsVisible(true);
        for (const char* item : def.items) {
            if (commandKey(item) == QLatin1String(cmd::Separator))
                menu->addSeparator();
            else
                menu->addAction(commands_.value(commandKey(item)));
        }
        connect(menu, &QMenu::aboutToShow, this, &frmMain::updateMenuStates);
        menus_.insert(menu->objectName(), menu);
    }
    if (QMenu* device = menus_.value(QStringLiteral("MENU_DEVICE"))) {
        device->addSeparator();
        device->addMenu(nmtMenu_);
    }
    updateMenuStates();
}

void frmMain::updateMenuStates()
{
    const bool connected = currentConnected();
    const bool configured = state_.Configuration != nullptr;
    const bool can = state_.CurrentInterface.InterfaceType == CANBus;
    command(QStringLiteral("MENUITEM_READING"))->setEnabled(connected);
    command(QStringLiteral("MENUITEM_READING"))->setChecked(sigTimer_.isActive());
    command(QStringLiteral("MENUITEM_RECORDREADING"))->setEnabled(connected);
    command(QStringLiteral("MENUITEM_SAVECONFIG"))->setEnabled(configured);
    command(QStringLiteral("MENUITEM_LOADCONFIG"))->setEnabled(configured);
    command(QStringLiteral("MENUITEM_SETPREOPERATIONAL"))->setEnabled(can);
    command(QStringLiteral("MENUITEM_TERMINALSDO"))->setEnabled(can);
    nmtMenu_->menuAction()->setEnabled(can);
    menus_.value(QStringLiteral("MENU_DEVICE"))->setEnabled(configured && connected);
}

void frmMain::runCommand(const QString& key)
{
    OperationGuard::Scope operation(guard_);
    if (!operation)
        return;
    sigTimer_.stop();
    host().processEvents();
    dispatch(key);
    resumeMeasurement();
}

void frmMain::dispatch(const QString& key)
{
    if (key == QLatin1String("MENUITEM_EXIT"))
        unloadTimer_.start(UnloadDelayMs);
    else if (key == QLatin1String("MENUITEM_OPTIONS")) {
        frmOptions::run(state_.core, this);
        Global_Update();
    }
    else if (key == QLatin1String("MENUITEM_LOADCONFIG"))
        loadConfiguration();
    else if (key == QLatin1String("MENUITEM_SAVECONFIG"))
        saveConfiguration();
    else if (key == QLatin1String("MENUITEM_INTERFACECHOOSE"))
        chooseInterface();
    else if (key == QLatin1String("MENUITEM_DEVICESCAN"))
        scanDevices();
    else if (key == QLatin1String("MENUITEM_RELOAD") && currentConnected()) {
        readBackIntoConfiguration(state_, state_.CurrentInterface, state_.Devices[state_.CurrentDevice], parameters(),
                                  Whole, &host());
        Global_Update();
    } else if (key == QLatin1String("MENUITEM_DEVRESTART"))
        restartDevice();
    else if (key == QLatin1String("MENUITEM_DEVSTATUS"))
        showDeviceStatus();
    else if (key == QLatin1String("MENUITEM_TERMINALSDO"))
        showSdoTerminal();
    else if (key == QLatin1String("MENUITEM_SETPREOPERATIONAL"))
        CAN_SetPreOperational(state_);  // asks before it acts
    else if (key == QLatin1String("MENUITEM_READING"))
        toggleReading();
    else if (key == QLatin1String("MENUITEM_RECORDREADING"))
        toggleRecording();
    else if (key == QLatin1String("MENUITEM_TREND"))
        toggleTrend();
    else if (key == QLatin1String("MENUITEM_ABOUT"))
        ShowMessage(host(),
                    state_.core.AppTitle + QStringLiteral(":\r\nVersion : %1.%2 Release %3")
                                               .arg(QUELBRIN_VERSION_MAJOR)
                                               .arg(QUELBRIN_VERSION_MINOR)
                                               .arg(QUELBRIN_VERSION_REVISION),
                    msg::Ok);
    else if (key == QLatin1String("MENUITEM_ONLINEHELP"))
        ShowHelp(state_.core, this, OnlineHelpTopic);
    else if (key == QLatin1String("MENUITEM_WHATTODO"))
        ShowHelp(state_.core, this, WhatToDoTopic);
}

void frmMain::chooseInterface()
{
    if (chooser_ == nullptr)
        return;
    const int32_t found = Interface_SelectAndConnect(state_, state_.CurrentInterface, *chooser_, &host());
    if (found > 0)
        connectDevice(1);
    else if (found < 0)
        state_.CurrentDevice = 0;
    InitParameterGroup();
    Global_Update();
    focusFoundDevices();
}

void frmMain::focusFoundDevices()
{
    // The next step after finding devices is choosing one: the arrows then go through them.
    if (state_.DeviceCount >= 1)
        imcmbDevices_->setFocus();
}

void frmMain::scanDevices()
{
    disconnectCurrent();
    const int32_t found = Device_Scan(state_, state_.CurrentInterface, &host());
    if (found > 0) {
        connectDevice(1);
        InitParameterGroup();
        Global_Update();
    } else {
        fpSpreadParameters_->hide();
    }
    Update();
    focusFoundDevices();
}

void frmMain::restartDevice()
{
    if (!currentConnected())
        return;
    XmlNode reloaded;
    const int32_t current = state_.CurrentDevice;
    const int32_t result =
        Device_Restart(state_, state_.CurrentInterface, state_.Devices[current], reloaded, &host());
    if (result < 0 || current > state_.DeviceCount || !state_.Devices[current].Online)
        state_.CurrentDevice = 0;
    Global_Update();
}

void frmMain::toggleReading()
{
    if (command(QStringLiteral("MENUITEM_READING"))->isChecked())
        StartMeasurement();
    else
        StopMeasurement();
    refreshDeviceState();
}

QString frmMain::chooseConfigurationFile(bool save)
{
    return ChooseUserDataFile(this, state_.core,
                              save ? QStringLiteral("Sauvegarder la configuration de l'appareil")
                                   : QStringLiteral("Charger la configuration de l'appareil"),
                              {QStringLiteral("Configuration de l'appareil (*.xml)"),
                               QStringLiteral("Tous les fichiers (*.*)")},
                              QStringLiteral("xml"), save);
}

void frmMain::saveConfiguration()
{
    if (state_.Configuration == nullptr)
        return;
    const QString file = chooseConfigurationFile(true);
    if (!file.isEmpty() && Xml_Save(state_.Configuration.get(), file) < 0)
        ShowMessage(host(), QStringLiteral("Erreur lors de l'enregistrement du fichier '") + file + QStringLiteral("' !"),
                    msg::Warning);
}

void frmMain::loadConfiguration()
{
    const QString file = chooseConfigurationFile(false);
    if (file.isEmpty())
        return;
    const QString schema = state_.core.programFolder + QStringLiteral("/DevConf.xsd");
    std::unique_ptr<XmlDocument> loaded;
    if (Conf_LoadFile(host(), file, QFileInfo::exists(schema) ? schema : QString(), loaded) < 0)
        return;
    // Identity values of another family would be shown as this device's, its values written.
    if (currentConnected() &&
        !Conf_SuitsDescription(Conf_Parameters(loaded.get()),
                               Descr_OfDevice(state_.descriptions, state_.Devices[state_.CurrentDevice]))) {
        ShowMessage(host(),
                    '\'' + file + QStringLiteral("' est la configuration d'un autre type d'appareil que ") +
                        Device_GetLabel(state_.Devices[state_.CurrentDevice]) +
                        QStringLiteral(" : rien n'a été chargé !"),
                    msg::Error);
        return;
    }
    state_.Configuration = std::move(loaded);
    if (currentConnected()) {
        DeviceEntry& entry = state_.Devices[state_.CurrentDevice];
        if (DeviceSetValue(state_, state_.CurrentInterface, entry, parameters(), Whole, &host(), false) ==
            rc::ReloadComplete)
            readBackIntoConfiguration(state_, state_.CurrentInterface, entry, parameters(), Whole, &host());
    }
    Global_Update();
}
