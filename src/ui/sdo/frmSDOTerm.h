#pragma once
#include "ui/OperationGuard.h"

#include <QDialog>
#include <cstdint>

struct AppState;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QStatusBar;

// Reads and writes any object of any node of the current CAN net by hand, through the
// synchronous SDO transfers. It remembers the last object indices and the hex choices
// in the settings when it closes. Transfers enter the main window's operation guard.
class frmSDOTerm : public QDialog {
    Q_OBJECT

public:
    static constexpr int HistorySize = 15;
    static constexpr int32_t HelpTopic = 115;

    // Preselects the node of the current device when it is connected on the CAN bus.
    frmSDOTerm(AppState& state, OperationGuard& guard, QWidget* parent = nullptr);

    void ctlButtonRecv_Click();
    void ctlButtonSend_Click();
    // Stores the index history and the hex choices and saves the settings.
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Address {
        uint8_t node;
        uint16_t index;
        uint8_t sub;
    };

    QGroupBox* buildDevice();
    QGroupBox* buildSdo();
    QGroupBox* buildSend();
    QGroupBox* buildRecv();
    struct TransferNames {
        const char* frame;
        QString title;
        const char* value;
        const char* hex;
        const char* button;
        QString caption;
    };
    QGroupBox* buildTransfer(const TransferNames& names, QLineEdit*& value, QCheckBox*& hex,
                             void (frmSDOTerm::*start)());
    void loadSettings();
    void chooseDataType(int row);
    void convertBase(QLineEdit* value, QCheckBox* hex);
    int32_t typeCode() const;
    bool hexAllowed() const;
    void rememberIndex();
    // The steps every transfer starts with: answer and status cleared, lamp, history,
    // checks; false when refused.
    bool takeAddress(Address& address);
    void setLamp(const char* colour);
    void showStatus(const QString& text);
    // The words for a failed transfer of the address.
    QString failureText(int32_t result, const Address& address) const;

    AppState& state_;
    OperationGuard& guard_;
    QComboBox* IDList_ = nullptr;
    QComboBox* Index_ = nullptr;
    QLineEdit* SubIndex_ = nullptr;
    QComboBox* ComboDataType_ = nullptr;
    QLabel* IOStat_ = nullptr;
    QLineEdit* Datas_ = nullptr;
    QCheckBox* CheckHexSend_ = nullptr;
    QLineEdit* Answer_ = nullptr;
    QCheckBox* CheckHexRecv_ = nullptr;
    QStatusBar* SBar_ = nullptr;
    QLabel* SBarText_ = nullptr;
};
