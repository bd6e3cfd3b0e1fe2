#include "core/ResultCodes.h"
#include "core/Settings.h"
#include "support/QStringPrint.h"
#include "support/TestFolder.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

const QString kSettingsFile = QStringLiteral("appdata/ZEM/Quelbrin Assistant/Quelbrin Assistant.conf");

class SettingsTest : public testing::Test {
protected:
    QString settingsPath() const { return world.file(kSettingsFile); }
    void writeSettings(const QByteArray& body) const
    {
        world.write(kSettingsFile, "<?xml version='1.0'?><Configuration>" + body + "</Configuration>");
    }
    QByteArray settingsBytes() const
    {
        QFile file(settingsPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    TestFolder world;
    AppCore& app = world.state.core;
};

TEST_F(SettingsTest, FoldersFollowTheEnvironment)
{
    EXPECT_EQ(AppConf_FilePath(app), settingsPath());
    EXPECT_EQ(GetUserProfileFolder(), world.file(QStringLiteral("profile/ZEM/Quelbrin Assistant")));

    const QByteArray oldXdg = qgetenv("XDG_CONFIG_HOME");
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("APPDATA", "");
    qputenv("USERPROFILE", "");
    qputenv("XDG_CONFIG_HOME", world.file(QStringLiteral("xdg")).toUtf8());
    qputenv("HOME", world.file(QStringLiteral("home")).toUtf8());
    const QString xdgFolder = GetAppDataFolder(app);
    const QString homeFolder = GetUserProfileFolder();
    qputenv("XDG_CONFIG_HOME", oldXdg);
    qputenv("HOME", oldHome);
    for (const auto& [folder, base] :
         {std::pair{xdgFolder, QStringLiteral("xdg")}, {homeFolder, QStringLiteral("home")}}) {
        EXPECT_EQ(folder, world.file(base + QStringLiteral("/ZEM/Quelbrin Assistant")));
        EXPECT_TRUE(QFileInfo(folder).isDir()) << folder.toStdString();
    }
}

TEST_F(SettingsTest, FirstStartCreatesTheFileOnlyWithTheFirstWrite)
{
    ASSERT_EQ(AppConf_Load(app), rc::Ok);
    EXPECT_FALSE(app.SettingsDocument);
    EXPECT_FALSE(QFile::exists(settingsPath()));
    QString value = QStringLiteral("stale");
    EXPECT_EQ(AppConf_GetValue(app, QStringLiteral("GUI/Language"), value), rc::MissingDocument);
    EXPECT_EQ(value, QString());
    EXPECT_EQ(AppConf_Save(app), rc::MissingDocument);
    EXPECT_FALSE(QFile::exists(settingsPath()));

    EXPECT_EQ(AppConf_SetValue(app, QStringLiteral("GUI/Language"), QStringLiteral("de")), rc::MissingDocument);
    EXPECT_TRUE(settingsBytes().contains("<Configuration/>")) << settingsBytes().constData();

    EXPECT_EQ(AppConf_SetValue(app, QStringLiteral("GUI/Language"), QStringLiteral("de")), rc::Ok);
    EXPECT_EQ(AppConf_SetValue(app, QStringLiteral("AutoLog"), QStringLiteral("True")), rc::Ok);
    EXPECT_TRUE(settingsBytes().contains("<Configuration/>")) << "written only by AppConf_Save";
    EXPECT_EQ(AppConf_Save(app), rc::Ok);
    EXPECT_TRUE(settingsBytes().contains(
        "<Configuration><GUI><Language>de</Language></GUI><AutoLog>True</AutoLog></Configuration>"))
        << settingsBytes().constData();

    EXPECT_EQ(AppConf_GetValue(app, QStringLiteral("GUI/Language"), value), rc::Ok);
    EXPECT_EQ(value, QStringLiteral("de"));
    EXPECT_EQ(AppConf_GetValue(app, QStringLiteral("GUI/Windows/frmMain/Top"), value), rc::Ok);
    EXPECT_EQ(value, QString());
    QString found;
    EXPECT_TRUE(AppConf_Find(app, QStringLiteral("GUI/Windows/frmMain/Top"), found)) << "reading created it";
}

TEST_F(SettingsTest, DamagedFileIsReportedAndNeverWrittenOver)
{
    const QByteArray damaged = "<?xml version='1.0'?><Configuration><GUI>";
    world.write(kSettingsFile, damaged);
    ASSERT_EQ(AppConf_Load(app), rc::Ok);

    ASSERT_EQ(world.host.messages.size(), 1u);
    const QString head = QStringLiteral("Erreur lors du chargement du document  XML : ") + settingsPath() +
                         QStringLiteral("\r\nMessage : ");
    EXPECT_TRUE(world.host.messages[0].text.startsWith(head)) << world.host.messages[0].text.toStdString();
    EXPECT_GT(world.host.messages[0].text.size(), head.size()) << "the parser's reason follows";
    EXPECT_EQ(world.host.messages[0].style, 0);
    EXPECT_EQ(app.Language, QStringLiteral("fr"));

    QString value;
    EXPECT_EQ(AppConf_GetValue(app, QStringLiteral("GUI/Language"), value), rc::MissingDocument);
    EXPECT_EQ(AppConf_SetValue(app, QStringLiteral("GUI/Language"), QStringLiteral("de")), rc::MissingDocument);
    EXPECT_EQ(AppConf_SetValue(app, QStringLiteral("GUI/Language"), QStringLiteral("de")), rc::MissingDocument);
    EXPECT_EQ(AppConf_Save(app), rc::MissingDocument);
    SetUserDataPath(app, QStringLiteral("/somewhere"));
    EXPECT_EQ(settingsBytes(), damaged);
}

TEST_F(SettingsTest, KeysReadAtStartUp)
{
    // Language | RecordingFilePath | StandardSignal | TEDSEditorUserLevel | FollowingHelp | AutoLog
    const auto summary = [](const AppCore& a) {
        return QStringLiteral("%1|%2|%3|%4|%5|%6")
            .arg(a.Language, a.RecordingFilePath)
            .arg(a.StandardSignal)
            .arg(a.TEDSEditorUserLevel)
            .arg(int(a.FollowingHelp))
            .arg(int(a.AutoLog));
    };
    struct Case {
        QByteArray body;
        const char* expected;
    };
    const Case cases[] = {
        {"", "fr|/default|1|1|0|0"},
        {"<GUI><Language>de</Language></GUI>", "de|/default|1|1|0|0"},
        {"<Device><RecordingFilePath></RecordingFilePath></Device>", "fr|/default|1|1|0|0"},
        {"<Device><RecordingFilePath>/mes essais</RecordingFilePath></Device>", "fr|/mes essais|1|1|0|0"},
        {"<Device><StandardSignal>0</StandardSignal></Device>", "fr|/default|0|1|0|0"},
        {"<FollowingHelp>True</FollowingHelp>", "fr|/default|1|1|1|0"},
        {"<FollowingHelp>False</FollowingHelp>", "fr|/default|1|1|0|0"},
        {"<AutoLog>TRUE</AutoLog>", "fr|/default|1|1|0|1"},
        {"<AutoLog>1</AutoLog>", "fr|/default|1|1|0|1"},
        {"<AutoLog>false</AutoLog>", "fr|/default|1|1|0|0"},
        {"<TEDSEditorUserLevel>2abc</TEDSEditorUserLevel>", "fr|/default|1|2|0|0"},
        {"<TEDSEditorUserLevel>abc</TEDSEditorUserLevel>", "fr|/default|1|0|0|0"},
    };
    for (const Case& c : cases) {
        writeSettings(c.body);
        AppCore fresh;
        fresh.host = &world.host;
        fresh.RecordingFilePath = QStringLiteral("/default");
        fresh.FollowingHelp = true;  // a missing element turns it off
        ASSERT_EQ(AppConf_Load(fresh), rc::Ok);
        EXPECT_EQ(summary(fresh), QString::fromLatin1(c.expected)) << c.body.constData();
    }
    EXPECT_TRUE(world.host.messages.empty());
}

TEST_F(SettingsTest, LoadingReadsWithoutCreatingElements)
{
    writeSettings("<GUI/>");
    ASSERT_EQ(AppConf_Load(app), rc::Ok);
    ASSERT_TRUE(app.SettingsDocument);
    const XmlNode root = app.SettingsDocument->documentElement();
    ASSERT_EQ(root.elementChildren().size(), 1u);
    EXPECT_TRUE(root.child("GUI").elementChildren().empty());
}

TEST_F(SettingsTest, UserDataPathFromTheSettingsOrTheProfile)
{
    const QString profile = world.file(QStringLiteral("profile/ZEM/Quelbrin Assistant"));
    EXPECT_EQ(GetUserDataPath(app), profile);
    EXPECT_FALSE(QFile::exists(settingsPath()));

    for (const auto& [body, expected] : {std::pair{QByteArray("<GUI><UserDataPath>/data/last</UserDataPath></GUI>"),
                                                   QStringLiteral("/data/last")},
                                         {QByteArray("<GUI><UserDataPath></UserDataPath></GUI>"), profile},
                                         {QByteArray(), profile}}) {
        writeSettings(body);
        AppCore fresh;
        fresh.host = &world.host;
        AppConf_Load(fresh);
        EXPECT_EQ(GetUserDataPath(fresh), expected) << body.constData();
    }

    AppCore writer;
    writer.host = &world.host;
    AppConf_Load(writer);
    SetUserDataPath(writer, QStringLiteral("/new/place"));
    EXPECT_EQ(GetUserDataPath(writer), QStringLiteral("/new/place"));
    EXPECT_TRUE(settingsBytes().contains("<UserDataPath>/new/place</UserDataPath>")) << settingsBytes().constData();
}

}  // namespace
