#include "device/AppInit.h"

#include "core/Host.h"
#include "core/ResultCodes.h"
#include "core/Settings.h"
#include "transport/AppState.h"
#include "transport/InterfaceManager.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>

namespace {

// The build's language mark: "t" in it means English, "x" French, else German.
constexpr const char* kLanguageMark = "dix";

// True when another instance holds the key; otherwise this one takes it.
bool anotherInstanceRuns(AppState& state)
{
    const QString key = state.core.instanceKey;
    QLocalSocket probe;
    probe.connectToServer(key);
    if (probe.waitForConnected(200))
        return true;
    // Nobody answers: a socket left by a program that crashed is taken over.
    QLocalServer::removeServer(key);
    state.instanceGuard = std::make_unique<QLocalServer>();
    state.instanceGuard->listen(key);
    return false;
}

}  // namespace

QString App_ProgramFolder()
{
    const QString exeFolder = QCoreApplication::applicationDirPath();
    if (QFileInfo::exists(exeFolder + QStringLiteral("/DeviceDescription")))
        return exeFolder;
    const QString shared = QDir::cleanPath(exeFolder + QStringLiteral("/../share/quelbrin"));
    return QFileInfo::exists(shared) ? shared : exeFolder;
}

QString App_BuildLanguage()
{
    const QString mark = QString::fromLatin1(kLanguageMark);
    if (mark.contains('t'))
        return QStringLiteral("en");
    return mark.contains('x') ? QStringLiteral("fr") : QStringLiteral("de");
}

int32_t App_Init(AppState& state)
{
    AppCore& app = state.core;
    Device_ResetTable(state);
    app.AppTitle = QStringLiteral("Assistant Quelbrin");
    if (anotherInstanceRuns(state)) {
        ShowMessage(*app.host,
                    QStringLiteral("Déjà une entité en cours de ") + app.AppTitle +
                        QStringLiteral(". Le programme est terminé !"),
                    msg::Information);
        app.Initialised = false;
        return rc::Failed;
    }
    app.Initialised = true;
    app.Language = App_BuildLanguage();
    app.RecordingFilePath = GetUserProfileFolder() + QStringLiteral("/data");
    QDir().mkpath(app.RecordingFilePath);
    app.StandardSignal = 1;
    app.TEDSEditorUserLevel = 1;
    AppConf_Load(state);
    Log_Open(app, app.AutoLog);

    const int32_t loaded = Desr_LoadAll(app, state.descriptions);
    if (loaded <= 0) {
        ShowMessage(*app.host,
                    QStringLiteral("Impossible de charger un fichier de description de l'appareil. "
                                   "Le programme est terminé !") +
                        app.LastError,
                    msg::Information);
        return rc::MissingDocument;
    }
    app.HelpFolder = app.programFolder + QStringLiteral("/help");
    return rc::Ok;
}
