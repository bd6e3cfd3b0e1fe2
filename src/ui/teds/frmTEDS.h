#pragma once
#include "model/teds/TedsCodec.h"

#include <QByteArray>
#include <QDialog>
#include <optional>

struct AppCore;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;
class TEDSHelper;

// The TEDS editor: the sensor's TEDS memory as decoded fields with their units and as
// hex bytes, with its checksum state. The fields the user level allows are edited in
// place; the memory is read from and written to the device through the TEDSHelper
// only, and loaded from and saved to ".TED" files (the raw bytes).
//
// User levels: 0 reads only, 1 also edits the calibration and user fields, 2 and
// above every field but the template.
class frmTEDS : public QDialog {
    Q_OBJECT

public:
    frmTEDS(AppCore& core, TEDSHelper& helper, int32_t userLevel, const QString& deviceName,
            QWidget* parent = nullptr);
    ~frmTEDS() override;

    // Shows an image: decoded when it can be, in hex always.
    void setImage(const QByteArray& image);
    const QByteArray& image() const { return image_; }

    // The commands of the buttons; file names come from the choosers when empty.
    void readFromDevice();
    void writeToDevice();
    void activate();
    void loadFile(QString path = {});
    void saveFile(QString path = {});

    static constexpr int MinWidthTwips = 8700;
    static constexpr int MinHeightTwips = 7200;

private:
    QWidget* buildButtons();
    void showFields();
    void showImage();
    void showDeviceCommands();
    void showState(const QString& note);
    void fieldEdited(QTableWidgetItem* item);
    bool editable(const TedsFieldLayout& layout) const;
    int showMessage(const QString& text, int style);

    AppCore& core_;
    TEDSHelper& helper_;
    int32_t userLevel_;
    QByteArray image_;
    std::optional<TedsContent> content_;
    bool filling_ = false;

    QLabel* LabelDevice;
    QTableWidget* GridFields;
    QLabel* LabelState;
    QPlainTextEdit* TextHex;
    QPushButton* cmdRead;
    QPushButton* cmdWrite;
    QPushButton* cmdActivate;
    QPushButton* cmdLoad;
    QPushButton* cmdSave;
    QPushButton* cmdClose;
};
