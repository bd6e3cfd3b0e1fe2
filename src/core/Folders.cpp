#include "core/AppCore.h"

#include <QDir>

namespace {

// base/ZEM/Quelbrin Assistant, created when missing; a failure shows later, when a
// file there is written.
QString productFolder(const QString& base)
{
    const QString folder = base + '/' + kCompanyName + '/' + kProductName;
    QDir().mkpath(folder);
    return folder;
}

}  // namespace

QString GetAppDataFolder(const AppCore& app)
{
    QString base = qEnvironmentVariable("APPDATA");
    if (base.isEmpty())
        base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    if (base.isEmpty())
        return app.programFolder;
    return productFolder(base);
}

QString GetUserProfileFolder()
{
    const QString profile = qEnvironmentVariable("USERPROFILE");
    return productFolder(profile.isEmpty() ? QDir::homePath() : profile);
}
