#pragma once
#include <QString>
#include <QStringList>

struct AppCore;
class QWidget;

// The program's file choosers. Each starts in the user data folder of the settings
// ("GUI/UserDataPath") and stores the chosen file's folder back there; a cancelled
// chooser gives "".
QString ChooseUserDataFile(QWidget* parent, AppCore& core, const QString& title, const QStringList& filters,
                           const QString& suffix, bool save);

// TEDS files, the raw bytes of a sensor's TEDS memory.
QString GetOpenTEDSName(QWidget* parent, AppCore& core);
QString GetSaveTEDSName(QWidget* parent, AppCore& core);
