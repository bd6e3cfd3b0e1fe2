#pragma once
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// quelbrin-cli run as a process of its own from the bin folder, with settings and
// user folders in a temporary folder of its own.
struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;

    QStringList outLines() const;
    // The value column of the output line that starts with the path; empty when none.
    QString valueOf(const QString& path) const;
};

class QProcess;

class CliRunner {
public:
    // Runs it to its end.
    CliRun run(const QStringList& arguments) const;
    // Starts it and leaves it running.
    void start(QProcess& process, const QStringList& arguments) const;

private:
    QTemporaryDir home_;
};
