#pragma once
#include <QObject>

class frmMain;

// `--startup-report`: prints "painted" at the main window's first paint and
// "activated: <interface>; connected: yes|no" when its first activation has run,
// then ends the program. Start-up benchmarks and end-to-end tests read these lines.
class StartupReport : public QObject {
public:
    explicit StartupReport(frmMain& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void activated();

    frmMain& window_;
    bool painted_ = false;
};
