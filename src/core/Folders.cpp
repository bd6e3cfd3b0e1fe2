#include "core/AppCore.h"

#include <QDir>

QString GetAppDataFolder(const AppCore& app)
{
    QString base = qEnvironmentVariable("APPDATA");
    if (base.isEmpty())
        base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    if (base.isEmpty())
        return app.programFolder;
    const QString folder = base + '/' + kCompanyName + '/' + kProductName;
    QDir().mkpath(folder);  // a failure shows later, when a file there is written
    return folder;
}

QString GetUserProfileFolder()
{
    const QString profile = qEnvironmentVariable("USERPROFILE");
    return profile.isEmpty() ? QDir::homePath() : profile;
}
