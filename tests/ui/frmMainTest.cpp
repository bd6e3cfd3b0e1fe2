// The main window against the simulated buses: first activation, the device list,
// the device choice, the menu states, the commands and the operation guard.
#include "device/device_fixture.h"

#include "core/Host.h"
#include "core/Settings.h"
#include "device/CanSetup.h"
#include "device/InterfaceSession.h"
#include "device/DeviceSession.h"
#include "sim/devicenet/SimDeviceNetMaster.h"
#include "transport/InterfaceManager.h"
#include "ui/MainTexts.h"
#include "ui/bitmask/FrmBitMask.h"
#include "ui/frmMain.h"
#include "ui/sdo/frmSDOTerm.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QTimer>

namespace devicetest {
namespace {

const QString NotConnected = QStringLiteral("Non raccordé");
const QString SimulationText = QStringLiteral("Hardware: Simulation\r\nRéseau :Démo (1000 kBaud) ");

// The interface selection answered by the test: the same choice every time.
class ScriptedChooser : public InterfaceChooser {
public:
    std::optional<InterfaceChoice> choose(const InterfaceChoice&) override
    {
        ++asked;
        return choice;
    }
    std::optional<InterfaceChoice> choice =
        InterfaceChoice{CANBus, SimulationHardware, DemoNet, DemoNetKbit, 0, 0};
    int asked = 0;
};

// A world of one kind with the main window on it (not shown: the test activates it).
struct MainWorld {
    explicit MainWorld(int32_t kind = CANBus, const std::vector<SimRackEntry>& rack = demoRack())
        : world(kind, rack), window(world.state(), &chooser)
    {
    }
    template <typename T>
    T* find(const char* name) const { return window.findChild<T*>(QLatin1String(name)); }
    QString text(const char* name) const { return find<QLabel>(name)->text(); }
    QComboBox* devices() const { return find<QComboBox>("imcmbDevices"); }
    AppState& state() { return world.state(); }

