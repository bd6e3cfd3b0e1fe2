#pragma once
#include "measure/Measurement.h"
#include "ui/OperationGuard.h"
#include "ui/measure/TextEditor.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <functional>

struct AppState;
class FrmBitMask;
class Host;
class InterfaceChooser;
class ParameterGrid;
class QAction;
class QComboBox;
class QFrame;
class QGridLayout;
class QGroupBox;
class QLabel;
class MeasurementFrames;
class QMenu;
class QProgressBar;
class QToolButton;
class frmEmcy;
class XmlNode;
class frmPDO;
class frmSDOTerm;

// The program's main window: the interface in use, the devices found on it, the
// current device's measurement and parameters, and the command bar. It works on the
// application state of the run and keeps no handle into it across an operation: the
// current device is the state's index, the configuration is looked up when used.
//
// Every command, device choice and measurement tick enters one operation guard: while
// a device operation runs (its waits let the window repaint), the others do nothing.
class frmMain : public QMainWindow {
    Q_OBJECT

public:
    // chooser: the interface selection of the first activation and of the interface
    // command (null: neither asks, the command does nothing).
    frmMain(AppState& state, InterfaceChooser* chooser, QWidget* parent = nullptr);
    ~frmMain() override;

    // Measurement: the timer ticks every 500 ms while measuring.
    void StartMeasurement();
    // Clears measuring and refreshes the device state; whether it was measuring.
    bool StopMeasurement();
    bool measuring() const { return measuring_; }
    // A recording runs exactly while its file number is not 0.
    bool recording() const { return measurement_.recording().running(); }
    const Measurement& measurement() const { return measurement_; }
    MeasurementFrames& measurementFrames() const { return *measurementFrames_; }

    // Refreshes everything from the current interface and device.
    void Update();
    // Refreshes every window of the program: this one, then the device views.
    void Global_Update();
    // Closes the device views and stops the measurement (before the device table changes).
    void CloseDeviceViews();
    // Builds the parameter grid for the current device's description.
    void InitParameterGroup();
    // Opens (or raises) the PDO window for the current device when it is on the CAN net.
    void showPdoWindow();
    // Opens (or raises) the bit mask window for a parameter of the current device.
    void showBitMask(const QString& path);
    // Starts the TEDS editor for the current device; the texts go to the editor as they are.
    void editTeds(const QString& text1 = {}, const QString& text2 = {});
    // Reads the grid rows marked for periodic update again (each measurement tick).
    void RefreshParameterValues();

    // The first activation's steps: connect the standard interface, or run the
    // interface command. Runs once, when the window is first shown.
    void activate();
    // One command of the command bar by its key; nothing while an operation runs.
    void runCommand(const QString& key);
    // The device list's choice of the item at row.
    void chooseDevice(int row);
    // One tick of the measurement timer.
    void SigTimer_Timer();
    // Sets the commands' enabled and checked states, as when a menu opens.
    void updateMenuStates();
    // What the CAN net announced since the last poll (the net timer's tick).
    void pollNetEvents();

    const AppState& state() const { return state_; }
    // Starts the text editor on a finished or running recording.
    ProgramLauncher launchProgram = startDetachedProgram;

    QAction* command(const QString& key) const { return commands_.value(key); }
    OperationGuard& operationGuard() { return guard_; }
    ParameterGrid* parameterGrid() const { return fpSpreadParameters_; }
    QTimer& SigTimer() { return sigTimer_; }
    QTimer& UnloadTimer() { return unloadTimer_; }

    // Minimum size in twips.
    static constexpr int MinWidthTwips = 6500;
    static constexpr int MinHeightTwips = 9000;
    // First-start size: tall enough to show a screenful of parameters.
    static constexpr int DesignWidthTwips = 8000;
    static constexpr int DesignHeightTwips = 13500;
    // The exit command closes the window this long after it has returned.
    static constexpr int UnloadDelayMs = 50;

signals:
    // The first activation's steps have run (the interface is connected or was chosen).
    void firstActivationDone();

public slots:
    void showStatusText(const QString& text);
    void showProgress(int value, int max);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Layout.
    QWidget* buildHeader();
    QGroupBox* buildDeviceFrame();
    QGroupBox* buildParameterFrame();
    void buildStatusBar();
    void buildMenus();
    void colourFrames();

