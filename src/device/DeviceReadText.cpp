#include "device/DeviceReadText.h"

#include "core/ResultCodes.h"
#include "device/DeviceAccess.h"
#include "model/ValueText.h"

namespace {

constexpr int ByteWidth = 8;
constexpr int ShortWidth = 16;

// One read: the device, the parameter and where progress shows.
struct Read {
    AppState& state;
    const InterfaceSettings& settings;
    DeviceEntry& entry;
    const QString& path;
    Host* panel;
};

// Reads a value of type T with `get` and gives its text as `toText` writes it.
template <typename T, typename Get, typename ToText>
int32_t readAs(const Read& r, QString& text, Get get, ToText toText)
{
    T value{};
    const int32_t result = get(r.state, r.settings, r.entry, r.path, value, r.panel);
    if (result >= 0)
        text = toText(value);
    return result;
}

// The same for an integer, in decimal.
template <typename T, typename Get>
int32_t readNumber(const Read& r, QString& text, Get get)
{
    return readAs<T>(r, text, get, [](T value) { return QString::number(value); });
}

// Enumerations are as wide on the device as their width says.
int32_t readByWidth(const Read& r, int32_t width, QString& text)
{
    switch (width) {
    case ByteWidth:
        return readNumber<uint8_t>(r, text, Device_GetByte);
    case ShortWidth:
        return readNumber<int16_t>(r, text, Device_GetShort);
    default:
        return readNumber<int32_t>(r, text, Device_GetLong);
    }
}

int32_t readHexBinary(const Read& r, QString& text)
{
    QByteArray bytes;
    int32_t length = 0;
    const int32_t result = Device_GetHexBinary(r.state, r.settings, r.entry, r.path, bytes, length, r.panel);
    if (result >= 0)
        text = BytesToHex(bytes, length);
    return result;
}

int32_t readBitMask(const Read& r, int32_t width, QString& text)
{
    int32_t value = 0;
    const int32_t result = Device_GetBitMask(r.state, r.settings, r.entry, r.path, width, value, r.panel);
    if (result >= 0)
        text = QString::number(value);
    return result;
}

}  // namespace

int32_t Device_GetValueText(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry,
                            const QString& path, ParameterKind kind, int32_t width, QString& text, Host* panel)
{
    const Read r{state, settings, entry, path, panel};
    switch (kind) {
    case ParameterKind::ValueByte:
        return readNumber<uint8_t>(r, text, Device_GetByte);
    case ParameterKind::ValueShort:
        return readNumber<int16_t>(r, text, Device_GetShort);
    case ParameterKind::ValueLong:
    case ParameterKind::ValueLongFloat:
        return readNumber<int32_t>(r, text, Device_GetLong);
    case ParameterKind::ValueFloat:
        return readAs<float>(r, text, Device_GetFloat, floatToText);
    case ParameterKind::ValueString:
        return Device_GetString(state, settings, entry, path, text, panel);
    case ParameterKind::ValueHexBinary:
        return readHexBinary(r, text);
    case ParameterKind::EnumString:
    case ParameterKind::EnumFloat:
        return readByWidth(r, width, text);
    case ParameterKind::BitMask:
        return readBitMask(r, width, text);
    case ParameterKind::Toggle:
        return readAs<bool>(r, text, Device_GetToggle, boolToText);
    case ParameterKind::ValueDate:
        return readAs<QDate>(r, text, Device_GetDate, dateToText);
    default:
        return rc::NotSupported;
    }
}