    DeviceWorld world;
    ScriptedChooser chooser;
    frmMain window;
};

TEST(MainTexts, CaptionAndInterfaceState)
{
    EXPECT_EQ(MainCaption("Assistant Quelbrin", 2, 6, 500), "Assistant Quelbrin Version 2.6 Release 5");
    EXPECT_EQ(MainCaption("Assistant Quelbrin", 2, 6, 501), "Assistant Quelbrin Version 2.6 Release 5.01 Prerelease ");
    const struct {
        int32_t kind;
        const char* text;
        const char* image;
    } cases[] = {
        {NoInterfaceKind, "Aucune sélectionnée", ""},
        {CANBus, "Hardware: HW\r\nRéseau :Net (250 kBaud) ", "IMG_CAN"},
        {PROFIBUS, "Maître PROFIBUS Hilscher  PROFIBUS (Carte3)", "IMG_PROFIBUS"},
        {3, "Type d'interface inconnu !", "IMG_DISCONNECT"},
        {RS232, "RS232\r\nCOM7 (9600 Baud, 8, even, 1)", "IMG_RS232"},
        {DeviceNet, "DeviceNet\r\n125kBaud", "IMG_DEVICENET"},
        {9, "Type d'interface inconnu !", ""},
    };
    for (const auto& c : cases) {
        InterfaceSettings settings;
        settings.InterfaceType = c.kind;
        settings.HWName = "HW";
        settings.BusName = "Net";
        settings.BaudRate = 250;
        settings.PType = 10;
        settings.Devno = 3;
        settings.ComPort = 7;
        settings.DeviceNetBaud = 2;
        EXPECT_EQ(InterfaceStateText(settings), QString::fromUtf8(c.text)) << c.kind;
        EXPECT_EQ(DeviceKindImage(c.kind), QString::fromUtf8(c.image)) << c.kind;
    }
}

TEST(frmMain, FirstActivationConnectsTheStandardInterfaceOrAsksForOne)
{
    const struct {
        const char* name;
        int32_t standardKind;
        const char* net;
        int chooserAsked;
        int32_t devices;     // in the table afterwards
        const char* message; // the connect's failure, or null
        const char* focused; // the first control of the Tab order afterwards
    } cases[] = {
        {"present", CANBus, "Démo", 0, 0, nullptr, "ComboMeasSignal"},
        {"absent", NoInterfaceKind, "", 1, 3, nullptr, "imcmbDevices"},
        {"failing", CANBus, "Nulle part", 1, 3,
         "Erreur-16510 lors de la connexion : 'Matériel 'Simulation' ou réseau 'Nulle part' n'existe pas !'",
         "imcmbDevices"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MainWorld w;
        Interface_CloseBus(w.state(), w.world.settings());
        w.state().CurrentInterface = {};
        w.state().StandardInterface.InterfaceType = c.standardKind;
        w.state().StandardInterface.HWName = SimulationHardware;
        w.state().StandardInterface.BusName = QString::fromUtf8(c.net);
        w.window.show();
        QApplication::setActiveWindow(&w.window);
        w.window.activate();
        EXPECT_EQ(w.chooser.asked, c.chooserAsked);
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), c.focused);
        EXPECT_TRUE(w.state().CurrentInterface.Connected);
        EXPECT_EQ(w.text("LabelCurrentIfVal"), SimulationText);
        EXPECT_EQ(w.state().DeviceCount, c.devices);
        EXPECT_EQ(w.state().CurrentDevice, 0);
        EXPECT_EQ(w.devices()->currentIndex(), -1);
        EXPECT_EQ(w.world.host().texts(), c.message ? QStringList{QString::fromUtf8(c.message)} : QStringList{});
        EXPECT_TRUE(w.window.isEnabled());
        w.window.activate();  // only the first activation connects
        EXPECT_EQ(w.chooser.asked, c.chooserAsked);
        // Devices found by a command leave the keyboard on the device list, not on the signal.
        for (const char* command : {"MENUITEM_DEVICESCAN", "MENUITEM_INTERFACECHOOSE"}) {
            w.find<QWidget>("ComboMeasSignal")->setFocus();
            w.window.runCommand(command);
            EXPECT_EQ(QApplication::focusWidget()->objectName(), "imcmbDevices") << command;
        }
    }
}

TEST(frmMain, DeviceListShowsTheTableWithKeysAndIcons)
{
    MainWorld w;
    QComboBox* list = w.devices();
    EXPECT_FALSE(list->isEnabled());
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(list->placeholderText(), NotConnected);
    EXPECT_EQ(w.text("LabelMeasVal"), NotConnected);

    w.window.runCommand("MENUITEM_DEVICESCAN");
    ASSERT_EQ(list->count(), 3);
    EXPECT_TRUE(list->isEnabled());
    // Grouped by description, then in scan order (node 127 down to 1).
    const char* labels[] = {"CAN-ID 42, Snr. 100042", "CAN-ID 3, Snr. 100003", "CAN-ID 17, Snr. 100017"};
    for (int row = 0; row < 3; ++row) {
        const DeviceEntry& entry = w.state().Devices[row + 1];
        EXPECT_EQ(list->itemText(row), QString::fromUtf8(labels[row]));
        EXPECT_EQ(list->itemData(row).toString(), "SerialNumber:" + entry.SerialNumber);
        EXPECT_FALSE(list->itemIcon(row).isNull());
    }
    EXPECT_EQ(list->currentIndex(), 0) << "the scan connects the first device";
    EXPECT_TRUE(w.window.measuring());

    // A window smaller than its areas (a small screen) scrolls them instead of squeezing them.
    w.window.setMinimumSize(1, 1);
    w.window.resize(300, 250);
    w.window.show();
    for (const char* name : {"FrameDevice", "FrameMeas", "FrameDIO"}) {
        const QWidget* area = w.find<QWidget>(name);
        EXPECT_GE(area->height(), area->minimumSizeHint().height()) << name;
    }
}

TEST(frmMain, ChoosingADeviceSwitchesOrLeavesNothingConnected)
{
    const struct {
        const char* name;
        bool silent;       // the chosen device does not answer
        int32_t current;   // afterwards
        bool measuring;
    } cases[] = {
        {"answers", false, 2, true},
        {"silent", true, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MainWorld w;
        w.window.runCommand("MENUITEM_DEVICESCAN");
        w.world.host().messages.clear();
        w.world.amplifier(uint8_t(w.state().Devices[2].NodeId)).setSilent(c.silent);
        w.window.chooseDevice(1);
        EXPECT_EQ(w.state().CurrentDevice, c.current);
        EXPECT_EQ(w.window.measuring(), c.measuring);
        EXPECT_EQ(w.window.SigTimer().isActive(), c.measuring);
        EXPECT_EQ(w.devices()->currentIndex(), c.current - 1);
        EXPECT_EQ(w.text("LabelMeasVal") == NotConnected, !c.measuring);
        EXPECT_EQ(w.world.host().messages.empty(), !c.silent);
        EXPECT_FALSE(w.state().Devices[1].Online) << "the device before is disconnected";
    }
}

TEST(frmMain, MenuStatesFollowTheInterfaceKindAndTheDevice)
{
    const struct {
        int32_t kind;
        bool scanned;  // the scan connected device 1
        bool preOperational;
    } cases[] = {
        {CANBus, false, true}, {CANBus, true, true}, {PROFIBUS, true, false},
        {RS232, true, false},  {DeviceNet, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(kindName(c.kind) + (c.scanned ? " scanned" : ""));
        MainWorld w(c.kind);
        if (c.scanned)
            w.window.runCommand("MENUITEM_DEVICESCAN");
        w.window.updateMenuStates();
        auto enabled = [&w](const char* key) { return w.window.command(key)->isEnabled(); };
        EXPECT_EQ(enabled("MENUITEM_READING"), c.scanned);
        EXPECT_EQ(w.window.command("MENUITEM_READING")->isChecked(), c.scanned);
        EXPECT_EQ(enabled("MENUITEM_SAVECONFIG"), c.scanned);
        EXPECT_EQ(enabled("MENUITEM_LOADCONFIG"), c.scanned);
        EXPECT_EQ(enabled("MENUITEM_SETPREOPERATIONAL"), c.preOperational);
        EXPECT_EQ(w.window.findChild<QMenu*>("MENU_DEVICE")->isEnabled(), c.scanned);
        EXPECT_TRUE(enabled("MENUITEM_INTERFACECHOOSE"));
        EXPECT_EQ(enabled("MENUITEM_TERMINALSDO"), c.preOperational);
        EXPECT_TRUE(enabled("MENUITEM_DEVSTATUS"));
        EXPECT_EQ(enabled("MENUITEM_RECORDREADING"), c.scanned);
    }
}

// The SDO terminal talks CANopen only: choosing an interface of another kind closes it.
TEST(frmMain, SdoTerminalClosesWhenTheInterfaceIsNoCanNet)
{
    MainWorld w;
    w.window.runCommand("MENUITEM_TERMINALSDO");
    QPointer<frmSDOTerm> terminal = w.window.findChild<frmSDOTerm*>();
    ASSERT_TRUE(terminal && terminal->isVisible());
    SimRack rack;  // the CAN net's own rack goes with the net
    ASSERT_EQ(rack.build(demoRack()), rc::Ok);
    w.state().buses.devicenet = std::make_unique<SimDeviceNetMaster>(&rack);
    w.chooser.choice = InterfaceChoice{DeviceNet, "", "", 0, 0, 0};
    w.window.runCommand("MENUITEM_INTERFACECHOOSE");
    ASSERT_EQ(w.state().CurrentInterface.InterfaceType, DeviceNet);
    EXPECT_TRUE(terminal.isNull() || !terminal->isVisible());
}

TEST(frmMain, DeviceStatusOpensOneBitMaskWindowThatClosesWithTheDevice)
{
    MainWorld w;
    w.window.runCommand("MENUITEM_DEVSTATUS");
    EXPECT_EQ(w.world.host().texts(), QStringList{"Aucun appareil n'a été raccordé !"});
    w.window.runCommand("MENUITEM_DEVICESCAN");
    w.world.host().messages.clear();
    w.window.runCommand("MENUITEM_DEVSTATUS");
    w.window.showBitMask("Measurement/StatusLong");  // raises the same window
    const QList<FrmBitMask*> shown = w.window.findChildren<FrmBitMask*>();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0]->windowTitle(), "État de l'appareil (CAN-ID 42, Snr. 100042)");
    w.window.showBitMask("Measurement/InputSignal");
    EXPECT_EQ(w.world.host().texts(), QStringList{"Erreur '-5' lors de la lecture du masque binaire !"});
    QPointer<FrmBitMask> window = shown[0];
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(window.isNull()) << "a failed opening leaves the window shown";
    w.window.CloseDeviceViews();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
}

TEST(frmMain, ReadingCommandStopsAndStartsTheMeasurement)
{
    MainWorld w;
    w.window.runCommand("MENUITEM_DEVICESCAN");
    w.window.updateMenuStates();
    w.window.command("MENUITEM_READING")->trigger();
    EXPECT_FALSE(w.window.measuring());
    EXPECT_EQ(w.text("LabelMeasVal"), QStringLiteral("Arrêté"));
    w.window.updateMenuStates();
    w.window.command("MENUITEM_READING")->trigger();
    EXPECT_TRUE(w.window.measuring());
    EXPECT_TRUE(w.window.SigTimer().isActive());
}

TEST(frmMain, PreOperationalAsksOnce)
{
    MainWorld w;
    w.world.host().answers = {msg::Yes, msg::Yes};
    w.window.runCommand("MENUITEM_SETPREOPERATIONAL");
    ASSERT_EQ(w.world.host().messages.size(), 1u);
    EXPECT_TRUE(w.world.host().messages[0].text.endsWith(QStringLiteral("Continuer quand même ?")));
}

TEST(frmMain, ScanFindingNoneHidesTheGridAndInterfaceChoiceConnectsDeviceOne)
{
    MainWorld empty(CANBus, {});
    empty.world.host().answers = {msg::No};
    empty.window.runCommand("MENUITEM_DEVICESCAN");
    EXPECT_TRUE(empty.find<QWidget>("fpSpreadParameters")->isHidden());
    EXPECT_FALSE(empty.devices()->isEnabled());
    EXPECT_EQ(empty.devices()->currentIndex(), -1);

    MainWorld w;
    w.window.runCommand("MENUITEM_INTERFACECHOOSE");
    EXPECT_EQ(w.chooser.asked, 1);
    EXPECT_EQ(w.state().CurrentDevice, 1);
    EXPECT_TRUE(w.state().Devices[1].Online);
    EXPECT_FALSE(w.find<QWidget>("fpSpreadParameters")->isHidden());
    EXPECT_EQ(w.text("LabelCurrentIfVal"), SimulationText);
}

// Answers the next file dialog with a file, after checking its title.
void answerFileDialog(const QString& title, const QString& file)
{
    QTimer::singleShot(0, [title, file] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->objectName(), "CommonDlg");
        EXPECT_EQ(dialog->windowTitle(), title);
        EXPECT_EQ(dialog->nameFilters(), QStringList({"Configuration de l'appareil (*.xml)", "Tous les fichiers (*.*)"}));
        dialog->selectFile(file);
        QMetaObject::invokeMethod(dialog, "accept");
    });
}

