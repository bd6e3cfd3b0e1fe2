#pragma once
#include <QDialog>
#include <QPointer>
#include <QString>
#include <vector>

struct AppState;
struct DeviceEntry;
class frmMain;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QStackedWidget;
class QStatusBar;
class QVBoxLayout;

// The CANopen process-data configuration of the current CAN device: the predefined
// mapping of each receive and transmit PDO, the transmission mode of each transmit
// PDO, and the store, factory-settings and restart commands of the communication
// objects. It keeps the device's serial number and parameter paths only; every change
// goes to the device at once, inside the main window's operation guard.
class frmPDO : public QDialog {
    Q_OBJECT

public:
    frmPDO(AppState& state, frmMain& main);

    // Opens the window for the current device when it is on the CAN net, or raises
    // the open one and reads its state again.
    static void ShowFor(AppState& state, frmMain& main, QPointer<frmPDO>& window);

    // Reads everything again from the current device; closes when it is no CAN device.
    void Update();
    // Stores the placement and closes.
    void CloseForm();

    static constexpr int MinWidthTwips = 7800;
    static constexpr int MinHeightTwips = 8400;

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    // One PDO's controls on a page.
    struct PdoFrame {
        int n = 0;
        QLabel* current = nullptr;
        QComboBox* choice = nullptr;
        QLineEdit* mode = nullptr;
    };

    QWidget* buildCommentFrame();
    QGroupBox* buildCommFrame();
    QWidget* buildTabs();
    QWidget* buildButtons();
    void buildPages(const DeviceEntry& entry);
    QWidget* mappingPage(const DeviceEntry& entry, bool send, std::vector<PdoFrame>& frames);
    QWidget* sendParametersPage(const DeviceEntry& entry);
    void showState(DeviceEntry& entry);

    DeviceEntry* device() const;
    void applyMapping(bool send, int n);
    void applyTransferMode(int n);
    void executeAction(const QString& path);
    void restart();
    void showPage(int page);
    void help();

    AppState& state_;
    frmMain& main_;
    QString serial_;
    bool closed_ = false;   // closed, waiting for its deletion
    int descriptionIndex_ = -1;
    std::vector<PdoFrame> recv_;
    std::vector<PdoFrame> send_;
    std::vector<PdoFrame> sendParameters_;
    QStackedWidget* FrameTabContainer_ = nullptr;
    QStatusBar* SBar_ = nullptr;
};
