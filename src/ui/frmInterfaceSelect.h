#pragma once
#include "device/InterfaceSession.h"
#include "transport/InterfaceSettings.h"

#include <QDialog>
#include <QList>
#include <optional>

struct AppState;
class QCheckBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// The interface selection: CAN nets, PROFIBUS cards, DeviceNet baud rates and COM
// ports in one tree; OK hands the chosen one back and, when asked, stores it as the
// standard interface. The PROFIBUS cards defined here stay offered as long as the
// dialog object lives.
//
// Controls: "CanBusSelectView" (each item holds its key in Qt::UserRole), "CheckDefaultInterface", "LabelDescription", "FrameProfiBus"
// with "ctlButtonProfiBusIfCreate" and "ctlButtonProfiBusIfDelete", "ctlButtonOK",
// "ctlButtonCancel", "cmdHelp".
class frmInterfaceSelect : public QDialog, public InterfaceChooser {
    Q_OBJECT

public:
    static constexpr int32_t HelpTopic = 120;

    explicit frmInterfaceSelect(AppState& state, QWidget* parent = nullptr);

    // SelectInterface: builds the list, shows the tree with the current interface
    // selected, and returns the chosen interface, or nothing after Cancel.
    std::optional<InterfaceChoice> choose(const InterfaceChoice& current) override;

private:
    QWidget* profibusFrame();
    QLayout* buttonRow();
    void fillTree(qsizetype selected);
    void fitTree();
    void paintClicked(QTreeWidgetItem* clicked);
    QString selectedKey() const;
    void takeSelected();
    void createCard();
    void deleteCard();

    AppState& state_;
    QList<InterfaceSettings> list_;
    InterfaceSettings current_;  // the interface the selection started from
    std::optional<InterfaceChoice> result_;

    QTreeWidget* CanBusSelectView;
    QCheckBox* CheckDefaultInterface;
    QLabel* LabelDescription;
};
