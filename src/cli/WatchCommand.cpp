// watch: the measured value with its unit every 500 ms, as the main window shows it.
#include "cli/CliOptions.h"
#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "cli/ParameterText.h"
#include "core/Host.h"
#include "device/DeviceAccess.h"
#include "model/ValueText.h"
#include "transport/ErrorText.h"

#include <QTextStream>

#include <csignal>

namespace {

constexpr int TickMs = 500;
constexpr uint8_t ErrorBit = 0x01;
const QString StatusShortPath = QStringLiteral("Measurement/StatusShort");
const QString Stopped = QStringLiteral("\r\nLa mesure est arrêtée !");

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int)
{
    stopRequested = 1;
}

// SIGINT and SIGTERM end the watch after the current tick, so that the devices are
// left cleanly.
void stopOnSignals()
{
    struct sigaction action = {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

int configuredDecimals(XmlNode parameters)
{
    return int(leadingNumber(parameters.selectSingle(QStringLiteral("Scaling/DecimalPointPos")).text()));
}

// One tick: the value's text, or false after the message that stops the measurement.
bool measure(DeviceContext& d, QString& text)
{
    AppState& state = d.state;
    Host& host = *state.core.host;
    uint8_t status = 0;
    int32_t result = Device_GetByte(state, d.settings, d.entry, StatusShortPath, status, &host);
    if (result < 0) {
        ShowMessage(host, QStringLiteral("Erreur de lecture: ") + StatusShortPath + ' ' +
                              ErrorText(state, d.settings, d.entry, result, StatusShortPath) + Stopped, msg::Error);
        return false;
    }
    if (status & ErrorBit) {
        text = QStringLiteral("Erreur");
        return true;
    }
    const QString path = state.core.StandardSignal == 1 ? QStringLiteral("Measurement/ValueNet")
                                                         : QStringLiteral("Measurement/ValueGros");
    float value = 0;
    result = Device_GetFloat(state, d.settings, d.entry, path, value, &host);
    if (result < 0) {
        ShowMessage(host, path + QStringLiteral(" Erreur de lecture: ") + QString::number(result) + ' ' +
                              ErrorText(state, d.settings, d.entry, result, path) + Stopped, msg::Error);
        return false;
    }
    const QString unit = physicalUnitText(Descr_OfDevice(state.descriptions, d.entry), d.parameters,
                                          state.core.Language);
    text = fixedDecimals(value, configuredDecimals(d.parameters));
    if (!unit.isEmpty())
        text += ' ' + unit;
    return true;
}

}  // namespace

int runWatch(CliSession& session, const CliOptions& options)
{
    if (!session.openDevice(options.interface, options.device))
        return exitcode::Failed;
    stopOnSignals();
    DeviceContext d = session.device();
    QTextStream out(stdout);
    for (int tick = 1; !stopRequested; ++tick) {
        QString text;
        if (!measure(d, text))
            return exitcode::Failed;
        out << text << Qt::endl;
        if (tick == options.count)
            break;
        session.host().sleepMs(TickMs);
    }
    return exitcode::Ok;
}
