#pragma once
#include <QIcon>
#include <QPixmap>
#include <QString>

// The program's images, one per IMG_* name (data/icons/<name>.svg, built into the
// program's resources). An unknown name gives an empty icon or a null pixmap.
QIcon Icon(const QString& imgName);
// The image drawn square at size x size device-independent pixels.
QPixmap IconPixmap(const QString& imgName, int size);
