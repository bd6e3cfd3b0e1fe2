// The write of one parameter from the configuration document, by parameter kind.
#include "device/DeviceAccessSupport.h"
#include "core/xml/XmlFiles.h"
#include "model/BusRange.h"
#include "model/Checks.h"
#include "model/ParameterKind.h"
#include "model/ValueText.h"
#include "transport/AppState.h"
#include "transport/can/CanTexts.h"
#include "transport/can/lib/CanLibrary.h"

#include <algorithm>
#include <type_traits>

namespace deviceaccess {

namespace {

struct Write {
    AppState& state;
    const InterfaceSettings& settings;
    const DeviceEntry& entry;
    XmlNode node;
    XmlNode parameters;
    const QString& path;
    bool quiet;
    WriteReport& report;
};

// The text of the parameter's configuration element; none when no element can be had.
std::optional<QString> configured(const Write& w)
{
    XmlNode element;
    if (Conf_GetNode(w.path, w.parameters, element) < 0 || !element)
        return std::nullopt;
    return element.text();
}

// A number the parameter's type cannot carry is refused before anything is sent,
// rather than sent cut to its width.
int32_t refuseUnfitting(const Write& w, double number)
{
    if (fitsBus(w.node, number))
        return rc::Ok;
    w.report.told = !w.quiet;
    return w.quiet ? rc::Refused : Check_Width(w.state.core, w.node, number);
}

template <typename T>
int32_t writeText(const Write& w, const QString& text)
{
    const double number = StrToDouble(text);
    if constexpr (std::is_floating_point_v<T>) {
        return writeNumber(w.state, w.settings, w.entry, w.node, T(number));
    } else {
        if (const int32_t fits = refuseUnfitting(w, number); fits < 0)
            return fits;
        // Modular: a 32-bit mask written unsigned keeps its bits.
        return writeNumber(w.state, w.settings, w.entry, w.node, T(roundTo<int64_t>(number)));
    }
}

template <typename T>
int32_t writeConfigured(const Write& w)
{
    const auto text = configured(w);
    return text ? writeText<T>(w, *text) : rc::UnknownInConfiguration;
}

int32_t writeByWidth(const Write& w, int32_t width, const QString& text)
{
    switch (width) {
    case 8: return writeText<uint8_t>(w, text);
    case 16: return writeText<int16_t>(w, text);
    case 32: return writeText<int32_t>(w, text);
    default: return rc::NotSupported;
    }
}

bool readOnly(const Write& w)
{
    return accessModeOf(w.node) == QLatin1String("RO");
}

int32_t writeEnumString(const Write& w)
{
    if (readOnly(w))
        return rc::ReadOnly;
    if (!w.node.hasChild("Width"))
        return rc::Ok;
    const auto text = configured(w);
    return text ? writeByWidth(w, numberOf(w.node, "Width"), *text) : rc::ValueNotSet;
}

int32_t writeBitMask(const Write& w)
{
    if (readOnly(w))
        return rc::ReadOnly;
    const int32_t width = numberOf(w.node, "Width");
    if (!w.node.hasChild("Width") || (width != 8 && width != 32))
        return rc::NotSupported;
    const auto text = configured(w);
    if (!text)
        return rc::UnknownInConfiguration;
    const int32_t result = writeByWidth(w, width, *text);
    if (result < 0 && !w.report.told && !w.quiet) {
        const int32_t status = w.state.buses.can ? std::max(w.state.buses.can->getStatus(), 0) : 0;
        ShowMessage(*w.state.core.host,
                    QStringLiteral("Erreur lors de la mise du paramètre '") + w.path + QStringLiteral("': ") +
                        CAN_BusStatusText(result, status) + QStringLiteral(" (%1)").arg(result),
                    msg::Warning);
    }
    return result;
}

int32_t writeToggle(const Write& w)
{
    const auto text = configured(w);
    if (!text)
        return rc::UnknownInConfiguration;
    if (text->isEmpty())
        return rc::ValueNotSet;
    return writeNumber(w.state, w.settings, w.entry, w.node, uint8_t(textToBool(*text) ? 1 : 0));
}

int32_t writeFixedString(const Write& w)
{
    if (readOnly(w))
        return rc::Ok;
    auto text = configured(w);
    if (!text)
        return rc::UnknownInConfiguration;
    // A fixed-length string is sent at exactly its length, blanks filling the rest.
    if (const int32_t minLen = numberOf(w.node, "MinLen"); minLen >= 1)
        text = text->leftJustified(minLen, u' ', true);
    w.report.written = text;
    return writeString(w.state, w.settings, w.entry, w.node, *text);
}

int32_t writeHexBinary(const Write& w)
{
    const auto text = configured(w);
    if (!text)
        return rc::UnknownInConfiguration;
    QByteArray bytes;
    if (HexToBytes(*text, bytes) <= 0)
        return rc::Ok;
    return writeBytes(w.state, w.settings, w.entry, w.node, bytes);
}

int32_t writeDate(const Write& w)
{
    const auto text = configured(w);
    if (!text)
        return rc::UnknownInConfiguration;
    const QDate base = w.node.hasChild("BaseDate") ? textToDate(w.node.childText("BaseDate")) : dateOrigin();
    const auto days = double(base.daysTo(textToDate(*text)));
    if (const int32_t fits = refuseUnfitting(w, days); fits < 0)
        return fits;
    return writeNumber(w.state, w.settings, w.entry, w.node, roundTo<int16_t>(days));
}

// The plain value kinds: a read-only one is left alone.
template <typename T>
int32_t writeValue(const Write& w)
{
    return readOnly(w) ? rc::Ok : writeConfigured<T>(w);
}

}  // namespace

int32_t writeFromConfiguration(AppState& state, const InterfaceSettings& settings, const DeviceEntry& entry,
                               XmlNode node, XmlNode parameters, const QString& path, bool quiet,
                               WriteReport& report)
{
    const Write w{state, settings, entry, node, parameters, path, quiet, report};
    switch (parameterKind(node.name())) {
    case ParameterKind::ValueByte: return writeValue<uint8_t>(w);
    case ParameterKind::ValueShort: return writeValue<int16_t>(w);
    case ParameterKind::ValueLong:
    case ParameterKind::ValueLongFloat: return writeValue<int32_t>(w);
    case ParameterKind::ValueFloat: return writeValue<float>(w);
    case ParameterKind::ValueString: return writeFixedString(w);
    case ParameterKind::EnumFloat: return readOnly(w) ? rc::ReadOnly : writeConfigured<uint8_t>(w);
    case ParameterKind::EnumString: return writeEnumString(w);
    case ParameterKind::Toggle: return writeToggle(w);
    case ParameterKind::BitMask: return writeBitMask(w);
    case ParameterKind::ValueHexBinary: return writeHexBinary(w);
    case ParameterKind::ValueDate: return writeDate(w);
    case ParameterKind::ActionByte:
    case ParameterKind::ActionLong:
    case ParameterKind::SequenceConstLong:
    case ParameterKind::Group: return rc::Ok;
    case ParameterKind::Unknown: break;
    }
    if (!quiet)
            ShowMessage(*state.core.host,
                    path + QStringLiteral(": Type de paramètre inconnu '") + node.name() + QStringLiteral("'!"),
                    msg::Ok);
    return rc::Ok;
}

}  // namespace deviceaccess
