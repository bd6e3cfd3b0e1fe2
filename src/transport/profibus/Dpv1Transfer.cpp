// Reads and writes of parameters and raw records by DPV1 slot and index.
#include "core/ResultCodes.h"
#include "model/ValueText.h"
#include "transport/AppState.h"
#include "transport/FieldbusValues.h"
#include "transport/profibus/Dpv1Transport.h"
#include "transport/profibus/ProfibusResultCodes.h"

#include <algorithm>

namespace {

template <typename T>
using TypedRead = int32_t (ProfibusLibrary::*)(ProfibusCard, uint8_t, uint8_t, uint8_t, T&, int32_t,
                                               ProfibusDiag&);
template <typename T>
using TypedWrite = int32_t (ProfibusLibrary::*)(ProfibusCard, uint8_t, uint8_t, uint8_t, T, int32_t,
                                                ProfibusDiag&);

// Runs call(library, slot, index, diag) at the parameter's address.
template <typename Call>
int32_t atAddress(AppState& state, XmlNode parameter, Call call)
{
    uint8_t slot = 0;
    uint8_t index = 0;
    if (const int32_t found = DPV1_GetAddress(parameter, slot, index); found < 0)
        return found;
    if (!state.buses.profibus)
        return rc::ProfibusDriverUnavailable;
    ProfibusDiag diag{};
    return call(*state.buses.profibus, slot, index, diag);
}

template <typename T>
int32_t readTyped(AppState& state, const InterfaceSettings& settings, uint8_t station, XmlNode parameter,
                  TypedRead<T> read, T& value)
{
    value = T{};
    return atAddress(state, parameter, [&](ProfibusLibrary& library, uint8_t slot, uint8_t index,
                                           ProfibusDiag& diag) {
        return (library.*read)(DPV1_Card(settings), station, slot, index, value, profibus::TimeoutMs, diag);
    });
}

template <typename T>
int32_t writeTyped(AppState& state, const InterfaceSettings& settings, uint8_t station, XmlNode parameter,
                   TypedWrite<T> write, T value)
{
    return atAddress(state, parameter, [&](ProfibusLibrary& library, uint8_t slot, uint8_t index,
                                           ProfibusDiag& diag) {
        return (library.*write)(DPV1_Card(settings), station, slot, index, value, profibus::TimeoutMs, diag);
    });
}

// PROFI_C2Read of up to `length` bytes; the buffer keeps the bytes read.
int32_t readRecord(AppState& state, const InterfaceSettings& settings, uint8_t station, uint8_t slot,
                   uint8_t index, QByteArray& buffer, int32_t& length)
{
    if (!state.buses.profibus)
        return rc::ProfibusDriverUnavailable;
    buffer = QByteArray(std::max(length, 0), '\0');
    ProfibusDiag diag{};
    const int32_t result = state.buses.profibus->c2Read(DPV1_Card(settings), station, slot, index,
                                                        reinterpret_cast<uint8_t*>(buffer.data()), length,
                                                        profibus::TimeoutMs, diag);
    buffer.truncate(result < 0 ? 0 : std::clamp(length, 0, int32_t(buffer.size())));
    return result;
}

}  // namespace

int32_t DPV1_GetAddress(XmlNode parameter, uint8_t& slot, uint8_t& index)
{
    const bool found = Fieldbus_ChildByte(parameter, {"Communication", "DPV1", "SlotNumber"}, slot) &&
                       Fieldbus_ChildByte(parameter, {"Communication", "DPV1", "Index"}, index);
    return found ? rc::Ok : rc::UnknownInDescription;
}

int32_t DPV1_ReadInt8(AppState& state, const InterfaceSettings& settings, uint8_t station, XmlNode parameter,
                      uint8_t& value)
{
    return readTyped(state, settings, station, parameter, &ProfibusLibrary::c2ReadInt8, value);
}

int32_t DPV1_ReadInt16(AppState& state, const InterfaceSettings& settings, uint8_t station, XmlNode parameter,
                       int16_t& value)
{
    return readTyped(state, settings, station, parameter, &ProfibusLibrary::c2ReadInt16, value);
}

int32_t DPV1_ReadInt32(AppState& state, const InterfaceSettings& settings, uint8_t station, XmlNode parameter,
                       int32_t& value)
{
    return readTyped(state, settings, station, parameter, &ProfibusLibrary::c2ReadInt32, value);
}

int32_t DPV1_ReadFloat(AppState& state, const InterfaceSettings& settings, uint8_t station, XmlNode parameter,
                       float& value)
{
    return readTyped(state, settings, station, parameter, &ProfibusLibrary::c2ReadFloat, value);
}

int32_t DPV1_WriteInt8(AppState& state, const InterfaceSettings& settings, uint8_t station, XmlNode parameter,
                       uint8_t value)
{
    return writeTyped(state, settings, station, parameter, &ProfibusLibrary::c2WriteInt8, value);
}

int32_t DPV1_WriteInt16(AppState& state, const InterfaceSettings& settings, uint8_t station, XmlNode parameter,
                        int16_t value)
{
    return writeTyped(state, settings, station, parameter, &ProfibusLibrary::c2WriteInt16, value);
}

int32_t DPV1_WriteInt32(AppState& state, const InterfaceSettings& settings, uint8_t station, XmlNode parameter,
                        int32_t value)
{
    return writeTyped(state, settings, station, parameter, &ProfibusLibrary::c2WriteInt32, value);
}

int32_t DPV1_WriteFloat(AppState& state, const InterfaceSettings& settings, uint8_t station, XmlNode parameter,
                        float value)
{
    return writeTyped(state, settings, station, parameter, &ProfibusLibrary::c2WriteFloat, value);
}

int32_t DPV1_ReadBytes(AppState& state, const InterfaceSettings& settings, uint8_t station, XmlNode parameter,
                       QByteArray& buffer, int32_t& length)
{
    uint8_t slot = 0;
    uint8_t index = 0;
    if (const int32_t found = DPV1_GetAddress(parameter, slot, index); found < 0)
        return found;
    return readRecord(state, settings, station, slot, index, buffer, length);
}

int32_t DPV1_ReadString(AppState& state, const InterfaceSettings& settings, uint8_t station, uint8_t index,
                        uint8_t slot, QString& text, int32_t maxLength)
{
    QByteArray buffer;
    int32_t length = maxLength;
    const int32_t result = readRecord(state, settings, station, slot, index, buffer, length);
    text = result < 0 ? QString() : textOfBytes(buffer.left(result));
    return result;
}

int32_t DPV1_WriteBytes(AppState& state, const InterfaceSettings& settings, uint8_t station, uint8_t slot,
                        uint8_t index, const QByteArray& bytes, int32_t length)
{
    if (length < 0 || length > bytes.size())
        return rc::BufferOverflow;
    if (!state.buses.profibus)
        return rc::ProfibusDriverUnavailable;
    ProfibusDiag diag{};
    return state.buses.profibus->c2Write(DPV1_Card(settings), station, slot, index,
                                         reinterpret_cast<const uint8_t*>(bytes.constData()), length,
                                         profibus::TimeoutMs, diag);
}

int32_t DPV1_WriteString(AppState& state, const InterfaceSettings& settings, uint8_t station, uint8_t slot,
                         uint8_t index, const QString& text)
{
    // The buffer holds a NUL after the last character; the length passed leaves it out.
    const QByteArray bytes = text.left(UINT8_MAX).toLatin1();
    return DPV1_WriteBytes(state, settings, station, slot, index, bytes, int32_t(bytes.size()));
}
