#pragma once
#include "core/AppCore.h"

#include <QDialog>
#include <QString>
#include <cstdint>
#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;

// The options dialog: context help, automatic logging, the recording folder and the
// standard signal. OK stores them in the application state and the settings file;
// Cancel changes nothing.
class frmOptions : public QDialog {
    Q_OBJECT

public:
    // Asks for the recording folder; "" when the user cancels.
    using FolderChooser = std::function<QString()>;

    frmOptions(AppCore& core, FolderChooser chooseFolder, QWidget* parent = nullptr);

    // Shows the dialog modally. chooseFolder defaults to the folder chooser owned by
    // `parent` starting at the recording folder. Returns the result of saving the
    // settings after OK, rc::Declined after Cancel.
    static int32_t run(AppCore& core, QWidget* parent, FolderChooser chooseFolder = {});

public slots:
    void accept() override;

private:
    void store(const QString& key, const QString& value);
    QGroupBox* helpFrame();
    QGroupBox* measurementFrame();
    void choosePath();

    AppCore& core_;
    FolderChooser chooseFolder_;
    QCheckBox* CheckFollowingHelp;
    QCheckBox* CheckLogDefault;
    QLineEdit* TextPath;
    QComboBox* ComboStandardSignal;
    int32_t saveResult_ = 0;
};
