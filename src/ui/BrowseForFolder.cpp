#include "ui/BrowseForFolder.h"

#include <QFileDialog>

QString BrowseForFolder(QWidget* owner, const QString& start)
{
    return QFileDialog::getExistingDirectory(owner, QStringLiteral("Sélectionner un dossier"), start,
                                             QFileDialog::ShowDirsOnly);
}