TEST(frmMain, SavedConfigurationLoadsIntoTheDevice)
{
    MainWorld w;
    w.window.runCommand("MENUITEM_DEVICESCAN");
    const QString file = QDir(GetUserProfileFolder()).filePath("saved.xml");
    answerFileDialog("Sauvegarder la configuration de l'appareil", file);
    w.window.runCommand("MENUITEM_SAVECONFIG");
    ASSERT_TRUE(QFileInfo::exists(file));
    EXPECT_EQ(GetUserDataPath(w.state().core), QFileInfo(file).absolutePath());

    const QString path = QStringLiteral("Scaling/DecimalPointPos");
    const QByteArray saved = w.world.onDevice(path, SecondQsgNode);
    w.world.put(path, le(saved.at(0) == 5 ? 4 : 5, saved.size()), SecondQsgNode);
    answerFileDialog("Charger la configuration de l'appareil", file);
    w.window.runCommand("MENUITEM_LOADCONFIG");
    EXPECT_EQ(w.world.onDevice(path, SecondQsgNode), saved);
    EXPECT_TRUE(w.world.host().messages.empty()) << w.world.host().texts().join('\n').toStdString();
}

// Another family's file is refused whole: nothing is written and the device's own
// configuration stays shown.
TEST(frmMain, ConfigurationOfAnotherFamilyIsRefused)
{
    MainWorld w;
    w.window.runCommand("MENUITEM_DEVICESCAN");
    const QString file = QDir(GetUserProfileFolder()).filePath("qsg.xml");
    answerFileDialog("Sauvegarder la configuration de l'appareil", file);
    w.window.runCommand("MENUITEM_SAVECONFIG");
    w.window.findChild<QComboBox*>("imcmbDevices")->setCurrentIndex(2);
    w.window.chooseDevice(2);
    const QString path = QStringLiteral("Scaling/DecimalPointPos");
    w.world.put(path, le(w.world.onDevice(path, SecondQsgNode).at(0) == 5 ? 4 : 5, 1), QsnNode);
    const QByteArray kept = w.world.onDevice(path, QsnNode);
    ASSERT_EQ(w.state().Devices[3].NodeId, QsnNode);

    answerFileDialog("Charger la configuration de l'appareil", file);
    w.window.runCommand("MENUITEM_LOADCONFIG");
    EXPECT_EQ(w.world.onDevice(path, QsnNode), kept);
    EXPECT_EQ(w.world.host().texts(),
              QStringList({"'" + file + "' est la configuration d'un autre type d'appareil que " +
                           Device_GetLabel(w.state().Devices[3]) + " : rien n'a été chargé !"}));
    EXPECT_EQ(w.world.element("Common/SerialNumber").text(), w.state().Devices[3].SerialNumber);
}

