// Attribute reads and writes by class, instance and attribute.
#include "core/Log.h"
#include "core/ResultCodes.h"
#include "model/ValueText.h"
#include "transport/AppState.h"
#include "transport/FieldbusValues.h"
#include "transport/devicenet/DeviceNetLibrary.h"
#include "transport/devicenet/DnetTransport.h"

#include <QtEndian>
#include <algorithm>
#include <array>
#include <optional>

namespace {

// ParameterReadINT into a zeroed value; on success the low sizeof(T) bytes become value.
template <typename T>
int32_t readValue(AppState& state, uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute, T& value)
{
    value = T{};
    if (!state.buses.devicenet)
        return rc::NoInterface;
    int32_t raw = 0;
    const int32_t result = DNET_MapStatus(
        state.buses.devicenet->parameterReadInt(macId, classId, instance, attribute, raw, devicenet::TimeoutMs));
    if (result == rc::Ok) {
        std::array<uchar, sizeof(int32_t)> bytes{};
        qToLittleEndian(raw, bytes.data());
        value = qFromLittleEndian<T>(bytes.data());
    }
    return result;
}

// ParameterWriteINT of the sizeof(T) bytes of value.
template <typename T>
int32_t writeValue(AppState& state, uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute, T value)
{
    if (!state.buses.devicenet)
        return rc::NoInterface;
    std::array<uchar, sizeof(int32_t)> bytes{};
    qToLittleEndian(value, bytes.data());
    return DNET_MapStatus(state.buses.devicenet->parameterWriteInt(macId, classId, instance, attribute,
                                                                   int32_t(sizeof(T)),
                                                                   qFromLittleEndian<int32_t>(bytes.data()),
                                                                   devicenet::TimeoutMs));
}

// ParameterReadARR of up to `length` bytes into buffer (cut to the bytes read); the
// library's result, nothing without a library.
std::optional<int32_t> readArray(AppState& state, uint8_t macId, uint8_t classId, uint8_t instance,
                                 uint8_t attribute, QByteArray& buffer, int32_t& length)
{
    buffer.clear();
    if (!state.buses.devicenet)
        return std::nullopt;
    buffer = QByteArray(std::max(length, 0), '\0');
    const int32_t result = state.buses.devicenet->parameterReadArr(
        macId, classId, instance, attribute, reinterpret_cast<uint8_t*>(buffer.data()), length,
        devicenet::TimeoutMs);
    length = result < 0 ? 0 : std::clamp(length, 0, int32_t(buffer.size()));
    buffer.truncate(length);
    return result;
}

// ParameterWriteARR of the first `length` bytes; the library's result, nothing without a library.
std::optional<int32_t> writeArray(AppState& state, uint8_t macId, uint8_t classId, uint8_t instance,
                                  uint8_t attribute, const QByteArray& bytes, int32_t length)
{
    if (!state.buses.devicenet)
        return std::nullopt;
    return state.buses.devicenet->parameterWriteArr(macId, classId, instance, attribute,
                                                    reinterpret_cast<const uint8_t*>(bytes.constData()),
                                                    std::clamp(length, 0, int32_t(bytes.size())),
                                                    devicenet::TimeoutMs);
}

}  // namespace

int32_t DNET_MapStatus(int32_t status)
{
    const int32_t low = status & 0xFF;
    switch (low) {
    case dnetstatus::Success:
    case dnetstatus::SuccessWithNote: return rc::Ok;
    case dnetstatus::ReadOnly: return rc::ReadOnly;
    case dnetstatus::UnknownAttribute: return rc::UnknownOnDevice;
    default: return low;
    }
}

int32_t DNET_GetAddress(XmlNode parameter, uint8_t& classId, uint8_t& instance, uint8_t& attribute)
{
    if (!Fieldbus_ChildByte(parameter, {"Communication", "DeviceNet", "Class"}, classId))
        return rc::UnknownInDescription;
    if (classId == 0)
        return rc::Ok;
    const bool found = Fieldbus_ChildByte(parameter, {"Communication", "DeviceNet", "Instance"}, instance) &&
                       Fieldbus_ChildByte(parameter, {"Communication", "DeviceNet", "Attribute"}, attribute);
    return found ? rc::Ok : rc::UnknownInDescription;
}

int32_t DNET_Read1(AppState& state, uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute,
                   uint8_t& value)
{
    return readValue(state, macId, classId, instance, attribute, value);
}

int32_t DNET_Read2(AppState& state, uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute,
                   int16_t& value)
{
    return readValue(state, macId, classId, instance, attribute, value);
}

int32_t DNET_Read4(AppState& state, uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute,
                   int32_t& value)
{
    return readValue(state, macId, classId, instance, attribute, value);
}

int32_t DNET_Read4(AppState& state, uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute,
                   float& value)
{
    return readValue(state, macId, classId, instance, attribute, value);
}

int32_t DNET_Write1(AppState& state, uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute,
                    uint8_t value)
{
    return writeValue(state, macId, classId, instance, attribute, value);
}

int32_t DNET_Write2(AppState& state, uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute,
                    int16_t value)
{
    return writeValue(state, macId, classId, instance, attribute, value);
}

int32_t DNET_Write4(AppState& state, uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute,
                    int32_t value)
{
    return writeValue(state, macId, classId, instance, attribute, value);
}

int32_t DNET_Write4(AppState& state, uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute,
                    float value)
{
    return writeValue(state, macId, classId, instance, attribute, value);
}

int32_t DNET_ReadBytes(AppState& state, uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute,
                       QByteArray& buffer, int32_t& length)
{
    const auto result = readArray(state, macId, classId, instance, attribute, buffer, length);
    if (!result)
        return rc::NoInterface;
    return *result < 0 ? DNET_MapStatus(*result) : length;
}

int32_t DNET_WriteBytes(AppState& state, uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute,
                        const QByteArray& bytes, int32_t length)
{
    const auto result = writeArray(state, macId, classId, instance, attribute, bytes, length);
    return result ? DNET_MapStatus(*result) : rc::NoInterface;
}

int32_t DNET_ReadString(AppState& state, uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute,
                        QString& text, int32_t maxLength)
{
    text.clear();
    QByteArray buffer;
    int32_t length = devicenet::StringBufferSize;
    const auto result = readArray(state, macId, classId, instance, attribute, buffer, length);
    if (!result)
        return rc::NoInterface;
    if (*result < 0)
        return DNET_MapStatus(*result);
    text = textOfBytes(buffer.left(std::max(maxLength, 0)));
    return rc::Ok;
}

int32_t DNET_WriteString(AppState& state, uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute,
                         const QString& text)
{
    const QByteArray bytes = text.toLatin1();
    const auto result = writeArray(state, macId, classId, instance, attribute, bytes, int32_t(bytes.size()));
    if (!result)
        return rc::NoInterface;
    if (*result < 0)
        Log_Write(state.core,
                  QStringLiteral("Error while synchronuous write of string Attribute (class %1, instance %2, "
                                 "attribute %3)")
                      .arg(classId)
                      .arg(instance)
                      .arg(attribute));
    return DNET_MapStatus(*result);
}
