#pragma once
#include "core/Host.h"

#include <QTextStream>

// The person at a terminal: messages go to standard error, every question gets the
// answer given on the command line, sleeps really sleep, and the status texts are
// shown only when asked for. There are no windows to close or refresh.
class ConsoleHost final : public Host {
public:
    ConsoleHost(int answer, bool verbose);

    int showMessage(const QString& text, int style) override;
    void setBusy(bool) override {}
    void setStatusText(const QString& text) override;
    void setProgress(int, int) override {}
    void processEvents() override;
    void sleepMs(int ms) override;
    void closeDeviceViews() override {}
    void refreshAllWindows() override {}

private:
    int answer_;
    bool verbose_;
    QTextStream err_;
};
