#include "ui/FileChoosers.h"

#include "core/Settings.h"

#include <QFileDialog>
#include <QFileInfo>

namespace {

const QStringList TedsFilters = {QStringLiteral("TEDS (*.TED)"), QStringLiteral("Tous les fichiers (*.*)")};
const QString TedsSuffix = QStringLiteral("TED");

}  // namespace

QString ChooseUserDataFile(QWidget* parent, AppCore& core, const QString& title, const QStringList& filters,
                           const QString& suffix, bool save)
{
    QFileDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("CommonDlg"));
    dialog.setWindowTitle(title);
    dialog.setNameFilters(filters);
    dialog.setDirectory(GetUserDataPath(core));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString chosen = dialog.selectedFiles().constFirst();
    SetUserDataPath(core, QFileInfo(chosen).absolutePath());
    return chosen;
}

QString GetOpenTEDSName(QWidget* parent, AppCore& core)
{
    return ChooseUserDataFile(parent, core, QStringLiteral("Charger TEDS"), TedsFilters, TedsSuffix, false);
}

QString GetSaveTEDSName(QWidget* parent, AppCore& core)
{
    return ChooseUserDataFile(parent, core, QStringLiteral("Sauvegarder TEDS"), TedsFilters, TedsSuffix, true);
}
