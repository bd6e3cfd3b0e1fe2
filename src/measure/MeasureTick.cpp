#include "measure/MeasureTick.h"

#include "core/Host.h"
#include "device/DeviceAccess.h"
#include "device/DeviceContext.h"
#include "device/present/ParameterText.h"
#include "model/Descriptions.h"
#include "model/ValueText.h"
#include "transport/ErrorText.h"

namespace {

constexpr uint8_t ErrorBit = 0x01;
const QString StatusShortPath = QStringLiteral("Measurement/StatusShort");
const QString Stopped = QStringLiteral("\r\nLa mesure est arrêtée !");

int configuredDecimals(XmlNode parameters)
{
    return int(leadingNumber(parameters.selectSingle(QStringLiteral("Scaling/DecimalPointPos")).text()));
}

QString valueText(DeviceContext& d, float value)
{
    AppState& state = d.state;
    const QString unit = physicalUnitText(Descr_OfDevice(state.descriptions, d.entry), d.parameters,
                                          state.core.Language);
    QString text = fixedDecimals(value, configuredDecimals(d.parameters));
    if (!unit.isEmpty())
        text += ' ' + unit;
    return text;
}

}  // namespace

TickDisplay measureTick(DeviceContext& d)
{
    AppState& state = d.state;
    Host& host = *state.core.host;
    TickDisplay shown;
    shown.result = Device_GetByte(state, d.settings, d.entry, StatusShortPath, shown.statusShort, &host);
    if (shown.result < 0) {
        ShowMessage(host, QStringLiteral("Erreur de lecture: ") + StatusShortPath + ' ' +
                              ErrorText(state, d.settings, d.entry, shown.result, StatusShortPath) + Stopped,
                    msg::Error);
        return shown;
    }
    if (shown.statusShort & ErrorBit) {
        shown.value = ErrorSample;
        shown.text = QStringLiteral("Erreur");
        return shown;
    }
    const QString path = state.core.StandardSignal == 1 ? QStringLiteral("Measurement/ValueNet")
                                                         : QStringLiteral("Measurement/ValueGros");
    shown.result = Device_GetFloat(state, d.settings, d.entry, path, shown.value, &host);
    if (shown.result < 0) {
        ShowMessage(host, path + QStringLiteral(" Erreur de lecture: ") + QString::number(shown.result) + ' ' +
                              ErrorText(state, d.settings, d.entry, shown.result, path) + Stopped,
                    msg::Error);
        return shown;
    }
    shown.text = valueText(d, shown.value);
    return shown;
}
