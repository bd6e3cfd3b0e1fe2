#pragma once
#include "core/Host.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <vector>

// A Host for tests: records every message, answers "OK" alone with msg::Yes and
// questions from a queue (a question the test did not script fails it), and sleeps
// on a virtual clock.
class ScriptedHost : public Host {
public:
    struct Message {
        QString text;
        int style;
        bool busy;   // the busy pointer showed while the message did
    };

    int showMessage(const QString& text, int style) override;
    void setBusy(bool busy) override { busyDepth += busy ? 1 : -1; }
    void setStatusText(const QString& text) override { statusTexts << text; }
    void setProgress(int value, int max) override { progress.push_back({value, max}); }
    void processEvents() override { ++eventRuns; }
    void sleepMs(int ms) override { clockMs += ms; }
    void closeDeviceViews() override { ++deviceViewCloses; }
    void refreshAllWindows() override { ++windowRefreshes; }

    // Texts of the recorded messages, in order.
    QStringList texts() const;

    std::vector<Message> messages;
    std::deque<int> answers;
    QStringList statusTexts;
    std::vector<std::pair<int, int>> progress;
    int busyDepth = 0;
    int eventRuns = 0;
    long long clockMs = 0;
    int deviceViewCloses = 0;
    int windowRefreshes = 0;
};
