#include "ui/QtHost.h"

#include "ui/frmMessage.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

int QtHost::showMessage(const QString& text, int style)
{
    return frmMessage::ask(QApplication::activeWindow(), text, style);
}

void QtHost::setBusy(bool busy)
{
    // Override cursors stack, so nested busy sections restore what was before them.
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void QtHost::setStatusText(const QString& text) { emit statusTextChanged(text); }

void QtHost::setProgress(int value, int max) { emit progressChanged(value, max); }

void QtHost::processEvents() { QCoreApplication::processEvents(); }

// The window repaints and timers tick while the wait runs (the operation guard keeps
// their handlers from starting device work); user input waits for the next
// processEvents, where the guard drops what would start another operation.
void QtHost::sleepMs(int ms)
{
    QEventLoop wait;
    QTimer::singleShot(ms, &wait, &QEventLoop::quit);
    wait.exec(QEventLoop::ExcludeUserInputEvents);
}

void QtHost::closeDeviceViews() { emit deviceViewsClosing(); }

void QtHost::refreshAllWindows() { emit windowsRefreshRequested(); }
