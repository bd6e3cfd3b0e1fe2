#pragma once
#include "core/Host.h"

#include <QObject>

// The Host of the running program: messages in frmMessage, the busy pointer of the
// application, and signals that the main window turns into status text, progress and
// window refreshes.
class QtHost : public QObject, public Host {
    Q_OBJECT

public:
    int showMessage(const QString& text, int style) override;
    void setBusy(bool busy) override;
    void setStatusText(const QString& text) override;
    void setProgress(int value, int max) override;
    void processEvents() override;
    void sleepMs(int ms) override;
    void closeDeviceViews() override;
    void refreshAllWindows() override;

signals:
    void statusTextChanged(const QString& text);
    void progressChanged(int value, int max);
    void deviceViewsClosing();
    void windowsRefreshRequested();
};
