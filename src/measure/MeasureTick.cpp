#include "measure/MeasureTick.h"

#include "core/Host.h"
#include "device/DeviceAccess.h"
#include "device/DeviceContext.h"
#include "device/present/ParameterText.h"
#include "measure/LinkRecovery.h"
#include "model/Descriptions.h"
#include "model/ValueText.h"
#include "transport/ErrorText.h"

#include <algorithm>

namespace {

constexpr uint8_t ErrorBit = 0x01;
constexpr uint8_t WarningBit = 0x08;
constexpr int FirstLimitBit = 4;
constexpr uint32_t BelowRangeBit = 0x10;
constexpr uint32_t AboveRangeBit = 0x08;
constexpr uint32_t InputBit = 0x01;
constexpr int FirstOutputBit = 4;
constexpr int GeneralDigits = 7;   // a single's significant digits

const QString StatusLongPath = QStringLiteral("Measurement/StatusLong");
const QString StatusShortPath = QStringLiteral("Measurement/StatusShort");
const QString DigitalIOPath = QStringLiteral("DigitalIO/InputOutputLevel");
const QString HasTedsPath = QStringLiteral("TEDS/HasTEDS");
const QString TedsActivePath = QStringLiteral("TEDS/TEDSActive");
const QString TedsErrorPath = QStringLiteral("TEDS/TEDSErrorStatus");
const QString Stopped = QStringLiteral("\r\nLa mesure est arrêtée !");

const QString Inactive = QStringLiteral("IMG_INACTIVE");

QString lamp(bool on, const char* image) { return on ? QLatin1String(image) : Inactive; }

QString failureText(DeviceContext& d, int32_t result, const QString& path)
{
    return ErrorText(d.state, d.settings, d.entry, result, path);
}

// A CAN link that went is no reason to stop: the recovering tick says so and tries again.
void stop(DeviceContext& d, int32_t result, const QString& text)
{
    if (d.settings.InterfaceType != CANBus || !isLinkLoss(result))
        ShowMessage(*d.state.core.host, text + Stopped, msg::Error);
}

QString displayFormat(int decimals)
{
    return decimals <= 0 ? QStringLiteral("0") : QStringLiteral("0.") + QString(decimals, QLatin1Char('0'));
}

// Steps of the value: its colour, format and text.
void showValue(DeviceContext& d, TickDisplay& shown)
{
    shown.colour = shown.statusShort & WarningBit ? ValueColour::Yellow : ValueColour::Green;
    if (d.parameters.isNull()) {
        shown.format = QStringLiteral("0");
        shown.text = formatValue(shown.value, {});
        return;
    }
    shown.format =
        displayFormat(configuredDecimals(d.parameters.selectSingle(QStringLiteral("Scaling/DecimalPointPos")).text()));
    shown.unit = physicalUnitText(Descr_OfDevice(d.state.descriptions, d.entry), d.parameters, d.state.core.Language);
    shown.text = formatValue(shown.value, shown.format) + ' ' + shown.unit;
}

}  // namespace

int configuredDecimals(const QString& text)
{
    constexpr double MostDecimals = 9;
    return int(std::clamp(leadingNumber(text), 0.0, MostDecimals));
}

Lamps lampsFor(uint8_t statusShort, uint32_t statusLong, uint32_t inputOutput)
{
    Lamps lamps;
    for (int i = 0; i < 4; ++i)
        lamps.limits[i] = lamp(statusShort & (1u << (FirstLimitBit + i)), "IMG_ERROR");
    lamps.span[0] = lamp(statusLong & BelowRangeBit, "IMG_WARNING");
    lamps.span[1] = lamp(statusLong & AboveRangeBit, "IMG_WARNING");
    lamps.input = lamp(inputOutput & InputBit, "IMG_ACTIVE");
    for (int i = 0; i < 2; ++i)
        lamps.outputs[i] = lamp(inputOutput & (1u << (FirstOutputBit + i)), "IMG_ACTIVE");
    return lamps;
}

QString formatValue(double value, const QString& format)
{
    if (format.isEmpty())
        return QString::number(value, 'g', GeneralDigits).toUpper();
    const qsizetype point = format.indexOf(QLatin1Char('.'));
    return fixedDecimals(value, point < 0 ? 0 : int(format.size() - point - 1));
}

TickDisplay measureTick(DeviceContext& d)
{
    AppState& state = d.state;
    Host* panel = state.core.host;
    TickDisplay shown;
    int32_t statusLong = 0;
    shown.result = Device_GetLong(state, d.settings, d.entry, StatusLongPath, statusLong, panel);
    shown.statusLong = uint32_t(statusLong);
    if (shown.result < 0) {
        stop(d, shown.result, QStringLiteral("Erreur de lecture: ") + StatusLongPath + ' ' +
                    failureText(d, shown.result, StatusLongPath));
        return shown;
    }
    shown.result = Device_GetByte(state, d.settings, d.entry, StatusShortPath, shown.statusShort, panel);
    if (shown.result < 0) {
        stop(d, shown.result, QStringLiteral("Erreur de lecture: ") + StatusShortPath + ' ' +
                    failureText(d, shown.result, StatusShortPath));
        return shown;
    }
    if (shown.statusShort & ErrorBit) {
        shown.value = ErrorSample;
        shown.colour = ValueColour::Red;
        shown.text = QStringLiteral("Erreur");
    } else {
        const QString path = state.core.StandardSignal == 1 ? QStringLiteral("Measurement/ValueNet")
                                                             : QStringLiteral("Measurement/ValueGros");
        shown.result = Device_GetFloat(state, d.settings, d.entry, path, shown.value, panel);
        if (shown.result < 0) {
            stop(d, shown.result, path + QStringLiteral(" Erreur de lecture: ") + QString::number(shown.result) + ' ' +
                        failureText(d, shown.result, path));
            return shown;
        }
        showValue(d, shown);
    }
    int32_t level = 0;
    // An unread level shows every digital lamp off.
    if (Device_GetLong(state, d.settings, d.entry, DigitalIOPath, level) >= 0)
        shown.inputOutput = uint32_t(level);
    shown.lamps = lampsFor(shown.statusShort, shown.statusLong, shown.inputOutput);
    return shown;
}

int32_t readTedsState(DeviceContext& d, TedsState& teds)
{
    AppState& state = d.state;
    // A family whose description knows no TEDS (a standard-signal amplifier) has none.
    XmlNode member;
    if (Descr_FindNode(HasTedsPath, Descr_OfDevice(state.descriptions, d.entry), member) < 0)
        return rc::Ok;
    uint8_t present = 0;
    int32_t result = Device_GetByte(state, d.settings, d.entry, HasTedsPath, present);
    if (result < 0) {
        stop(d, result, HasTedsPath + QStringLiteral(" Erreur de lecture: ") + failureText(d, result, HasTedsPath));
        return result;
    }
    teds.hasTeds = present;
    if (present == 0)
        return rc::Ok;
    result = Device_GetByte(state, d.settings, d.entry, TedsActivePath, teds.active);
    if (result < 0) {
        stop(d, result, TedsActivePath + QStringLiteral(" Erreur de lecture: ") + failureText(d, result, TedsActivePath));
        return result;
    }
    int32_t errorStatus = 0;
    result = Device_GetLong(state, d.settings, d.entry, TedsErrorPath, errorStatus);
    teds.errorStatus = uint32_t(errorStatus);
    if (result < 0) {
        stop(d, result, TedsErrorPath + QStringLiteral(" read error: ") + failureText(d, result, TedsErrorPath));
        return result;
    }
    return rc::Ok;
}
