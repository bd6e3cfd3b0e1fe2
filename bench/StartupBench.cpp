// The window program from process start to its first paint and to the end of its first
// activation (the built-in "Simulation" net as standard interface), with the shipped
// descriptions and with 20 description files.
#include "Bench.h"

#include "support/TestFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

constexpr int Runs = 5;

// A copy of the program with its data and `count` descriptions: the shipped ones (the
// "Simulation" net is built from them) and copies of them up to `count`.
QString programCopy(const QTemporaryDir& root, int count)
{
    const QDir shipped(TestFolder::shippedProgramFolder());
    const QString folder = root.filePath(QStringLiteral("bin"));
    QDir().mkpath(folder + QStringLiteral("/DeviceDescription"));
    for (const QString& name : {QStringLiteral("quelbrin-assistant"), QStringLiteral("DevConf.xsd")})
        QFile::copy(shipped.filePath(name), folder + '/' + name);
    QFile::link(shipped.filePath(QStringLiteral("help")), folder + QStringLiteral("/help"));
    const QDir descriptions(shipped.filePath(QStringLiteral("DeviceDescription")));
    for (const QString& name : descriptions.entryList(QDir::Files))
        QFile::copy(descriptions.filePath(name), folder + QStringLiteral("/DeviceDescription/") + name);
    const QStringList sources = descriptions.entryList({QStringLiteral("*.xml")});
    for (int i = int(sources.size()); i < count && !sources.isEmpty(); ++i)
        QFile::copy(descriptions.filePath(sources[i % sources.size()]),
                    folder + QStringLiteral("/DeviceDescription/d%1.xml").arg(i, 2, 10, QChar('0')));
    return folder + QStringLiteral("/quelbrin-assistant");
}

void writeSimulationSettings(const QString& appData)
{
    const QString folder = appData + QStringLiteral("/ZEM/Quelbrin Assistant");
    QDir().mkpath(folder);
    QFile file(folder + QStringLiteral("/Quelbrin Assistant.conf"));
    if (file.open(QIODevice::WriteOnly))
        file.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Configuration><Device><StandardInterface><CANBus>"
                   "<HardwareName>Simulation</HardwareName><BusName>D\xc3\xa9mo</BusName><Baudrate>1000</Baudrate>"
                   "</CANBus></StandardInterface></Device></Configuration>\n");
}

struct StartupTimes {
    double paintedMs = 0;
    double activatedMs = 0;
};

// One start: milliseconds from the start call to each report line.
StartupTimes startOnce(const QString& program, const QTemporaryDir& root)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("APPDATA"), root.filePath(QStringLiteral("appdata")));
    environment.insert(QStringLiteral("USERPROFILE"), root.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // A user of its own: an open window program is no second instance of this one.
    environment.insert(QStringLiteral("USER"), QStringLiteral("quelbrin-bench"));
    process.setProcessEnvironment(environment);
    QElapsedTimer timer;
    timer.start();
    process.start(program, {QStringLiteral("--startup-report")});
    StartupTimes times;
    while (times.activatedMs == 0 && process.waitForReadyRead(20000)) {
        while (process.canReadLine()) {
            const QByteArray line = process.readLine();
            const double ms = double(timer.nsecsElapsed()) / 1e6;
            if (line.startsWith("painted"))
                times.paintedMs = ms;
            else if (line.startsWith("activated"))
                times.activatedMs = ms;
        }
    }
    if (times.activatedMs == 0)
        QTextStream(stderr) << "the window program gave no start-up report" << Qt::endl;
    process.waitForFinished();
    return times;
}

void benchStartupWith(int count)
{
    QTemporaryDir root;
    const QString program = programCopy(root, count);
    writeSimulationSettings(root.filePath(QStringLiteral("appdata")));
    StartupTimes sum;
    for (int i = 0; i < Runs; ++i) {
        const StartupTimes one = startOnce(program, root);
        sum.paintedMs += one.paintedMs / Runs;
        sum.activatedMs += one.activatedMs / Runs;
    }
    const QString files = QStringLiteral("%1 descriptions").arg(count);
    report(QStringLiteral("window program start to first paint, ") + files, sum.paintedMs, "ms",
           count == 20 ? QStringLiteral("goal < 300") : QString());
    report(QStringLiteral("  ... to first activation on the Simulation net"), sum.activatedMs, "ms");
}

}  // namespace

void benchStartup()
{
    benchStartupWith(2);
    benchStartupWith(20);
}
