#include "ScratchFolder.h"

#include <QFile>
#include <QTemporaryDir>

const QString& fuzzScratchFolder()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        qputenv("APPDATA", dir.path().toLocal8Bit());
        return dir.path();
    }();
    return path;
}

QString writeScratchFile(const QString& name, const QByteArray& bytes)
{
    const QString path = fuzzScratchFolder() + '/' + name;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
    return path;
}
