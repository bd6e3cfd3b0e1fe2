#include "support/TestFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

TestFolder::TestFolder()
    : oldAppData_(qgetenv("APPDATA")), oldUserProfile_(qgetenv("USERPROFILE"))
{
    QDir(dir_.path()).mkpath(QStringLiteral("appdata"));
    QDir(dir_.path()).mkpath(QStringLiteral("profile"));
    qputenv("APPDATA", file(QStringLiteral("appdata")).toUtf8());
    qputenv("USERPROFILE", file(QStringLiteral("profile")).toUtf8());
    state.core.host = &host;
    state.core.programFolder = shippedProgramFolder();
    state.core.instanceKey = QStringLiteral("quelbrin-test-") + QUuid::createUuid().toString(QUuid::Id128);
}

TestFolder::~TestFolder()
{
    qputenv("APPDATA", oldAppData_);
    qputenv("USERPROFILE", oldUserProfile_);
}

QString TestFolder::write(const QString& name, const QByteArray& text) const
{
    const QString path = file(name);
    QDir().mkpath(QFileInfo(path).path());
    QFile out(path);
    if (out.open(QIODevice::WriteOnly))
        out.write(text);
    return path;
}

QString TestFolder::shippedProgramFolder()
{
    // Tests and benchmarks are built into the bin folder, where the shipped data is copied.
    const QString exeFolder = QCoreApplication::applicationDirPath();
    return QFileInfo::exists(exeFolder + QStringLiteral("/DeviceDescription")) ? exeFolder
                                                                               : QDir::currentPath();
}
