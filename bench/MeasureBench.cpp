// The measurement tick (seven reads and what they show: status words, value,
// digital levels, TEDS state) of the QSG at node 42 on the in-process simulation net
// and over virtualcan with quelbrin-sim, beside a 1 Mbit/s bus model; and one sample
// appended to a recording file.
#include "Bench.h"
#include "BenchWorld.h"

#include "device/DeviceSession.h"
#include "measure/Measurement.h"
#include "model/Configuration.h"

#include <QTemporaryDir>

namespace {

constexpr double RoundTripMs = 0.23;   // one expedited SDO upload at 1 Mbit/s
constexpr int TickReads = 7;

// Connects the device of the scan at index 1 as the current one; false on failure.
bool connectFirst(World& world)
{
    AppState& state = world.state();
    if (Device_Scan(state, state.CurrentInterface, nullptr) < 1)
        return false;
    XmlNode parameters;
    if (Device_Connect(state, state.CurrentInterface, state.Devices[1], parameters, nullptr) < 0)
        return false;
    state.CurrentDevice = 1;
    return true;
}

void benchTick(World& world, const QString& bus, long runs)
{
    if (!connectFirst(world)) {
        QTextStream(stderr) << "measurement bench on " << bus << " skipped: no device connected" << Qt::endl;
        return;
    }
    Measurement measurement;
    measurement.tick(world.state());   // takes in the TEDS state (the reload is not measured)
    bool stopped = false;
    const double us = microsecondsPerRun(runs, [&](long) { stopped |= measurement.tick(world.state()).stopped; });
    if (stopped)
        QTextStream(stderr) << "a measurement tick on " << bus << " stopped" << Qt::endl;
    const double model = TickReads * RoundTripMs;
    report(QStringLiteral("measurement tick, 7 reads, %1").arg(bus), us / 1000.0, "ms",
           QStringLiteral("1 Mbit/s model %1 ms, measured/model %2").arg(model, 0, 'f', 3).arg(us / 1000.0 / model, 0, 'f', 2));
    AppState& state = world.state();
    static_cast<void>(Device_Disconnect(state, state.CurrentInterface, state.Devices[1], nullptr));
    state.CurrentDevice = 0;
}

void benchAppend()
{
    QTemporaryDir folder;
    RecordingSource source;
    source.tableName = QStringLiteral("Bench");
    source.kind = CANBus;
    source.address = 42;
    source.decimals = 3;
    const QDateTime now = QDateTime::currentDateTime();
    Recording recording;
    if (!recording.start(recordingFileName(folder.path(), source, now), source, now)) {
        QTextStream(stderr) << "recording bench skipped: the file was not created" << Qt::endl;
        return;
    }
    const long samples = 2000;
    const double us = microsecondsPerRun(samples, [&](long i) {
        recording.advance(0.5);
        recording.append(float(i) * 0.001f, QStringLiteral("0.000"));
    });
    if (recording.samples() != samples)
        QTextStream(stderr) << "only " << recording.samples() << " samples were appended" << Qt::endl;
    report(QStringLiteral("recording: one sample appended (open, write, flush, close)"), us, "us");
}

}  // namespace

void benchMeasure()
{
    onInProcessCan([](World& world, const QString& bus) { benchTick(world, bus, 2000); });
    onSimulatorCan(QStringLiteral("measurement bench"), [](World& world, const QString& bus) { benchTick(world, bus, 300); });
    benchAppend();
}
