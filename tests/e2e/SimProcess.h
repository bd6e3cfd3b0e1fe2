#pragma once
#include <QProcess>
#include <QString>
#include <QStringList>

// quelbrin-sim in a process of its own, serving on a virtualcan bus whose hub it
// holds on a free port of this machine, so that no parallel test shares the bus.
class SimProcess {
public:
    // On the bus of `canInterface` when given, else on a bus of its own.
    explicit SimProcess(QString canInterface = {}) : interface_(std::move(canInterface)) {}
    ~SimProcess();

    // Starts it with `arguments` after its --can option and waits until it has
    // announced `nodes` nodes; false when it does not in time. Started again, it
    // serves the same bus.
    bool start(const QStringList& arguments, int nodes);
    // The virtualcan interface of its bus: tcp://127.0.0.1:<port>/can0.
    QString canInterface() const { return interface_; }
    // Its "node ..." lines, in order.
    QStringList announced() const { return announced_; }
    // Ends it with SIGTERM; its exit code, or -1 when it did not end by itself.
    int stop();
    // Ends it with SIGKILL, as a crash would.
    void kill();
    QString errors();

    // Runs it to its end with these arguments: its exit code and its error output.
    static int run(const QStringList& arguments, QString& errors);

private:
    static QString program();

    QProcess process_;
    QString interface_;
    QStringList announced_;
};
