#include "cli/DeviceText.h"

#include "cli/CliSession.h"
#include "core/ResultCodes.h"
#include "device/DeviceAccess.h"
#include "model/ParameterKind.h"
#include "model/ValueText.h"

namespace {

constexpr int ByteWidth = 8;
constexpr int ShortWidth = 16;

// Reads a value of type T with `read` and gives its decimal text.
template <typename T, typename Read>
int32_t readNumber(DeviceContext& d, const QString& path, QString& text, Read read)
{
    T value{};
    const int32_t result = read(d.state, d.settings, d.entry, path, value, d.state.core.host);
    if (result >= 0)
        text = QString::number(value);
    return result;
}

// Enumerations are as wide on the device as their "Width" says.
int32_t readByWidth(DeviceContext& d, XmlNode member, const QString& path, QString& text)
{
    switch (int(leadingNumber(member.childText("Width")))) {
    case ByteWidth:
        return readNumber<uint8_t>(d, path, text, Device_GetByte);
    case ShortWidth:
        return readNumber<int16_t>(d, path, text, Device_GetShort);
    default:
        return readNumber<int32_t>(d, path, text, Device_GetLong);
    }
}

int32_t readFloat(DeviceContext& d, const QString& path, QString& text)
{
    float value = 0;
    const int32_t result = Device_GetFloat(d.state, d.settings, d.entry, path, value, d.state.core.host);
    if (result >= 0)
        text = floatToText(value);
    return result;
}

int32_t readHexBinary(DeviceContext& d, const QString& path, QString& text)
{
    QByteArray bytes;
    int32_t length = 0;
    const int32_t result = Device_GetHexBinary(d.state, d.settings, d.entry, path, bytes, length, d.state.core.host);
    if (result >= 0)
        text = BytesToHex(bytes, length);
    return result;
}

int32_t readBitMask(DeviceContext& d, XmlNode member, const QString& path, QString& text)
{
    int32_t value = 0;
    const int32_t width = int32_t(leadingNumber(member.childText("Width")));
    const int32_t result = Device_GetBitMask(d.state, d.settings, d.entry, path, width, value, d.state.core.host);
    if (result >= 0)
        text = QString::number(value);
    return result;
}

int32_t readToggle(DeviceContext& d, const QString& path, QString& text)
{
    bool value = false;
    const int32_t result = Device_GetToggle(d.state, d.settings, d.entry, path, value, d.state.core.host);
    if (result >= 0)
        text = boolToText(value);
    return result;
}

int32_t readDate(DeviceContext& d, const QString& path, QString& text)
{
    QDate value;
    const int32_t result = Device_GetDate(d.state, d.settings, d.entry, path, value, d.state.core.host);
    if (result >= 0)
        text = dateToText(value);
    return result;
}

}  // namespace

int32_t readDeviceText(DeviceContext& d, XmlNode member, const QString& path, QString& text)
{
    switch (parameterKind(member.name())) {
    case ParameterKind::ValueByte:
        return readNumber<uint8_t>(d, path, text, Device_GetByte);
    case ParameterKind::ValueShort:
        return readNumber<int16_t>(d, path, text, Device_GetShort);
    case ParameterKind::ValueLong:
    case ParameterKind::ValueLongFloat:
        return readNumber<int32_t>(d, path, text, Device_GetLong);
    case ParameterKind::ValueFloat:
        return readFloat(d, path, text);
    case ParameterKind::ValueString:
        return Device_GetString(d.state, d.settings, d.entry, path, text, d.state.core.host);
    case ParameterKind::ValueHexBinary:
        return readHexBinary(d, path, text);
    case ParameterKind::EnumString:
    case ParameterKind::EnumFloat:
        return readByWidth(d, member, path, text);
    case ParameterKind::BitMask:
        return readBitMask(d, member, path, text);
    case ParameterKind::Toggle:
        return readToggle(d, path, text);
    case ParameterKind::ValueDate:
        return readDate(d, path, text);
    default:
        return rc::NotSupported;
    }
}
