#include "core/Settings.h"

#include "core/Log.h"
#include "core/ResultCodes.h"
#include "core/xml/XmlFiles.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

// The "Configuration" element, or null when the document is missing or damaged.
XmlNode settingsRoot(const AppCore& app)
{
    if (!app.SettingsDocument)
        return {};
    XmlNode root = app.SettingsDocument->documentElement();
    return root.name() == QLatin1String("Configuration") ? root : XmlNode();
}

}  // namespace

QString AppConf_FilePath(const AppCore& app)
{
    return GetAppDataFolder(app) + '/' + kProductName + QStringLiteral(".conf");
}

bool settingToBool(const QString& text)
{
    const QString word = text.trimmed();
    if (word.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (word.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    bool isNumber = false;
    const double number = word.toDouble(&isNumber);
    return isNumber && number != 0;
}

QString boolToSetting(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

int32_t leadingInteger(const QString& text)
{
    static const QRegularExpression leading(QStringLiteral("^\\s*[-+]?\\d+"));
    const QRegularExpressionMatch match = leading.match(text);
    return match.hasMatch() ? match.captured().trimmed().toInt() : 0;
}

bool AppConf_Find(const AppCore& app, const QString& key, QString& value)
{
    const XmlNode element = settingsRoot(app).selectSingle(key);
    value = element.text();
    return !element.isNull();
}

int32_t AppConf_Load(AppCore& app)
{
    const QString path = AppConf_FilePath(app);
    if (!QFileInfo::exists(path))
        return rc::Ok;
    if (Xml_Load(*app.host, path, QString(), app.SettingsDocument) < 0)
        return rc::Ok;

    QString text;
    if (AppConf_Find(app, QStringLiteral("Device/StandardSignal"), text))
        app.StandardSignal = int16_t(leadingInteger(text));
    if (AppConf_Find(app, QStringLiteral("GUI/Language"), text))
        app.Language = text;
    if (AppConf_Find(app, QStringLiteral("Device/RecordingFilePath"), text) && !text.isEmpty())
        app.RecordingFilePath = text;
    app.FollowingHelp =
        AppConf_Find(app, QStringLiteral("FollowingHelp"), text) && settingToBool(text);
    if (AppConf_Find(app, QStringLiteral("AutoLog"), text))
        app.AutoLog = settingToBool(text);
    if (AppConf_Find(app, QStringLiteral("TEDSEditorUserLevel"), text))
        app.TEDSEditorUserLevel = leadingInteger(text);
    return rc::Ok;
}

void AppConf_Create(AppCore& app)
{
    if (Xml_Create(QString(), app.SettingsDocument) < 0)
        return;
    app.SettingsDocument->createDocumentElement(QStringLiteral("Configuration"));
    // Preferences are best kept: a file that cannot be written now is written by the next save.
    static_cast<void>(AppConf_Save(app));
}

void AppConf_Ensure(AppCore& app)
{
    if (!app.SettingsDocument)
        AppConf_Create(app);
}

int32_t AppConf_Save(AppCore& app)
{
    // A damaged file that was met at start-up is never written over.
    if (settingsRoot(app).isNull())
        return rc::MissingDocument;
    if (app.SettingsDocument->save(AppConf_FilePath(app)))
        return rc::Ok;
    // The old file stays as it was; the log says why the new settings are not in it.
    Log_Write(app, QStringLiteral("AppConf_Save(): ") + AppConf_FilePath(app) +
                       QStringLiteral(" n'a pas pu être écrit"));
    return rc::Failed;
}

int32_t AppConf_GetValue(AppCore& app, const QString& key, QString& value)
{
    value.clear();
    XmlNode element;
    const int32_t result = Conf_GetNode(key, settingsRoot(app), element);
    if (result < 0)
        return result;
    value = element.text();
    return rc::Ok;
}

int32_t AppConf_SetValue(AppCore& app, const QString& key, const QString& value)
{
    if (!app.SettingsDocument) {
        AppConf_Create(app);
        return rc::MissingDocument;
    }
    XmlNode element;
    const int32_t result = Conf_GetNode(key, settingsRoot(app), element);
    if (result < 0)
        return result;
    element.setText(value);
    return rc::Ok;
}

QString GetUserDataPath(AppCore& app)
{
    if (app.UserDataPath.isEmpty()) {
        QString stored;
        if (AppConf_GetValue(app, QStringLiteral("GUI/UserDataPath"), stored) >= 0 &&
            !stored.isEmpty())
            app.UserDataPath = stored;
        else
            app.UserDataPath = GetUserProfileFolder();
    }
    return app.UserDataPath;
}

void SetUserDataPath(AppCore& app, const QString& path)
{
    app.UserDataPath = path;
    // The folder is remembered for this run in any case; storing it is a preference.
    if (AppConf_SetValue(app, QStringLiteral("GUI/UserDataPath"), path) >= 0)
        static_cast<void>(AppConf_Save(app));
}
