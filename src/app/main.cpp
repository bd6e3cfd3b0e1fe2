#include "StartupReport.h"
#include "core/WaitPump.h"
#include "device/AppInit.h"
#include "device/BusSetup.h"
#include "device/TedsEditor.h"
#include "transport/AppState.h"
#include "ui/QtHost.h"
#include "ui/QtTranslations.h"
#include "ui/frmInterfaceSelect.h"
#include "ui/frmMain.h"
#include "ui/teds/TedsEditorComponent.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QEventLoop>

namespace {

// One key per executable and user: the same program started twice by one user is refused.
QString instanceKey()
{
    const QByteArray who = QCoreApplication::applicationFilePath().toUtf8() + '|' +
                           qgetenv("USER");
    return QStringLiteral("quelbrin-") +
           QString::fromLatin1(QCryptographicHash::hash(who, QCryptographicHash::Sha1).toHex().left(16));
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QtHost host;
    // Bus time-outs on this thread repaint the window while they wait.
    waitpump::install([] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
    AppState state;
    state.core.host = &host;
    state.core.programFolder = App_ProgramFolder();
    state.core.instanceKey = instanceKey();

    if (App_Init(state) < 0)
        return 1;
    InstallQtTranslations(application, state.core.Language);
    Bus_CreateProgramLibraries(state);
    frmInterfaceSelect chooser(state);
    frmMain window(state, &chooser);
    RegisterTedsEditor(InstalledTedsEditors(), state.core, &window);
    if (QCoreApplication::arguments().contains(QStringLiteral("--startup-report")))
        new StartupReport(window);
    window.show();
    return QApplication::exec();
}
