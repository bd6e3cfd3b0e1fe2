#pragma once
#include "ui/OperationGuard.h"

#include <QDialog>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <vector>

struct AppState;
class QTableWidget;
class XmlNode;

// One bit mask parameter of a device, bit by bit: a row per bit with its state image
// and, for bits that may be written, a button that toggles the bit or triggers its
// action. It keeps the parameter path and the device's table index, never a node,
// and looks both up when it reads. Reads and writes enter the main window's
// operation guard.
class FrmBitMask : public QDialog {
    Q_OBJECT

public:
    // Interval of the periodic refresh.
    static constexpr int RefreshMs = 200;

    // Opens the window for the parameter at path of device `device`: 0 shown, -5 when
    // the parameter is no bit mask, or the lookup's failure (nothing shown). A window
    // shown modelessly is handed out in `shown`.
    static int32_t ShowBitMask(AppState& state, OperationGuard& guard, int32_t device, const QString& path,
                               bool modal, QWidget* parent, QPointer<FrmBitMask>& shown);

    // Reads the mask again, or closes the window when its device is gone.
    void Update();
    // Stops the refresh and unloads the window.
    void CloseBitMask();
    // Reads the mask from the device and shows every row's bit; the read's result.
    int32_t ReadAndShow();

    bool shows(int32_t device, const QString& path) const { return device == device_ && path == path_; }
    QTimer& RefreshTimer() { return timer_; }
    // One tick of the refresh timer.
    void RefreshTimer_Timer();
    // A press on the button of the bit with this number.
    void bitButtonClicked(int bit);

    void done(int result) override;

private:
    struct BitRow {
        int bit;
        bool writeOnly;
    };

    FrmBitMask(AppState& state, OperationGuard& guard, int32_t device, const QString& path, QWidget* parent);
    void build(XmlNode mask);
    QWidget* buildLegend(XmlNode legend);
    void addRow(XmlNode bit, bool writable);
    QWidget* bitButton(XmlNode bit, int number);
    void showBit(int row, bool on);
    bool deviceStillThere() const;
    QPixmap descriptionImage(const QString& file, const QString& builtIn) const;

    AppState& state_;
    OperationGuard& guard_;
    const int32_t device_;
    const QString serial_;
    const QString path_;
    QString name_;
    int32_t width_ = 0;
    bool writable_ = false;
    QTimer timer_;
    QPixmap active_;
    QPixmap inactive_;
    std::vector<BitRow> rows_;
    QTableWidget* Grid_ = nullptr;
};
