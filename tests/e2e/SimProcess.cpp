#include "e2e/SimProcess.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTcpServer>

namespace {

constexpr int StartTimeoutMs = 3000;
constexpr int StopTimeoutMs = 3000;

// A port nobody listens on now; the sim's hub takes it a moment later.
quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

}  // namespace

SimProcess::~SimProcess()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(StopTimeoutMs);
    }
}

QString SimProcess::program()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/quelbrin-sim");
}

bool SimProcess::start(const QStringList& arguments, int nodes)
{
    if (interface_.isEmpty())
        interface_ = QStringLiteral("tcp://127.0.0.1:%1/can0").arg(freePort());
    announced_.clear();
    process_.start(program(), QStringList{QStringLiteral("--can"), QStringLiteral("virtualcan:") + interface_} +
                                  arguments);
    const QDeadlineTimer deadline(StartTimeoutMs);
    while (announced_.size() < nodes && !deadline.hasExpired()) {
        if (!process_.canReadLine() && !process_.waitForReadyRead(int(deadline.remainingTime())))
            return false;
        while (process_.canReadLine()) {
            const QString line = QString::fromUtf8(process_.readLine()).trimmed();
            if (line.startsWith(QLatin1String("node ")))
                announced_ << line;
        }
    }
    return announced_.size() == nodes;
}

int SimProcess::stop()
{
    process_.terminate();
    if (!process_.waitForFinished(StopTimeoutMs) || process_.exitStatus() != QProcess::NormalExit)
        return -1;
    return process_.exitCode();
}

void SimProcess::kill()
{
    process_.kill();
    process_.waitForFinished(StopTimeoutMs);
}

QString SimProcess::errors()
{
    return QString::fromUtf8(process_.readAllStandardError());
}

int SimProcess::run(const QStringList& arguments, QString& errors)
{
    QProcess process;
    process.start(program(), arguments);
    if (!process.waitForFinished(StopTimeoutMs))
        return -1;
    errors = QString::fromUtf8(process.readAllStandardError());
    return process.exitCode();
}
