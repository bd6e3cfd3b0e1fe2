#pragma once
#include "core/Host.h"

#include <QLabel>

// The program's host with the status text of a window's own status line: what a
// transfer reports while it runs shows where the transfer was asked for.
class StatusBarHost final : public Host {
public:
    StatusBarHost(Host& host, QLabel& line) : host_(host), line_(line) {}

    int showMessage(const QString& text, int style) override { return host_.showMessage(text, style); }
    void setBusy(bool busy) override { host_.setBusy(busy); }
    void setStatusText(const QString& text) override { line_.setText(text); }
    void setProgress(int value, int max) override { host_.setProgress(value, max); }
    void processEvents() override { host_.processEvents(); }
    void sleepMs(int ms) override { host_.sleepMs(ms); }
    void closeDeviceViews() override { host_.closeDeviceViews(); }
    void refreshAllWindows() override { host_.refreshAllWindows(); }

private:
    Host& host_;
    QLabel& line_;
};