    // Device list and state.
    void refreshInterfaceState();
    // Selects the current device in the device list ("Non raccordé" when there is none).
    void showCurrentDevice();
    void refreshDeviceState();
    bool currentConnected() const;
    XmlNode parameters() const;

    // Device operations shared by the commands.
    bool connectDevice(int32_t index);
    void disconnectCurrent();
    void resumeMeasurement();
    void dispatch(const QString& key);
    void chooseInterface();
    void scanDevices();
    // Puts the keyboard on the device list when it lists devices.
    void focusFoundDevices();
    void loadConfiguration();
    void saveConfiguration();
    void restartDevice();
    void toggleReading();
    // The device views of the command bar (within an operation): the opened bit mask's result.
    int32_t openBitMask(const QString& path);
    // The same, saying so when it cannot be opened.
    void openBitMaskOrSay(const QString& path);
    void showDeviceStatus();
    void showSdoTerminal();
    void startTedsEditor(const QString& text1 = {}, const QString& text2 = {});
    void toggleRecording();
    void showTrend(bool shown);
    void toggleTrend();
    void showRecording();
    void tedsStateDoubleClicked();
    // Runs a device handler within the operation guard, with the timer stopped, and resumes it after.
    void withTimerStopped(const std::function<void()>& handler);
    void connectMeasurementFrames();

    // What the CAN net announces: node states, EMCYs, reboots, NMT commands.
    void buildNetWatch(QGridLayout* deviceGrid);
    void refreshNodeStates();
    // The connected device booted: its configuration is read again (asking first
    // while the user edits a cell).
    void deviceRebooted();
    void sendNmt(uint8_t command, bool allNodes);
    void showEmcyList();
    void showDeviceListMenu(const QPoint& at);
    void shutDown();
    void UnloadTimer_Timer();
    // The file chooser of the configuration commands; empty when cancelled.
    QString chooseConfigurationFile(bool save);

    Host& host() const;

    AppState& state_;
    InterfaceChooser* chooser_;
    OperationGuard guard_;
    QTimer sigTimer_;
    QTimer unloadTimer_;
    QTimer netTimer_;
    uint64_t netChanges_ = 0;
    bool rebootPending_ = false;
    bool measuring_ = false;
    bool firstActivation_ = true;
    bool shutDown_ = false;
    Measurement measurement_;

    QPointer<frmPDO> pdoWindow_;
    QHash<QString, QAction*> commands_;
    QHash<QString, QMenu*> menus_;
    QLabel* LabelCurrentIfVal_ = nullptr;
    QToolButton* cmdNodeState_ = nullptr;
    QMenu* nmtMenu_ = nullptr;
    QPointer<frmEmcy> emcyWindow_;
    QComboBox* imcmbDevices_ = nullptr;
    MeasurementFrames* measurementFrames_ = nullptr;
    ParameterGrid* fpSpreadParameters_ = nullptr;
    QLabel* SBarPanel1_ = nullptr;
    QProgressBar* ProgBar_ = nullptr;
    QPointer<FrmBitMask> FrmBitMask_;
    QPointer<frmSDOTerm> frmSDOTerm_;
};

// A device operation started from any window of the program: it holds the main
// window's operation guard and keeps the measurement tick out until it ends.
// Test with `if (!operation) return;`.
class DeviceOperation {
public:
    explicit DeviceOperation(frmMain& main) : main_(main), scope_(main.operationGuard())
    {
        if (scope_)
            main_.SigTimer().stop();
    }
    ~DeviceOperation()
    {
        if (scope_ && main_.measuring())
            main_.SigTimer().start();
    }
    DeviceOperation(const DeviceOperation&) = delete;
    DeviceOperation& operator=(const DeviceOperation&) = delete;
    explicit operator bool() const { return bool(scope_); }

private:
    frmMain& main_;
    OperationGuard::Scope scope_;
};
