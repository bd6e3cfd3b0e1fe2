#pragma once
#include <QByteArray>
#include <QString>

// A private temporary folder for the life of the process; the settings folder
// (APPDATA) points into it, so no input ever touches the real settings.
const QString& fuzzScratchFolder();
// Writes the input to a file of the scratch folder and returns its path.
QString writeScratchFile(const QString& name, const QByteArray& bytes);
