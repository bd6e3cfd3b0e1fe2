#include "StartupReport.h"

#include "transport/AppState.h"
#include "ui/MainTexts.h"
#include "ui/frmMain.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTextStream>

StartupReport::StartupReport(frmMain& window) : QObject(&window), window_(window)
{
    window.installEventFilter(this);
    connect(&window, &frmMain::firstActivationDone, this, &StartupReport::activated, Qt::QueuedConnection);
}

bool StartupReport::eventFilter(QObject* watched, QEvent* event)
{
    if (!painted_ && event->type() == QEvent::Paint) {
        painted_ = true;
        QTextStream(stdout) << "painted" << Qt::endl;
    }
    return QObject::eventFilter(watched, event);
}

void StartupReport::activated()
{
    const InterfaceSettings& current = window_.state().CurrentInterface;
    QString text = InterfaceStateText(current).simplified();
    QTextStream(stdout) << "activated: " << text << "; connected: " << (current.Connected ? "yes" : "no")
                        << Qt::endl;
    QCoreApplication::exit(0);
}
