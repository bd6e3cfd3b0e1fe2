#pragma once
#include <QByteArray>
#include <QString>

// Writes the bytes beside the file and renames them over it only once all were
// written, so that a crash or a full disk never leaves a truncated file in place
// of the old one. False, with the old file untouched, when any step fails.
bool writeFileSafely(const QString& path, const QByteArray& bytes);
