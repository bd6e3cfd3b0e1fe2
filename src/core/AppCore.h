#pragma once
#include "core/Log.h"
#include "core/xml/XmlDocument.h"

#include <QString>
#include <cstdint>
#include <memory>

class Host;

// The application core's share of the application state: preferences, folders,
// flags, the settings document and the log. Owned by AppState; one per run.
struct AppCore {
    Host* host = nullptr;
    QString programFolder;       // holds DeviceDescription/, DevConf.xsd, help
    QString instanceKey;         // identifies "this program" for the single-instance test

    QString AppTitle;
    QString Language = QStringLiteral("fr");
    QString RecordingFilePath;
    int16_t StandardSignal = 1;  // 1 net, 0 gross
    int32_t TEDSEditorUserLevel = 1;
    bool FollowingHelp = false;
    bool AutoLog = false;
    QString UserDataPath;
    bool Initialised = false;
    QString HelpFolder;          // help pages, by topic number
    QString LastError;           // description of the last run-time error met, empty when none

    std::unique_ptr<XmlDocument> SettingsDocument;  // null until loaded or first written
    Log log;
};

inline constexpr const char* kCompanyName = "ZEM";
inline constexpr const char* kProductName = "Quelbrin Assistant";

// Folders, computed on every call.
QString GetAppDataFolder(const AppCore& app);
QString GetUserProfileFolder();
