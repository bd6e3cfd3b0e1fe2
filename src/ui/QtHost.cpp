#include "ui/QtHost.h"

#include "ui/frmMessage.h"

#include <QApplication>
#include <QThread>

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

void QtHost::sleepMs(int ms) { QThread::msleep(ulong(ms)); }

void QtHost::closeDeviceViews() { emit deviceViewsClosing(); }

void QtHost::refreshAllWindows() { emit windowsRefreshRequested(); }
