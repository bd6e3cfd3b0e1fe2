#pragma once
#include <QDialog>

struct AppState;
struct DeviceEntry;
class QLabel;
class QTreeWidget;

// The connected device's recent EMCYs as heard on the net, and the errors it keeps
// in its pre-defined error field, read when the window opens and on "Actualiser".
class frmEmcy : public QDialog {
    Q_OBJECT

public:
    frmEmcy(AppState& state, int32_t device, QWidget* parent = nullptr);
    // Reads the heard EMCYs and the device's error field again.
    void Update();
    // Only what was heard: no transfer, so it may follow every change on the net.
    void refreshHeard();

private:
    void showStored();

    AppState& state_;
    int32_t device_;
    QTreeWidget* heard_;
    QTreeWidget* stored_;
    QLabel* storedNote_;
};
