#include "ui/frmOptions.h"

#include "core/ResultCodes.h"
#include "core/Settings.h"
#include "ui/BrowseForFolder.h"
#include "ui/Icons.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QWidget* named(QWidget* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

}  // namespace

frmOptions::frmOptions(AppCore& core, FolderChooser chooseFolder, QWidget* parent)
    : QDialog(parent), core_(core), chooseFolder_(std::move(chooseFolder))
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Options"));
    setWindowIcon(Icon(QStringLiteral("IMG_DIAGNOSIS")));
    setModal(true);

    auto* buttons = new QDialogButtonBox(this);
    auto* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    auto* cancel = buttons->addButton(QStringLiteral("Annuler"), QDialogButtonBox::RejectRole);
    named(ok, "cmdButtonOk");
    named(cancel, "ctlButtonCancel");
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &frmOptions::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &frmOptions::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(helpFrame());
    layout->addWidget(measurementFrame());
    layout->addStretch();
    layout->addWidget(buttons);
    setMinimumSize(sizeHint());
}

QGroupBox* frmOptions::helpFrame()
{
    auto* frame = new QGroupBox(QStringLiteral("Aide en ligne"), this);
    named(frame, "FrameHelp");
    CheckFollowingHelp = new QCheckBox(QStringLiteral("&Tracer sujet d'aide"), frame);
    CheckLogDefault = new QCheckBox(QStringLiteral("Activer &journal automatiquement lors du démarrage"), frame);
    named(CheckFollowingHelp, "CheckFollowingHelp");
    named(CheckLogDefault, "CheckLogDefault");
    CheckFollowingHelp->setChecked(core_.FollowingHelp);
    CheckLogDefault->setChecked(core_.AutoLog);

    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(CheckFollowingHelp);
    layout->addWidget(CheckLogDefault);
    return frame;
}

QGroupBox* frmOptions::measurementFrame()
{
    auto* frame = new QGroupBox(QStringLiteral("Mesure"), this);
    named(frame, "FrameMeasurement");
    auto* labelPath = new QLabel(QStringLiteral("&Chemin pour les fichiers d'enregistrement :"), frame);
    named(labelPath, "LabelPath");
    TextPath = new QLineEdit(core_.RecordingFilePath, frame);
    named(TextPath, "TextPath");
    TextPath->setToolTip(core_.RecordingFilePath);
    TextPath->setMinimumWidth(fontMetrics().averageCharWidth() * 40);
    labelPath->setBuddy(TextPath);
    auto* buttonPath = new QPushButton(QStringLiteral("..."), frame);
    named(buttonPath, "ctlButtonPath");
    buttonPath->setToolTip(QStringLiteral("Parcourir"));
    buttonPath->setAutoDefault(false);
    buttonPath->setFixedWidth(buttonPath->fontMetrics().horizontalAdvance(QStringLiteral("...")) * 3);
    connect(buttonPath, &QPushButton::clicked, this, &frmOptions::choosePath);

    auto* labelSignal = new QLabel(QStringLiteral("&Signal standard"), frame);
    named(labelSignal, "LabelStandardSignal");
    ComboStandardSignal = new QComboBox(frame);
    named(ComboStandardSignal, "ComboStandardSignal");
    ComboStandardSignal->addItem(QStringLiteral("Net"), 1);
    ComboStandardSignal->addItem(QStringLiteral("Brut"), 0);
    ComboStandardSignal->setCurrentIndex(ComboStandardSignal->findData(int(core_.StandardSignal)));
    labelSignal->setBuddy(ComboStandardSignal);

    auto* layout = new QGridLayout(frame);
    layout->addWidget(labelPath, 0, 0, 1, 2);
    layout->addWidget(TextPath, 1, 0);
    layout->addWidget(buttonPath, 1, 1);
    auto* signalRow = new QHBoxLayout;
    signalRow->addWidget(labelSignal);
    signalRow->addWidget(ComboStandardSignal);
    signalRow->addStretch();
    layout->addLayout(signalRow, 2, 0, 1, 2);
    return frame;
}

void frmOptions::choosePath()
{
    const QString folder = chooseFolder_ ? chooseFolder_() : QString();
    if (!folder.isEmpty())
        TextPath->setText(folder);
}

// Keeps the first failure, so that OK reports it instead of saving half the options.
void frmOptions::store(const QString& key, const QString& value)
{
    const int32_t stored = AppConf_SetValue(core_, key, value);
    if (saveResult_ == rc::Ok)
        saveResult_ = stored;
}

void frmOptions::accept()
{
    saveResult_ = rc::Ok;
    core_.FollowingHelp = CheckFollowingHelp->isChecked();
    store(QStringLiteral("FollowingHelp"), boolToSetting(core_.FollowingHelp));
    // With no item chosen (a stored signal the list does not offer) the signal stays.
    if (ComboStandardSignal->currentIndex() >= 0)
        core_.StandardSignal = int16_t(ComboStandardSignal->currentData().toInt());
    store(QStringLiteral("Device/StandardSignal"), QString::number(core_.StandardSignal));
    core_.AutoLog = CheckLogDefault->isChecked();
    store(QStringLiteral("AutoLog"), boolToSetting(core_.AutoLog));
    core_.RecordingFilePath = TextPath->text().isEmpty() ? GetAppDataFolder(core_) : TextPath->text();
    store(QStringLiteral("Device/RecordingFilePath"), core_.RecordingFilePath);
    if (saveResult_ == rc::Ok)
        saveResult_ = AppConf_Save(core_);
    QDialog::accept();
}

int32_t frmOptions::run(AppCore& core, QWidget* parent, FolderChooser chooseFolder)
{
    if (!chooseFolder)
        chooseFolder = [&core, parent] { return BrowseForFolder(parent, core.RecordingFilePath); };
    frmOptions dialog(core, std::move(chooseFolder), parent);
    return dialog.exec() == QDialog::Accepted ? dialog.saveResult_ : rc::Declined;
}
