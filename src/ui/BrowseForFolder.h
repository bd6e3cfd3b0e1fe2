#pragma once
#include <QString>

class QWidget;

// The folder chooser: file-system folders only, opened at `start` when it is not
// empty. Returns the chosen folder, or "" when the user cancels.
QString BrowseForFolder(QWidget* owner, const QString& start);