TEST(frmMain, NothingStartsWhileAnOperationRuns)
{
    const struct {
        const char* name;
        std::function<void(frmMain&)> act;
    } cases[] = {
        {"measurement tick", [](frmMain& window) { window.SigTimer_Timer(); }},
        {"second command", [](frmMain& window) { window.runCommand("MENUITEM_RELOAD"); }},
        {"device choice",
         [](frmMain& window) {
             window.findChild<QComboBox*>("imcmbDevices")->setCurrentIndex(1);  // as the list does
             window.chooseDevice(1);
         }},
        {"bit mask window", [](frmMain& window) { window.showBitMask("Measurement/CommandWord"); }},
        {"SDO terminal", [](frmMain& window) { window.findChild<frmSDOTerm*>()->ctlButtonRecv_Click(); }},
    };
    // Closing the window waits for the operation's end.
    {
        MainWorld w;
        w.world.host().onMessage = [&](const QString&) { w.window.close(); };
        w.world.host().answers = {msg::No};
        w.window.runCommand("MENUITEM_SETPREOPERATIONAL");
        EXPECT_TRUE(w.window.UnloadTimer().isActive());
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MainWorld w;
        w.window.runCommand("MENUITEM_DEVICESCAN");
        w.window.runCommand("MENUITEM_TERMINALSDO");
        int readsDuring = -1;
        w.world.host().onMessage = [&](const QString&) {
            EXPECT_TRUE(w.window.operationGuard().busy());
            w.world.clearTraffic();
            c.act(w.window);
            readsDuring = w.world.traffic().reads;
        };
        w.world.host().answers = {msg::No};
        w.window.runCommand("MENUITEM_SETPREOPERATIONAL");  // asks before it acts
        EXPECT_EQ(readsDuring, 0);
        EXPECT_EQ(w.state().CurrentDevice, 1);
        EXPECT_EQ(w.devices()->currentIndex(), 0) << "the list shows the device in use";
        EXPECT_FALSE(w.window.operationGuard().busy());

        w.world.host().onMessage = nullptr;
        w.world.clearTraffic();
        c.act(w.window);
        EXPECT_GT(w.world.traffic().reads, 0) << "after the operation it works";
    }
}

}  // namespace
}  // namespace devicetest
