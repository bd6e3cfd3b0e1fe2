#pragma once
#include "core/Host.h"

// A host with nobody in front of it: counts the messages, answers every question
// with the first button, and sleeps on no clock.
class QuietHost : public Host {
public:
    int showMessage(const QString&, int) override { ++messages; return msg::Yes; }
    void setBusy(bool) override {}
    void setStatusText(const QString&) override {}
    void setProgress(int, int) override {}
    void processEvents() override {}
    void sleepMs(int) override {}
    void closeDeviceViews() override {}
    void refreshAllWindows() override {}

    int messages = 0;
};
