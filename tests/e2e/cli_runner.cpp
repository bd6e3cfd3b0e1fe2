#include "e2e/cli_runner.h"

#include <QCoreApplication>
#include <QProcess>

namespace {

// A scan over virtualcan waits for eight batches of absent nodes: seconds, not minutes.
constexpr int RunTimeoutMs = 60000;

}  // namespace

QStringList CliRun::outLines() const
{
    return out.split('\n', Qt::SkipEmptyParts);
}

QString CliRun::valueOf(const QString& path) const
{
    for (const QString& line : outLines()) {
        if (line.startsWith(path + ' '))
            return line.mid(path.size()).trimmed();
    }
    return {};
}

void CliRunner::start(QProcess& process, const QStringList& arguments) const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("APPDATA"), home_.filePath(QStringLiteral("appdata")));
    environment.insert(QStringLiteral("USERPROFILE"), home_.path());
    process.setProcessEnvironment(environment);
    process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/quelbrin-cli"), arguments);
}

CliRun CliRunner::run(const QStringList& arguments) const
{
    QProcess process;
    start(process, arguments);
    CliRun result;
    if (!process.waitForFinished(RunTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        result.err = QStringLiteral("quelbrin-cli did not end in time");
        return result;
    }
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return result;
}
